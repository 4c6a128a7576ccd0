#pragma once

#include <QString>
#include <QStringList>

#include <ostream>
#include <string>

// Texts in failure messages with their invisible characters named, since
// most faults here are one invisible character.
inline std::string visible(QStringView text)
{
    using namespace Qt::StringLiterals;
    QString shown;
    for (const QChar c : text) {
        if (c == u'\r')
            shown += u"<CR>";
        else if (c == u'\n')
            shown += u"<LF>";
        else if (c == u'\t')
            shown += u"<TAB>";
        else if (c == u'\u00A0')
            shown += u"<NBSP>";
        else if (c.unicode() < 32)
            shown += u"<%1>"_s.arg(uint(c.unicode()), 2, 16, QChar(u'0'));
        else
            shown += c;
    }
    return (u'"' + shown + u'"').toStdString();
}

inline void PrintTo(const QString &text, std::ostream *os)
{
    *os << visible(text);
}

inline void PrintTo(const QStringList &lines, std::ostream *os)
{
    *os << "{";
    for (qsizetype i = 0; i < lines.size(); ++i)
        *os << (i ? ", " : "") << visible(lines[i]);
    *os << "}";
}

// Lets a test stream a text into its failure message.
inline std::ostream &operator<<(std::ostream &out, const QString &text)
{
    return out << visible(text);
}
