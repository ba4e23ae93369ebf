#include "ChildIni.h"

#include <QFile>
#include <QSaveFile>
#include <QThread>

namespace {

bool isSection(const QString& line, QString* name = nullptr)
{
    const QString t = line.trimmed();
    if (!t.startsWith(u'['))
        return false;
    if (name) {
        const qsizetype end = t.indexOf(u']');
        *name = t.mid(1, end < 0 ? -1 : end - 1).trimmed();
    }
    return true;
}

bool keyOf(const QString& line, QString& key, QString& value)
{
    const qsizetype eq = line.indexOf(u'=');
    if (eq < 0)
        return false;
    key = line.left(eq).trimmed();
    value = line.mid(eq + 1).trimmed();
    if (value.size() >= 2 && value.startsWith(u'"') && value.endsWith(u'"'))
        value = value.mid(1, value.size() - 2);
    return true;
}

// On Windows a file cannot be replaced while anyone has it open, nor read while a writer holds it without
// sharing, and the launcher reads these files whenever they change. Such a hold lasts a moment, so it is
// waited out instead of losing the value.
constexpr int Attempts = 20;
constexpr int RetryMilliseconds = 10;

} // namespace

std::optional<QStringList> ChildIni::lines() const
{
    QFile f(m_path);
    for (int attempt = 1; !f.open(QIODevice::ReadOnly); ++attempt) {
        if (!f.exists())
            return QStringList();
        if (attempt == Attempts)
            return std::nullopt;
        QThread::msleep(RetryMilliseconds);
    }
    QStringList out = QString::fromLatin1(f.readAll()).split(u'\n');
    for (QString& l : out)
        if (l.endsWith(u'\r'))
            l.chop(1);
    if (!out.isEmpty() && out.back().isEmpty())
        out.removeLast();
    return out;
}

QString ChildIni::read(const QString& section, const QString& key, const QString& defaultValue) const
{
    bool inSection = false;
    for (const QString& line : lines().value_or(QStringList())) {
        QString name, k, v;
        if (isSection(line, &name))
            inSection = name.compare(section, Qt::CaseInsensitive) == 0;
        else if (inSection && keyOf(line, k, v) && k.compare(key, Qt::CaseInsensitive) == 0)
            return v;
    }
    return defaultValue;
}

int ChildIni::readInt(const QString& section, const QString& key, int defaultValue) const
{
    QString text = read(section, key).trimmed();
    bool ok = false;
    int value = 0;
    if (text.startsWith(u'$'))
        value = text.mid(1).toInt(&ok, 16);
    else
        value = text.toInt(&ok, 0);
    return ok ? value : defaultValue;
}

double ChildIni::readDouble(const QString& section, const QString& key, double defaultValue) const
{
    bool ok = false;
    const double value = read(section, key).trimmed().replace(u',', u'.').toDouble(&ok);
    return ok ? value : defaultValue;
}

bool ChildIni::write(const QString& section, const QString& key, const QString& value)
{
    const std::optional<QStringList> current = lines();
    if (!current)
        return false; // rewriting it without its other lines would lose them
    QStringList all = *current;
    const QString entry = key + u'=' + value;
    qsizetype sectionStart = -1, insertAt = -1;
    for (qsizetype i = 0; i < all.size(); ++i) {
        QString name, k, v;
        if (isSection(all[i], &name)) {
            if (sectionStart >= 0)
                break;
            if (name.compare(section, Qt::CaseInsensitive) == 0)
                sectionStart = insertAt = i + 1;
        } else if (sectionStart >= 0) {
            if (keyOf(all[i], k, v) && k.compare(key, Qt::CaseInsensitive) == 0) {
                all[i] = entry;
                insertAt = -2;
                break;
            }
            if (!all[i].trimmed().isEmpty())
                insertAt = i + 1;
        }
    }
    if (sectionStart < 0)
        all << u'[' + section + u']' << entry;
    else if (insertAt >= 0)
        all.insert(insertAt, entry);

    QByteArray bytes;
    for (const QString& l : all)
        bytes += l.toLatin1() + "\r\n";
    for (int attempt = 1;; ++attempt) {
        QSaveFile f(m_path);
        if (!f.open(QIODevice::WriteOnly))
            return false; // a folder or file that cannot be written: waiting does not change that
        if (f.write(bytes) == bytes.size() && f.commit())
            return true;
        if (attempt == Attempts)
            return false;
        QThread::msleep(RetryMilliseconds);
    }
}
