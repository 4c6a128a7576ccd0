#include "characters.h"

#include "cp1252.h"

#include <algorithm>

#include <QList>

using namespace Qt::StringLiterals;

namespace workspace {

namespace {

QString code(char32_t c)
{
    return u"U+%1"_s.arg(uint(c), 4, 16, QChar(u'0')).toUpper();
}

bool isInvisible(char32_t c)
{
    switch (QChar::category(c)) {
    case QChar::Other_Control:
    case QChar::Other_Format:
    case QChar::Other_NotAssigned:
    case QChar::Other_Surrogate:
    case QChar::Separator_Space:
    case QChar::Separator_Line:
    case QChar::Separator_Paragraph:
    case QChar::Mark_NonSpacing:
    case QChar::Mark_Enclosing:
    case QChar::Mark_SpacingCombining:
        return true;
    default:
        return false;
    }
}

} // namespace

bool fitsWindows1252(char32_t c)
{
    const QString text = QString::fromUcs4(&c, 1);
    return fromWindows1252(toWindows1252(text)) == text;
}

std::optional<char32_t> firstOutsideWindows1252(QStringView text)
{
    for (const char32_t c : text.toUcs4()) {
        if (!fitsWindows1252(c))
            return c;
    }
    return std::nullopt;
}

QList<UnwritableCharacter> unwritableCharacters(const QStringList &lines)
{
    QList<UnwritableCharacter> found;
    for (qsizetype number = 0; number < lines.size(); ++number) {
        const QString written = withWindows1252Equivalents(lines[number]);
        for (const char32_t c : written.toUcs4()) {
            if (fitsWindows1252(c))
                continue;
            auto known = std::find_if(found.begin(), found.end(),
                                      [c](const UnwritableCharacter &u) { return u.character == c; });
            if (known == found.end())
                known = found.insert(found.end(), {c, {}});
            if (known->lines.isEmpty() || known->lines.last() != number + 1)
                known->lines.append(int(number + 1));
        }
    }
    return found;
}

QString shownCharacter(char32_t c)
{
    if (c == U'\n' || c == U'\r')
        return u"un retour à la ligne (%1)"_s.arg(code(c));
    if (c == U'\t')
        return u"une tabulation (%1)"_s.arg(code(c));
    if (c == U' ')
        return u"une espace"_s;
    if (isInvisible(c))
        return u"un caractère invisible (%1)"_s.arg(code(c));
    const QString shown = u"« "_s + QString::fromUcs4(&c, 1) + u" »"_s;
    return c < 0x80 ? shown : shown + u" ("_s + code(c) + u')';
}

} // namespace workspace
