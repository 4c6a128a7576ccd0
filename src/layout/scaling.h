#pragma once

#include <QRect>
#include <QSize>

// The layout screen laid out for the window instead of shrunk as a whole.
// The band of controls under the page (designed from y 752 to 1025) keeps its
// designed heights, and so its text sizes, and stands at the window's foot;
// across, places follow the window's width and sizes never grow. The page
// takes the room above the band, and the height track bar runs beside it. On
// a window too low for the band and a page of PageShare of its height, the
// band's rows come closer, to 70 % at most.
namespace layout {

inline constexpr int BandTop = 752;
inline constexpr int BandBottom = 1025;
inline constexpr double PageShare = 0.58;

struct Agencement
{
    int bandTop = BandTop; // where the band's first row stands in the window
    float across = 1;      // positions across: the window's width / 1366; sizes never grow
    float down = 1;        // the band's rows: 1, or closer on a low window
    int pageBottom = BandTop - 4; // the room the page may take down to
};

Agencement agencement(QSize window);

// A control of the band at its place in the window.
QRect placer(QRect designed, const Agencement &a);
// The height track bar: at its place across, from the top to the page's foot.
QRect placerBarreHauteur(QRect designed, const Agencement &a);

} // namespace layout
