#include "ChildArgs.h"

#include <QDir>

#include <utility>

namespace {

bool isTrue(const QString& s)
{
    return s.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0 || s == QLatin1String("1");
}

QColor fromBgr(quint32 v)
{
    return QColor(int(v & 0xFF), int((v >> 8) & 0xFF), int((v >> 16) & 0xFF));
}

} // namespace

ChildArgs ChildArgs::parse(const QStringList& a)
{
    ChildArgs c;
    const auto at = [&a](int i) { return i < a.size() ? a[i] : QString(); };
    c.ownPort = at(1).toInt();
    c.panelName = at(2);
    c.address = at(3);
    c.simPort = at(4);
    bool ok = false;
    const double scale = QString(at(5)).replace(u',', u'.').toDouble(&ok);
    c.scale = ok && scale > 0.05 ? scale : 1.0;
    c.bezels = a.size() <= 6 || isTrue(at(6));
    c.monitor = at(7).toInt();
    c.night = isTrue(at(8));
    c.instance = a.size() > 9 ? at(9).toInt() : 1;
    c.multicastGroup = at(10);
    return c;
}

QString settingsFolder()
{
    QString root = qEnvironmentVariable("APPDATA");
    if (root.isEmpty())
        root = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (root.isEmpty())
        root = QDir::homePath() + QStringLiteral("/.config");
    root.replace(u'\\', u'/');
    return root + QStringLiteral("/Brondix/HarvolmPRO");
}

QString panelFolder(const QString& panelName)
{
    return settingsFolder() + QStringLiteral("/Panel_") + panelName;
}

QColor colourFromText(const QString& text, const QColor& fallback)
{
    static const std::pair<const char*, quint32> names[] = {
        {"clBlack", 0x000000},
        {"clMaroon", 0x000080},
        {"clGreen", 0x008000},
        {"clOlive", 0x008080},
        {"clNavy", 0x800000},
        {"clPurple", 0x800080},
        {"clTeal", 0x808000},
        {"clGray", 0x808080},
        {"clSilver", 0xC0C0C0},
        {"clRed", 0x0000FF},
        {"clLime", 0x00FF00},
        {"clYellow", 0x00FFFF},
        {"clBlue", 0xFF0000},
        {"clFuchsia", 0xFF00FF},
        {"clAqua", 0xFFFF00},
        {"clWhite", 0xFFFFFF},
        {"clMoneyGreen", 0xC0DCC0},
        {"clSkyBlue", 0xF0CAA6},
        {"clCream", 0xF0FBFF},
        {"clMedGray", 0xA4A0A0},
        // System colours, taken as their usual light-theme values.
        {"clBtnFace", 0xF0F0F0},
        {"clWindow", 0xFFFFFF},
        {"clWindowText", 0x000000},
        {"clBackground", 0x000000},
        {"clHighlight", 0xD77800},
        {"clDefault", 0x000000},
    };
    const QString t = text.trimmed();
    for (const auto& [name, value] : names)
        if (t.compare(QLatin1String(name), Qt::CaseInsensitive) == 0)
            return fromBgr(value);
    bool ok = false;
    const qint64 v = t.startsWith(u'$') ? t.mid(1).toLongLong(&ok, 16) : t.toLongLong(&ok, 0);
    if (!ok || (quint64(v) >> 24) != 0) // system colours and clNone have a high byte: keep the fallback
        return fallback;
    return fromBgr(quint32(v));
}
