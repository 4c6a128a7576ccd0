#pragma once

#include <QList>
#include <QRect>
#include <QSize>
#include <QString>

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

// "Aperçu tablette": the page as a tablet shows it, within the room the
// layout screen has for it.
namespace layout {

struct TabletSize
{
    QString caption; // the menu's entry
    QSize size;      // the tablet's page in pixels
};

// 768 x 1024 and 800 x 1280, each upright and on its side.
const QList<TabletSize> &tabletSizes();

struct Apercu
{
    QSize view;       // the web view on the teacher's screen
    double zoom = 1;  // the page's zoom: the page is laid out for tablet pixels
};

// The tablet's page at the largest zoom (1 at most) that fits the room, so
// that the page is laid out for exactly the tablet's width and height.
Apercu apercuTablette(QSize tablet, QSize room);

} // namespace layout
