#include "Processes.h"

namespace {

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

} // namespace

QStringList splitWindowsCommandLine(const QString& commandLine)
{
    QStringList argv;
    const QString& s = commandLine;
    const qsizetype n = s.size();
    qsizetype i = 0;

    // The program token: quotes only switch blanks off; a backslash is an ordinary character.
    QString program;
    bool inQuotes = false;
    for (; i < n; ++i) {
        const QChar c = s[i];
        if (c == u'"') {
            inQuotes = !inQuotes;
            continue;
        }
        if (!inQuotes && isBlank(c))
            break;
        program += c;
    }
    argv << program;

    for (;;) {
        while (i < n && isBlank(s[i]))
            ++i;
        if (i >= n)
            break;

        QString arg;
        inQuotes = false;
        for (;;) {
            qsizetype slashes = 0;
            while (i < n && s[i] == u'\\') {
                ++slashes;
                ++i;
            }
            bool copy = true;
            if (i < n && s[i] == u'"') {
                if (slashes % 2 == 0) {
                    if (inQuotes && i + 1 < n && s[i + 1] == u'"')
                        ++i; // "" inside quotes stands for one quote
                    else {
                        copy = false;
                        inQuotes = !inQuotes;
                    }
                }
                slashes /= 2;
            }
            arg += QString(slashes, u'\\');
            if (i >= n || (!inQuotes && isBlank(s[i])))
                break;
            if (copy)
                arg += s[i];
            ++i;
        }
        argv << arg;
    }
    return argv;
}
