#include "html.h"

#include "paragraphs.h"
#include "plaintext.h"
#include "refusals.h"
#include "workspace/cp1252.h"

#include <QHash>
#include <QStringDecoder>

using namespace Qt::StringLiterals;

namespace sources {

namespace {

// The named references of HTML 4 that a French text may hold: the whole
// Latin-1 range in its order, then the typography outside it.
const QHash<QString, char16_t> &namedReferences()
{
    static const QHash<QString, char16_t> table = [] {
        static const char *const latin1[] = {
            "nbsp", "iexcl", "cent", "pound", "curren", "yen", "brvbar", "sect", "uml", "copy", "ordf", "laquo",
            "not", "shy", "reg", "macr", "deg", "plusmn", "sup2", "sup3", "acute", "micro", "para", "middot",
            "cedil", "sup1", "ordm", "raquo", "frac14", "frac12", "frac34", "iquest", "Agrave", "Aacute", "Acirc",
            "Atilde", "Auml", "Aring", "AElig", "Ccedil", "Egrave", "Eacute", "Ecirc", "Euml", "Igrave", "Iacute",
            "Icirc", "Iuml", "ETH", "Ntilde", "Ograve", "Oacute", "Ocirc", "Otilde", "Ouml", "times", "Oslash",
            "Ugrave", "Uacute", "Ucirc", "Uuml", "Yacute", "THORN", "szlig", "agrave", "aacute", "acirc", "atilde",
            "auml", "aring", "aelig", "ccedil", "egrave", "eacute", "ecirc", "euml", "igrave", "iacute", "icirc",
            "iuml", "eth", "ntilde", "ograve", "oacute", "ocirc", "otilde", "ouml", "divide", "oslash", "ugrave",
            "uacute", "ucirc", "uuml", "yacute", "thorn", "yuml"};
        QHash<QString, char16_t> names;
        char16_t code = 0xA0;
        for (const char *name : latin1)
            names.insert(QString::fromLatin1(name), code++);
        const std::pair<const char *, char16_t> others[] = {
            {"quot", u'"'}, {"amp", u'&'}, {"apos", u'\''}, {"lt", u'<'}, {"gt", u'>'}, {"OElig", 0x152},
            {"oelig", 0x153}, {"Scaron", 0x160}, {"scaron", 0x161}, {"Yuml", 0x178}, {"fnof", 0x192},
            {"circ", 0x2C6}, {"tilde", 0x2DC}, {"ensp", 0x2002}, {"emsp", 0x2003}, {"thinsp", 0x2009},
            {"zwnj", 0x200C}, {"zwj", 0x200D}, {"ndash", 0x2013}, {"mdash", 0x2014}, {"lsquo", 0x2018},
            {"rsquo", 0x2019}, {"sbquo", 0x201A}, {"ldquo", 0x201C}, {"rdquo", 0x201D}, {"bdquo", 0x201E},
            {"dagger", 0x2020}, {"Dagger", 0x2021}, {"bull", 0x2022}, {"hellip", 0x2026}, {"permil", 0x2030},
            {"lsaquo", 0x2039}, {"rsaquo", 0x203A}, {"euro", 0x20AC}, {"trade", 0x2122}, {"NoBreak", 0x2060},
            {"nnbsp", 0x202F}};
        for (const auto &[name, c] : others)
            names.insert(QString::fromLatin1(name), c);
        return names;
    }();
    return table;
}

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\f';
}

// Elements whose content is not shown as text.
bool isHidden(QStringView name)
{
    static const QStringList hidden = {u"head"_s, u"title"_s, u"script"_s, u"style"_s, u"template"_s,
                                       u"noscript"_s, u"svg"_s, u"math"_s, u"object"_s, u"iframe"_s,
                                       u"select"_s, u"textarea"_s};
    return hidden.contains(name);
}

// Elements that stand on lines of their own.
bool isBlock(QStringView name)
{
    static const QStringList blocks = {
        u"p"_s, u"div"_s, u"h1"_s, u"h2"_s, u"h3"_s, u"h4"_s, u"h5"_s, u"h6"_s, u"li"_s, u"ul"_s, u"ol"_s,
        u"dl"_s, u"dt"_s, u"dd"_s, u"tr"_s, u"table"_s, u"thead"_s, u"tbody"_s, u"tfoot"_s, u"caption"_s,
        u"blockquote"_s, u"pre"_s, u"section"_s, u"article"_s, u"header"_s, u"footer"_s, u"nav"_s, u"aside"_s,
        u"main"_s, u"figure"_s, u"figcaption"_s, u"address"_s, u"hr"_s, u"form"_s, u"fieldset"_s, u"legend"_s,
        u"center"_s, u"body"_s, u"html"_s, u"details"_s, u"summary"_s};
    return blocks.contains(name);
}

class Lines
{
public:
    explicit Lines(const QString &path)
        : m_budget(path)
    {
    }
    void add(QChar c, bool preformatted)
    {
        if (!preformatted && isBlank(c)) {
            if (!m_line.isEmpty() && !m_line.endsWith(u' ') && !m_line.endsWith(u'\t'))
                append(u' ');
            return;
        }
        if (preformatted && (c == u'\n' || c == u'\r')) {
            if (c == u'\n')
                flush();
            return;
        }
        append(c);
    }
    void cell()
    {
        if (!m_line.isEmpty()) {
            trimEnd();
            append(u'\t');
        }
    }
    void block()
    {
        if (!m_line.isEmpty())
            flush();
    }
    // The next text starts a list item's line with "• ", as the word
    // processors' items do; an item that shows nothing adds no line.
    void item(bool opening) { m_item = opening; }
    void flush()
    {
        trimEnd();
        m_budget.spend(1); // the line's end
        m_lines.append(m_line);
        m_line.clear();
    }
    QStringList take()
    {
        block();
        return std::move(m_lines);
    }

private:
    // Counted as it comes, so that a page is refused as soon as its text is
    // too long.
    void append(QChar c)
    {
        if (m_item && m_line.isEmpty()) {
            m_budget.spend(ListItemMark.size());
            m_line += ListItemMark;
            m_item = false;
        }
        m_budget.spend(1);
        m_line += c;
    }
    void trimEnd()
    {
        while (m_line.endsWith(u' ')) {
            m_line.chop(1);
            m_budget.refund(1);
        }
    }
    TextBudget m_budget;
    QStringList m_lines;
    QString m_line;
    bool m_item = false; // the line to come is a list item's first
};

// The character reference at html[i] ("&..."), its text and length; nothing
// when it is none (a lone "&" stays).
std::optional<std::pair<QString, qsizetype>> reference(QStringView html, qsizetype i)
{
    // Looked for among the next 40 characters only: a page of "&" without
    // ";" is read in one pass, not searched to its end at each "&".
    const qsizetype end = html.sliced(i, std::min<qsizetype>(html.size() - i, 41)).indexOf(u';');
    if (end < 0)
        return std::nullopt;
    const qsizetype semicolon = i + end;
    const QStringView body = html.sliced(i + 1, semicolon - i - 1);
    const qsizetype length = semicolon - i + 1;
    if (body.startsWith(u'#')) {
        bool ok = false;
        const bool hex = body.size() > 1 && (body[1] == u'x' || body[1] == u'X');
        const uint code = hex ? body.sliced(2).toUInt(&ok, 16) : body.sliced(1).toUInt(&ok, 10);
        if (!ok || code == 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return std::nullopt;
        // Pages written in the Windows code page refer to its characters by their byte.
        if (code >= 0x80 && code <= 0x9F)
            return std::pair{workspace::fromWindows1252(QByteArray(1, char(code))), length};
        return std::pair{QString::fromUcs4(reinterpret_cast<const char32_t *>(&code), 1), length};
    }
    const auto found = namedReferences().constFind(body.toString());
    if (found == namedReferences().cend())
        return std::nullopt;
    return std::pair{QString(QChar(*found)), length};
}

// The end of the tag that starts at html[i] ("<"), quotes inside it skipped.
qsizetype tagEnd(QStringView html, qsizetype i)
{
    QChar quote;
    for (qsizetype j = i + 1; j < html.size(); ++j) {
        const QChar c = html[j];
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
        } else if (c == u'"' || c == u'\'') {
            quote = c;
        } else if (c == u'>') {
            return j;
        }
    }
    return html.size() - 1;
}

QString tagName(QStringView tag)
{
    qsizetype end = 0;
    while (end < tag.size() && (tag[end].isLetterOrNumber() || tag[end] == u'-' || tag[end] == u':'))
        ++end;
    return tag.first(end).toString().toLower();
}

} // namespace

QStringList htmlLines(QStringView html, const QString &path)
{
    Lines lines(path);
    int preformatted = 0;
    qsizetype i = 0;
    while (i < html.size()) {
        const QChar c = html[i];
        if (c == u'&') {
            if (const auto decoded = reference(html, i)) {
                // A referenced blank is a blank; any other character is kept as it is.
                for (const QChar d : decoded->first)
                    lines.add(d, preformatted > 0 || !isBlank(d));
                i += decoded->second;
                continue;
            }
            lines.add(c, preformatted > 0);
            ++i;
            continue;
        }
        if (c != u'<' || i + 1 >= html.size()
            || !(html[i + 1].isLetter() || html[i + 1] == u'/' || html[i + 1] == u'!' || html[i + 1] == u'?')) {
            lines.add(c, preformatted > 0);
            ++i;
            continue;
        }
        if (html.sliced(i).startsWith(u"<!--")) {
            const qsizetype end = html.indexOf(u"-->", i + 4);
            i = end < 0 ? html.size() : end + 3;
            continue;
        }
        const qsizetype end = tagEnd(html, i);
        const bool closing = html[i + 1] == u'/';
        const QString name = tagName(html.sliced(i + (closing ? 2 : 1), end - i - (closing ? 2 : 1)));
        i = end + 1;
        if (!closing && isHidden(name)) {
            // Skipped up to its own closing tag.
            const qsizetype close = html.indexOf(QString(u"</"_s + name), i, Qt::CaseInsensitive);
            i = close < 0 ? html.size() : tagEnd(html, close) + 1;
            continue;
        }
        if (name == u"br") {
            lines.flush();
        } else if (name == u"td" || name == u"th") {
            if (!closing)
                lines.cell();
        } else if (isBlock(name)) {
            lines.block();
            if (name == u"li" || name == u"ul" || name == u"ol")
                lines.item(name == u"li" && !closing);
            if (name == u"pre")
                preformatted = std::max(0, preformatted + (closing ? -1 : 1));
        }
    }
    return lines.take();
}

QString decodeHtml(QByteArrayView bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF") || bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF"))
        return decodeText(bytes).value_or(QString());
    const QByteArray head = bytes.first(std::min<qsizetype>(bytes.size(), 4096)).toByteArray().toLower();
    const qsizetype at = head.indexOf("charset=");
    if (at >= 0) {
        const QByteArray rest = head.mid(at + 8).replace('"', ' ').replace('\'', ' ').trimmed();
        if (rest.startsWith("utf-8") || rest.startsWith("utf8"))
            return QStringDecoder(QStringConverter::Utf8)(bytes);
        if (rest.startsWith("windows-1252") || rest.startsWith("iso-8859-1") || rest.startsWith("latin1")
            || rest.startsWith("iso-8859-15") || rest.startsWith("us-ascii"))
            return workspace::fromWindows1252(bytes);
    }
    if (std::optional<QString> text = decodeText(bytes))
        return *text;
    return workspace::fromWindows1252(bytes);
}

QStringList readHtml(const QString &path)
{
    return htmlLines(decodeHtml(readSourceBytes(path)), path);
}

} // namespace sources
