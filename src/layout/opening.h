#pragma once

#include "aidselection.h"
#include "stylesheet.h"
#include "typography.h"

#include <QSize>
#include <QString>
#include <QStringList>

#include <optional>

// What the layout screen shows when it opens on a student's style sheet. The
// screen applies it as it stands: no control's handler runs at opening.
namespace layout {

// The web view's designed size, which lines 49 and 50 replace when they are set.
inline constexpr QSize DesignedView{1366, 353};

struct Opening
{
    // The style sheet lines after the opening, kept in memory: 49 and 50 as
    // the web view opens, 48 without "/*SYLLABE*/". Every box and field says
    // what the lines give the page; nothing is written for them.
    Css css;
    QSize view;            // the web view's size
    int widthBar = 0;      // the width track bar (0 to 100)
    int heightBar = 0;     // the height track bar
    QString widthLabel;    // the label of the web view's width
    QString heightLabel;   // the label of its height
    Compteurs counters;    // taille, espacel, espacem, EcarLT (0 when line 29 gives none)
    UnderlineBoxes underline; // as line 27 decorates the text
    // Syllables in colours, with dashes, sentences in colours, from lines 47
    // and 58; silent letters never. Once the document is read, the screen
    // shows the aid it carries instead (shownAid), and these stand only when
    // that aid cannot be told.
    AidBoxes aids;
    // The font box of line 7; none when the line names another font.
    std::optional<Police> police;
    // The capitals box: line 28 turns the text to capitals.
    bool majuscule = false;
    // Whether the letter spacing field shows EcarLT: line 29 gives its number.
    bool ecartLu = false;
};

// What the highlight box shows for a document: whether its highlight line
// puts the light yellow behind the text.
bool highlightShown(const QStringList &documentLines);

// The opening on the lines of cssPath (which only names the file in a
// failure), on a display of the given size. The track bars show the web view's
// size; a size they cannot show (wider or higher than the display) becomes
// the display's, a height above 850 pixels becomes 800. Lines 49 and 50 hold
// the whole pixels then: "1000.7" -> "1000". A numeric line (21, 24, 25, 49
// or 50) that does not give its number raises ConversionError: the screen
// does not open.
Opening openingOf(const Css &css, QSize display, const QString &cssPath);

// Whether the opening keeps a copy of the document beside it (".bak"): only
// when no aid is in force. The flags belong to the student, not to the
// document: a document that still carries an aid never replaces the backup
// of the teacher's text.
bool gardeCopie(const Css &css, const QStringList &documentLines);

// What "Sauvegarder ces réglages" records for the next opening: lines 49 and
// 50 the web view's size as its labels show it; a checked border box its flag
// in line 56 or 57 (an unchecked one leaves its line); line 58 the flag of the
// checked box among syllables in colours, sentences in colours and syllables
// with dashes, the later one in that order winning (none leaves the line).
void recordSettings(Css &css, const QString &largeur, const QString &hauteur, BorderBoxes borders, const AidBoxes &aides);

} // namespace layout
