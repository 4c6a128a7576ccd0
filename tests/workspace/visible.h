#pragma once

#include <QString>

#include <ostream>

// Text in failure messages with its invisible characters shown: CR, LF, tab,
// no-break space and other controls.
inline std::string visible(const QString &text)
{
    QString shown;
    for (const QChar c : text) {
        switch (c.unicode()) {
        case u'\r': shown += QStringLiteral("<CR>"); break;
        case u'\n': shown += QStringLiteral("<LF>"); break;
        case u'\t': shown += QStringLiteral("<TAB>"); break;
        case 0x00A0: shown += QStringLiteral("<NBSP>"); break;
        default:
            if (c.unicode() < 0x20)
                shown += QStringLiteral("<%1>").arg(c.unicode(), 2, 16, QLatin1Char('0'));
            else
                shown += c;
        }
    }
    return shown.toStdString();
}

inline std::ostream &operator<<(std::ostream &out, const QString &text)
{
    return out << '"' << visible(text) << '"';
}
