#include "folding.h"

namespace workspace {

namespace {

struct Fold
{
    char16_t first;
    char16_t last;
    const char16_t *replacement;
};

// Ranges of 16-bit units and what each of their units becomes.
constexpr Fold kFolds[] = {
    {u' ', u' ', u"_"},
    {0x00C0, 0x00C5, u"A"},
    {0x00C6, 0x00C6, u"AE"},
    {0x00C7, 0x00C7, u"C"},
    {0x00C8, 0x00CB, u"E"},
    {0x00CC, 0x00CF, u"I"},
    {0x00D0, 0x00D0, u"D"},
    {0x00D1, 0x00D1, u"N"},
    {0x00D2, 0x00D6, u"O"},
    {0x00D8, 0x00D8, u"O"},
    {0x00D9, 0x00DC, u"U"},
    {0x00DD, 0x00DD, u"Y"},
    {0x0178, 0x0178, u"Y"},
    {0x00E0, 0x00E5, u"a"},
    {0x00E6, 0x00E6, u"ae"},
    {0x00E7, 0x00E7, u"c"},
    {0x00E8, 0x00EB, u"e"},
    {0x00EC, 0x00EF, u"i"},
    {0x00F0, 0x00F0, u"d"},
    {0x00F1, 0x00F1, u"n"},
    {0x00F2, 0x00F6, u"o"},
    {0x00F8, 0x00F8, u"o"},
    {0x00F9, 0x00FC, u"u"},
    {0x00FD, 0x00FD, u"y"},
    {0x00FF, 0x00FF, u"y"},
    {0x0152, 0x0152, u"OE"},
    {0x0153, 0x0153, u"oe"},
    {0x0160, 0x0160, u"S"},
    {0x0161, 0x0161, u"s"},
    {0x017E, 0x017E, u"z"},
};

const char16_t *foldedUnit(char16_t unit)
{
    for (const Fold &fold : kFolds) {
        if (unit >= fold.first && unit <= fold.last)
            return fold.replacement;
    }
    return nullptr;
}

} // namespace

QString EnleveAccentsCaseOfDoubles(const QString &name)
{
    QString folded;
    folded.reserve(name.size() + 4);
    for (const QChar c : name) {
        if (const char16_t *replacement = foldedUnit(c.unicode()))
            folded += QStringView(replacement);
        else
            folded += c;
    }
    return folded;
}

QString upperCaseClassField(const QString &field)
{
    QString upper = field;
    for (QChar &c : upper) {
        if (c >= u'a' && c <= u'z')
            c = QChar(c.unicode() - u'a' + u'A');
    }
    return upper;
}

} // namespace workspace
