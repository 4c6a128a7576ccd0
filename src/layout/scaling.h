#pragma once

#include <QRect>
#include <QSize>

// The layout screen is designed for a display 1366 pixels across; the
// vertical reference is 1100 pixels. At opening every control is moved and
// resized once by the two factors (AffichRelatif).
namespace layout {

struct Echelle
{
    float coefAffHoriz = 1;
    float coefAffVertic = 1;
};

Echelle echelle(QSize display);

// X by the horizontal factor; Y, and width and height alike, by the vertical
// factor (widths follow the vertical factor on purpose: the controls keep
// their proportions). Rounded to whole pixels.
QRect AffichRelatif(QRect designed, Echelle echelle);

} // namespace layout
