#include "opening.h"

#include "workingcopies.h"

namespace layout {

namespace {

// Whether a track bar of 0 to 100 can show the size on the display.
bool showsWhole(double size, int displaySize)
{
    return size * 100.0 / displaySize <= 100;
}

// Lines 49 and 50, when set, give the web view's size; the labels show them.
void appliquerTailles(Ouverture &o, const QString &cssPath)
{
    if (const std::optional<double> width = readViewSize(o.css, line::ViewWidth, cssPath)) {
        o.vue.setWidth(int(*width));
        o.largeur = o.css[line::ViewWidth];
    }
    if (const std::optional<double> height = readViewSize(o.css, line::ViewHeight, cssPath)) {
        o.vue.setHeight(int(*height));
        o.hauteur = o.css[line::ViewHeight];
    }
}

// The track bars are set to show a size. A bar whose value changes takes the
// size back as when the teacher moves it, and fills its label and line;
// one that keeps its value leaves them.
void montrerLargeur(Ouverture &o, double size, int displayWidth)
{
    const int value = trackValue(size, displayWidth);
    if (value == o.largeurBarre)
        return;
    o.largeurBarre = value;
    const double width = showsWhole(size, displayWidth) ? size : viewWidth(displayWidth, value);
    o.vue.setWidth(int(width));
    o.largeur = wholePixels(width);
    o.css[line::ViewWidth] = o.largeur;
}

void montrerHauteur(Ouverture &o, double size, int displayHeight)
{
    const int value = trackValue(size, displayHeight);
    if (value == o.hauteurBarre)
        return;
    o.hauteurBarre = value;
    double height = showsWhole(size, displayHeight) ? size : viewHeight(displayHeight, value);
    if (height > HeightLimit)
        height = HeightAboveLimit;
    o.vue.setHeight(int(height));
    o.hauteur = wholePixels(height);
    o.css[line::ViewHeight] = o.hauteur;
}

// The web view's size and the counters; the numeric lines are read here.
void restaurerTailles(Ouverture &o, QSize display, const QString &cssPath)
{
    appliquerTailles(o, cssPath);
    const double width = readViewSize(o.css, line::ViewWidth, cssPath).value_or(o.vue.width());
    const double height = readViewSize(o.css, line::ViewHeight, cssPath).value_or(o.vue.height());
    montrerLargeur(o, width, display.width());
    montrerHauteur(o, height, display.height());

    o.compteurs.taille = readFontSize(o.css, cssPath);
    o.compteurs.espacel = readLineHeight(o.css, cssPath);
    o.compteurs.espacem = readWordSpacing(o.css, cssPath);

    // The height bar once more, from line 50 as the first pass left it: a
    // height cut to 800 pixels moves it down to 800.
    if (const std::optional<double> kept = readViewSize(o.css, line::ViewHeight, cssPath))
        montrerHauteur(o, *kept, display.height());
    // The web view and the labels take lines 49 and 50 as the bars left them.
    appliquerTailles(o, cssPath);
}

// The boxes of the aids recorded in lines 47, 48 and 58, and of the underline
// in line 27. They only show what is recorded: no aid runs at opening.
void restaurerCases(Ouverture &o)
{
    const bool tiret = hasFlag(o.css, line::AidFirstSlot, flag::Tiret);
    // Syllables in colours come back from line 58 alone.
    if (hasFlag(o.css, line::AidSecondSlot, flag::Syllabe))
        o.css[line::AidSecondSlot].clear();

    // Both boxes start unchecked; the overline box is set first, so that
    // "underline overline" leaves line 27 as "underline" alone.
    o.soulignement = readUnderline(o.css);
    if (o.soulignement.surligne)
        o.css[line::Underline] = overlineLine(true);
    if (o.soulignement.souligne)
        o.css[line::Underline] = underlineLine(true);
    o.sauverCss = o.soulignement.surligne || o.soulignement.souligne;

    o.aides.syllablesWithDashes = tiret || hasFlag(o.css, line::BoxesOn, flag::SyllabesTirets);
    o.aides.syllablesInColours = hasFlag(o.css, line::BoxesOn, flag::SyllabesCouleurs);
    o.aides.sentencesInColours = hasFlag(o.css, line::BoxesOn, flag::PhrasesCouleurs);
}

} // namespace

Ouverture ouvrir(const Css &css, QSize display, const QString &cssPath)
{
    Ouverture o;
    o.css = css;
    o.vue = DesignedView;
    o.largeur = css[line::ViewWidth];
    o.hauteur = css[line::ViewHeight];
    try {
        restaurerTailles(o, display, cssPath);
    } catch (const ConversionError &error) {
        o.echec = error;
        return o;
    }
    restaurerCases(o);
    return o;
}

bool gardeCopie(const Css &css, const QStringList &documentLines)
{
    return css[line::AidFirstSlot].isEmpty() && css[line::AidSecondSlot].isEmpty() && !carriesAid(documentLines);
}

void reglages(Css &css, const QString &largeur, const QString &hauteur, BorderBoxes borders, const AidBoxes &aides)
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
