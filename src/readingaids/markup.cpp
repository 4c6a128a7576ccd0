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

namespace readingaids {

namespace {

bool isTagSpace(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\f';
}

bool isPlainFormattingName(QStringView name)
{
    static constexpr QStringView names[] = {u"b", u"i", u"u", u"em", u"strong", u"font", u"span", u"p", u"br"};
    for (const QStringView allowed : names) {
        if (name.compare(allowed, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

bool isPresentationAttribute(QStringView name)
{
    static constexpr QStringView names[] = {u"style", u"class", u"color", u"face", u"size",
                                            u"align", u"title", u"lang",  u"dir"};
    for (const QStringView allowed : names) {
        if (name.compare(allowed, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

int hexValue(QChar c)
{
    if (isAsciiDigit(c))
        return c.unicode() - u'0';
    return (c.unicode() | 0x20) - u'a' + 10;
}

// The value as CSS reads it: its comments taken out, each escape replaced
// by the character it stands for ("\75 rl(" and "\000075rl(" are "url(",
// "u\rl(" too). Anything that is no character reads as U+FFFD, as it does
// in the browser.
QString cssText(QStringView value)
{
    QString text;
    text.reserve(value.size());
    qsizetype i = 0;
    while (i < value.size()) {
        const QChar c = value[i];
        if (c == u'/' && value.sliced(i).startsWith(u"/*")) {
            const qsizetype end = value.indexOf(u"*/", i + 2);
            if (end < 0)
                break; // a comment not closed runs to the end
            i = end + 2;
            continue;
        }
        if (c != u'\\') {
            text += c;
            ++i;
            continue;
        }
        ++i;
        char32_t code = 0;
        qsizetype digits = 0;
        while (digits < 6 && i < value.size() && isHexDigit(value[i])) {
            code = code * 16 + char32_t(hexValue(value[i]));
            ++digits;
            ++i;
        }
        if (digits == 0) {
            if (i < value.size())
                text += value[i++]; // the character itself
            continue;
        }
        // One blank after the digits ends the escape; CR LF is one blank.
        if (i < value.size() && isTagSpace(value[i]))
            i += value.sliced(i).startsWith(u"\r\n") ? 2 : 1;
        if (code == 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            code = 0xFFFD;
        text += QString::fromUcs4(&code, 1);
    }
    return text;
}

// A value that could run a script or fetch something, however it is spelt:
// read as CSS reads it (its escapes and comments), without the blanks that
// the browser skips; a character reference, which could spell any of it, is
// refused outright.
bool isActiveValue(QStringView value)
{
    if (value.contains(u'&'))
        return true;
    QString bare;
    for (const QChar c : cssText(value)) {
        if (c.unicode() > 0x20)
            bare += c.toLower();
    }
    // Whatever fetches in a style: an address, a set of pictures, a picture
    // made of others, an attribute read as an address.
    static constexpr QStringView active[] = {
        u"javascript:", u"vbscript:", u"data:",       u"url(",  u"image-set(", u"image(",    u"cross-fade(",
        u"src(",        u"attr(",     u"expression(", u"@import", u"behavior:", u"binding"};
    for (const QStringView word : active) {
        if (bare.contains(word))
            return true;
    }
    return false;
}

bool isNameCharacter(QChar c)
{
    return !isTagSpace(c) && c != u'/' && c != u'>' && c != u'=' && c != u'"' && c != u'\'' && c != u'<'
        && c != u'`';
}

// Whether the attributes of a tag, from after its name to before its ">",
// are all of presentation with harmless values; a "/" may end them.
bool hasPlainAttributes(QStringView rest)
{
    qsizetype i = 0;
    const auto skipSpace = [&] {
        while (i < rest.size() && isTagSpace(rest[i]))
            ++i;
    };
    while (true) {
        skipSpace();
        if (i == rest.size())
            return true;
        if (rest[i] == u'/') {
            ++i;
            skipSpace();
            return i == rest.size();
        }
        const qsizetype nameStart = i;
        while (i < rest.size() && isNameCharacter(rest[i]))
            ++i;
        if (i == nameStart || !isPresentationAttribute(rest.sliced(nameStart, i - nameStart)))
            return false;
        skipSpace();
        if (i == rest.size() || rest[i] != u'=')
            continue;
        ++i;
        skipSpace();
        if (i == rest.size())
            return false;
        qsizetype valueStart = i;
        qsizetype valueEnd = i;
        if (rest[i] == u'"' || rest[i] == u'\'') {
            const qsizetype close = rest.indexOf(rest[i], i + 1);
            if (close < 0)
                return false;
            valueStart = i + 1;
            valueEnd = close;
            i = close + 1;
        } else {
            while (i < rest.size() && isNameCharacter(rest[i]))
                ++i;
            valueEnd = i;
        }
        if (isActiveValue(rest.sliced(valueStart, valueEnd - valueStart)))
            return false;
    }
}

// "<b>", "</span>", "<br/>", "<font color=red>": a tag of plain formatting.
bool isPlainFormattingTag(QStringView tag)
{
    QStringView inside = tag.sliced(1, tag.size() - 2);
    if (inside.contains(u'<'))
        return false;
    const bool closing = inside.startsWith(u'/');
    if (closing)
        inside = inside.sliced(1);
    qsizetype nameEnd = 0;
    while (nameEnd < inside.size() && (isAsciiLetter(inside[nameEnd]) || isAsciiDigit(inside[nameEnd])))
        ++nameEnd;
    if (nameEnd == 0 || !isPlainFormattingName(inside.first(nameEnd)))
        return false;
    const QStringView rest = inside.sliced(nameEnd);
    if (closing)
        return rest.trimmed().isEmpty();
    return rest.isEmpty() || ((isTagSpace(rest.front()) || rest.front() == u'/') && hasPlainAttributes(rest));
}

} // namespace

QString escapeText(QStringView text)
{
    QString escaped;
    escaped.reserve(text.size());
    for (const QChar c : text) {
        if (c == u'&')
            escaped += u"&amp;";
        else if (c == u'<')
            escaped += u"&lt;";
        else if (c == u'>')
            escaped += u"&gt;";
        else
            escaped += c;
    }
    return escaped;
}

QString keepPlainFormatting(QStringView line)
{
    QString kept;
    kept.reserve(line.size());
    qsizetype i = 0;
    while (i < line.size()) {
        const QChar c = line[i];
        if (c == u'<') {
            const qsizetype length = tagLength(line, i);
            if (length > 0 && isPlainFormattingTag(line.sliced(i, length))) {
                kept += line.sliced(i, length);
                i += length;
                continue;
            }
            kept += u"&lt;";
        } else if (c == u'>') {
            kept += u"&gt;";
        } else {
            kept += c;
        }
        ++i;
    }
    return kept;
}

} // namespace readingaids
