#include "DelimitedText.h"

QStringList SplitFields(const QString& text, QChar delimiter)
{
    QStringList parts;
    if (text.isEmpty())
        return parts;
    const qsizetype n = text.size();
    qsizetype i = 0;
    for (;;) {
        bool plain = true;
        if (i < n && text.at(i) == u'"') {
            QString part;
            for (++i; i < n; ++i) {
                if (text.at(i) != u'"') {
                    part += text.at(i);
                } else if (i + 1 < n && text.at(i + 1) == u'"') {
                    part += u'"';
                    ++i;
                } else {
                    ++i;
                    break;
                }
            }
            parts << part;
            // What follows the closing quote up to the delimiter is a part of its own.
            plain = i < n && text.at(i) != delimiter;
        }
        if (plain) {
            qsizetype end = text.indexOf(delimiter, i);
            if (end < 0)
                end = n;
            parts << text.mid(i, end - i);
            i = end;
        }
        if (i >= n)
            break;
        ++i; // the delimiter: a part follows it, if only an empty one
    }
    return parts;
}
