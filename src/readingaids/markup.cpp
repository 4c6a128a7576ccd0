#include "markup.h"

namespace readingaids {

namespace {

// Longer than any named reference of HTML.
constexpr qsizetype longestReferenceName = 32;

bool isAsciiLetter(QChar c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

bool isAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

bool isHexDigit(QChar c)
{
    return isAsciiDigit(c) || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

// The length of the run of characters at pos that all pass the test.
template<typename Test>
qsizetype runLength(QStringView line, qsizetype pos, Test test)
{
    qsizetype end = pos;
    while (end < line.size() && end - pos <= longestReferenceName && test(line[end]))
        ++end;
    return end - pos;
}

bool isAsciiLetterOrDigit(QChar c)
{
    return isAsciiLetter(c) || isAsciiDigit(c);
}

// The length of what follows the "&" of a reference up to its ";": a name,
// "#" and digits, or "#x" and hexadecimal digits; 0 when there is none.
qsizetype referenceBody(QStringView rest)
{
    qsizetype prefix = 0;
    qsizetype body = 0;
    if (rest.startsWith(u"#x") || rest.startsWith(u"#X")) {
        prefix = 2;
        body = runLength(rest, prefix, isHexDigit);
    } else if (rest.startsWith(u'#')) {
        prefix = 1;
        body = runLength(rest, prefix, isAsciiDigit);
    } else if (!rest.isEmpty() && isAsciiLetter(rest.front())) {
        body = runLength(rest, prefix, isAsciiLetterOrDigit);
    }
    if (body == 0 || body > longestReferenceName)
        return 0;
    return prefix + body;
}

} // namespace

qsizetype tagLength(QStringView line, qsizetype pos)
{
    const qsizetype close = line.indexOf(u'>', pos + 1);
    return close < 0 ? -1 : close - pos + 1;
}

qsizetype referenceLength(QStringView line, qsizetype pos)
{
    const QStringView rest = line.sliced(pos + 1);
    const qsizetype body = referenceBody(rest);
    if (body == 0 || body >= rest.size() || rest[body] != u';')
        return 0;
    return body + 2;
}

} // namespace readingaids
