#pragma once

#include "stylesheet.h"

#include <QString>

// The typography commands of the layout screen as plain functions of the
// style sheet lines and the counters; the screen calls them, then saves the
// style sheet and refreshes its web view.
namespace layout {

// The numeric settings, mirrored in lines 21, 24, 25 and 29. No bounds: they
// may go below zero.
struct Compteurs
{
    int taille = 0;  // font size in percent, line 21
    int espacel = 0; // line height in pixels, line 24
    int espacem = 0; // word spacing in pixels, line 25
    int EcarLT = 0;  // letter spacing in pixels, line 29
};

enum class Commande {
    PlusTaille,
    MoinsTaille,
    PlusEspaceL,
    MoinsEspaceL,
    PlusEspaceM,
    MoinsEspaceM,
    PlusEcartLettres,
    MoinsEcartLettres,
};

// Changes the counter of the command by its step (10 for the size, 5 for the
// two spacings, 1 for the letters), writes its line and returns the new value.
int appliquer(Commande commande, Css &css, Compteurs &compteurs);

// The exact texts of the lines.
QString fontSizeLine(int taille);       // " font-size: 110%; "
QString lineHeightLine(int espacel);    // " line-height: 50px; "
QString wordSpacingLine(int espacem);   // " word-spacing: 15px; "
QString letterSpacingLine(int EcarLT);  // " letter-spacing: 1px;}"
QString capitalsLine(bool majuscule);   // line 28

enum class Police { Arial, Dysfont, Helvetica };
QString fontFamilyLine(Police police);  // line 7

// Line 27 after a change of the underline box or the overline box.
QString underlineLine(bool souligneChecked);
QString overlineLine(bool surligneChecked);

// The web view's size from a track bar's value (0 to 100) and the display.
// A height above 850 pixels becomes 800.
double viewWidth(int displayWidth, int value);
double viewHeight(int displayHeight, int value);
inline constexpr double HeightLimit = 850;
inline constexpr double HeightAboveLimit = 800;
// The track bar's value that shows a size: size x 100 / display, truncated,
// 100 at most.
int trackValue(double size, int displaySize);
// A size as the labels and lines 49 and 50 hold it: the whole number of
// pixels, the fraction cut off.
QString wholePixels(double size);

} // namespace layout
