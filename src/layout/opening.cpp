#include "opening.h"

#include "workingcopies.h"

#include "readingaids/frame.h"
#include "readingaids/trim.h"

#include <algorithm>

namespace layout {

namespace {

// Whether a track bar of 0 to 100 can show the size on the display.
bool showsWhole(double size, int displaySize)
{
    return size * 100.0 / displaySize <= 100;
}

// Lines 49 and 50, when set, give the web view's size; the labels show them.
void appliquerTailles(Opening &o, const QString &cssPath)
{
    if (const std::optional<double> width = readViewSize(o.css, line::ViewWidth, cssPath)) {
        o.view.setWidth(int(*width));
        o.widthLabel = o.css[line::ViewWidth];
    }
    if (const std::optional<double> height = readViewSize(o.css, line::ViewHeight, cssPath)) {
        o.view.setHeight(int(*height));
        o.heightLabel = o.css[line::ViewHeight];
    }
}

// The track bars are set to show a size. A bar whose value changes takes the
// size back as when the teacher moves it, and fills its label and line;
// one that keeps its value leaves them.
void montrerLargeur(Opening &o, double size, int displayWidth)
{
    const int value = trackValue(size, displayWidth);
    if (value == o.widthBar)
        return;
    o.widthBar = value;
    const double width = showsWhole(size, displayWidth) ? size : viewWidth(displayWidth, value);
    o.view.setWidth(int(width));
    o.widthLabel = wholePixels(width);
    o.css[line::ViewWidth] = o.widthLabel;
}

void montrerHauteur(Opening &o, double size, int displayHeight)
{
    const int value = trackValue(size, displayHeight);
    if (value == o.heightBar)
        return;
    o.heightBar = value;
    double height = showsWhole(size, displayHeight) ? size : viewHeight(displayHeight, value);
    if (height > HeightLimit)
        height = HeightAboveLimit;
    o.view.setHeight(int(height));
    o.heightLabel = wholePixels(height);
    o.css[line::ViewHeight] = o.heightLabel;
}

// The web view's size and the counters; the numeric lines are read here.
void restaurerTailles(Opening &o, QSize display, const QString &cssPath)
{
    appliquerTailles(o, cssPath);
    const double width = readViewSize(o.css, line::ViewWidth, cssPath).value_or(o.view.width());
    const double height = readViewSize(o.css, line::ViewHeight, cssPath).value_or(o.view.height());
    montrerLargeur(o, width, display.width());
    montrerHauteur(o, height, display.height());

    o.counters.taille = readFontSize(o.css, cssPath);
    o.counters.espacel = readLineHeight(o.css, cssPath);
    o.counters.espacem = readWordSpacing(o.css, cssPath);

    // The height bar once more, from line 50 as the first pass left it: a
    // height cut to 800 pixels moves it down to 800.
    if (const std::optional<double> kept = readViewSize(o.css, line::ViewHeight, cssPath))
        montrerHauteur(o, *kept, display.height());
    // The web view and the labels take lines 49 and 50 as the bars left them.
    appliquerTailles(o, cssPath);
}

// The boxes of the aids recorded in lines 47, 48 and 58, and of the underline
// in line 27. They only show what is recorded: no aid runs at opening.
void restaurerCases(Opening &o)
{
    const bool tiret = hasFlag(o.css, line::AidFirstSlot, flag::Tiret);
    // Syllables in colours come back from line 58 alone.
    if (hasFlag(o.css, line::AidSecondSlot, flag::Syllabe))
        o.css[line::AidSecondSlot].clear();

    // Line 27 is left as it is: "underline overline" shows both boxes, as
    // the page shows both lines.
    o.underline = readUnderline(o.css);

    const QString font = readingaids::trimLine(o.css[line::FontFamily]).toString();
    for (const Police police : {Police::Arial, Police::Dysfont, Police::Helvetica})
        if (font == fontFamilyLine(police))
            o.police = police;
    o.majuscule = readingaids::trimLine(o.css[line::Capitals]).compare(u"text-transform: uppercase;",
                                                                        Qt::CaseInsensitive) == 0;
    const std::optional<int> ecart = readLetterSpacing(o.css);
    o.counters.EcarLT = ecart.value_or(0);
    o.ecartLu = ecart.has_value();

    o.aids.syllablesWithDashes = tiret || hasFlag(o.css, line::BoxesOn, flag::SyllabesTirets);
    o.aids.syllablesInColours = hasFlag(o.css, line::BoxesOn, flag::SyllabesCouleurs);
    o.aids.sentencesInColours = hasFlag(o.css, line::BoxesOn, flag::PhrasesCouleurs);
}

} // namespace

Opening openingOf(const Css &css, QSize display, const QString &cssPath)
{
    Opening o;
    o.css = css;
    o.view = DesignedView;
    o.widthLabel = css[line::ViewWidth];
    o.heightLabel = css[line::ViewHeight];
    restaurerTailles(o, display, cssPath);
    restaurerCases(o);
    return o;
}

bool highlightShown(const QStringList &documentLines)
{
    return std::any_of(documentLines.cbegin(), documentLines.cend(), [](const QString &l) {
        return l.contains(readingaids::highlightMark) && l.contains(u"#ffffbb", Qt::CaseInsensitive);
    });
}

bool gardeCopie(const Css &css, const QStringList &documentLines)
{
    return css[line::AidFirstSlot].isEmpty() && css[line::AidSecondSlot].isEmpty() && !carriesAid(documentLines);
}

void recordSettings(Css &css, const QString &largeur, const QString &hauteur, BorderBoxes borders, const AidBoxes &aides)
{
    css[line::ViewWidth] = largeur;
    css[line::ViewHeight] = hauteur;
    if (borders.greenRed)
        css[line::BorderGreenRed] = flag::BordVertRouge;
    if (borders.multicolor)
        css[line::BorderMulticolor] = flag::BordMulticolor;
    if (const QString on = boxesOnFlag(aides); !on.isEmpty())
        css[line::BoxesOn] = on;
}

} // namespace layout
