#include "stylesheet.h"

#include "readingaids/trim.h"
#include "workspace/paths.h"
#include "workspace/textfile.h"

#include <QFileInfo>
#include <QLocale>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace layout {

Css::Css()
{
    m_lines.resize(CssLineCount);
}

QString &Css::operator[](int k)
{
    Q_ASSERT(k >= 1 && k <= CssLineCount);
    return m_lines[k - 1];
}

const QString &Css::operator[](int k) const
{
    Q_ASSERT(k >= 1 && k <= CssLineCount);
    return m_lines[k - 1];
}

QStringList Css::numbered() const
{
    return m_lines;
}

bool hasFlag(const Css &css, int k, const QString &flagText)
{
    return readingaids::trimLine(css[k]) == flagText;
}

ConversionError::ConversionError(const QString &path, int k, const QString &lineText)
    : Failure(u"Le fichier « %1 », ligne %2, ne donne pas le nombre attendu : « %3 »."_s
                  .arg(path)
                  .arg(k)
                  .arg(lineText))
    , m_line(k)
{
}

namespace {

// Text from position `from` (counted from 1) up to the first `end`, read as
// a decimal integer after skipping leading blanks. No end, an end before the
// position, or any other character around the number gives nothing.
std::optional<int> integerIn(const QString &text, int from, QStringView end)
{
    const qsizetype stop = text.indexOf(end);
    if (stop < from - 1)
        return std::nullopt;
    QStringView number = QStringView(text).mid(from - 1, stop - (from - 1));
    while (!number.isEmpty() && (number.front() == u' ' || number.front() == u'\t'))
        number = number.mid(1);
    // An optional minus sign, then decimal digits only; toInt checks the range.
    const QStringView digits = number.startsWith(u'-') ? number.mid(1) : number;
    bool ok = !digits.isEmpty()
        && std::all_of(digits.begin(), digits.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
    const int value = ok ? number.toInt(&ok, 10) : 0;
    if (!ok)
        return std::nullopt;
    return value;
}

int readInteger(const Css &css, int k, int from, QStringView end, const QString &path)
{
    const std::optional<int> value = integerIn(css[k], from, end);
    if (!value)
        throw ConversionError(path, k, css[k]);
    return *value;
}

} // namespace

int readFontSize(const Css &css, const QString &path)
{
    return readInteger(css, line::FontSize, 12, u"%", path);
}

int readLineHeight(const Css &css, const QString &path)
{
    return readInteger(css, line::LineHeight, 14, u"px", path);
}

int readWordSpacing(const Css &css, const QString &path)
{
    return readInteger(css, line::WordSpacing, 15, u"px", path);
}

std::optional<int> readLetterSpacing(const Css &css)
{
    return integerIn(css[line::LetterSpacing], 18, u"px");
}

std::optional<double> readViewSize(const Css &css, int k, const QString &path)
{
    const QString &text = css[k];
    if (text.isEmpty())
        return std::nullopt;
    bool ok = false;
    const double value = QLocale().toDouble(QStringView(text).trimmed(), &ok);
    // "nan", "inf", a size below zero or beyond what a window can have would
    // open the screen with a web view of no size at all.
    if (!ok || !(value >= 0 && value <= MaxViewSize))
        throw ConversionError(path, k, text);
    return value;
}

UnderlineBoxes readUnderline(const Css &css)
{
    const QString &text = css[line::Underline];
    if (text.contains(u"none"))
        return {};
    return {text.contains(u"overline"), text.contains(u"underline")};
}

Css loadCss(const QString &cheminW)
{
    const QStringList lines = workspace::readLines(cheminW + QStringLiteral("style.css"));
    Css css;
    for (int k = 1; k <= CssLineCount && k <= lines.size(); ++k)
        css[k] = lines[k - 1];
    if (lines.size() > CssLineCount)
        css.setBeyond(lines.mid(CssLineCount));
    return css;
}

namespace {

// Lines 3 to 5 of the earlier template, and of the current one.
struct FontFaceLine
{
    int number;
    QString before;
    QString now;
};

const QList<FontFaceLine> &fontFaceLines()
{
    static const QList<FontFaceLine> lines = {
        {3,
         uR"(@font-face { font-family: "OpenDyslexic-Regular"; src: local("OpenDyslexic-Regular"), local("OpenDyslexic Regular"), local("OpenDyslexic"); })"_s,
         uR"(@font-face { font-family: "OpenDyslexic-Regular"; src: url("OpenDyslexicTessavo-Regular.woff2") format("woff2"), local("OpenDyslexic-Regular"), local("OpenDyslexic Regular"), local("OpenDyslexic"); })"_s},
        {4,
         uR"(@font-face { font-family: "HelveticaNeueLT Std Lt"; src: local("HelveticaNeueLT Std Lt"), local("Helvetica Neue"), local("Helvetica"), local("Nimbus Sans"), local("Liberation Sans"), local("Arial"), local("DejaVu Sans"); })"_s,
         uR"(@font-face { font-family: "HelveticaNeueLT Std Lt"; src: url("LiberationSans-Regular.woff2") format("woff2"), local("HelveticaNeueLT Std Lt"), local("Helvetica Neue"), local("Helvetica"), local("Nimbus Sans"), local("Liberation Sans"), local("Arial"), local("DejaVu Sans"); })"_s},
        {5,
         uR"(@font-face { font-family: "sans-serif"; src: local("Arial"), local("Liberation Sans"), local("DejaVu Sans"); })"_s,
         uR"(@font-face { font-family: "sans-serif"; src: url("LiberationSans-Regular.woff2") format("woff2"), local("Arial"), local("Liberation Sans"), local("DejaVu Sans"); } )"
         uR"(@font-face { font-family: "Arial"; src: url("LiberationSans-Regular.woff2") format("woff2"), local("Liberation Sans"), local("Arial"); })"_s},
    };
    return lines;
}

} // namespace

const QStringList &publishedFontFiles()
{
    static const QStringList files = {u"OpenDyslexicTessavo-Regular.woff2"_s, u"LiberationSans-Regular.woff2"_s};
    return files;
}

Css withPublishedFonts(Css css)
{
    for (const FontFaceLine &line : fontFaceLines()) {
        if (css[line.number] == line.before)
            css[line.number] = line.now;
    }
    return css;
}

void placeFonts(const QString &cheminW, const QString &templateFolder, const QStringList &styleLines)
{
    for (const QString &file : publishedFontFiles()) {
        const QString named = u"url(\""_s + file + u"\")"_s;
        const bool namedByTheSheet =
            std::any_of(styleLines.begin(), styleLines.end(), [&](const QString &l) { return l.contains(named); });
        if (!namedByTheSheet || QFileInfo::exists(cheminW + file) || !QFileInfo::exists(templateFolder + file))
            continue;
        try {
            workspace::copyBytes(templateFolder + file, cheminW + file);
        } catch (const workspace::Failure &) {
            // The face of the system shows instead, as it did before.
        }
    }
}

void SauveCSS(const QString &cheminW, const Css &css)
{
    const Css written = withPublishedFonts(css);
    const QStringList lines = written.numbered() + written.beyond();
    workspace::writeLines(cheminW + QStringLiteral("style.css"), lines);
    placeFonts(cheminW, workspace::templateFolderPath(workspace::workingFolder()), lines);
}

} // namespace layout
