#include "LocaleService.h"

#include <QCollator>
#include <QLocale>

struct SystemLocale::Private
{
    QLocale locale;
    QCollator collator;
};

namespace {

QLocale collationLocale(const QLocale& locale)
{
    // The C locale collates by code point, which puts every capital before every small letter.
    if (locale.language() == QLocale::C)
        return QLocale(QLocale::English, QLocale::UnitedStates);
    return locale;
}

QString withoutWordBreaks(const QString& s)
{
    QString out = s;
    out.remove(u'-');
    out.remove(u'\'');
    return out;
}

} // namespace

SystemLocale::SystemLocale() : d(new Private{QLocale::system(), QCollator(collationLocale(QLocale::system()))})
{
    d->collator.setCaseSensitivity(Qt::CaseSensitive);
    d->collator.setNumericMode(false);
}

SystemLocale::~SystemLocale() = default;

QChar SystemLocale::decimalSeparator() const
{
    const QString sep = d->locale.decimalPoint();
    return sep.isEmpty() ? QChar(u'.') : sep.at(0);
}

int SystemLocale::compare(const QString& a, const QString& b) const
{
    if (const int c = d->collator.compare(withoutWordBreaks(a), withoutWordBreaks(b)))
        return c;
    if (const int c = d->collator.compare(a, b))
        return c;
    return QString::compare(a, b);
}
