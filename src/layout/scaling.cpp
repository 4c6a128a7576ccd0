#include "scaling.h"

#include <algorithm>
#include <cmath>

namespace layout {

namespace {
constexpr int Gap = 4;
}

Agencement agencement(QSize window)
{
    Agencement a;
    const int band = BandBottom - BandTop;
    a.across = float(window.width()) / 1366.0f;
    const double room = window.height() - 2 * Gap - PageShare * window.height();
    a.down = float(std::clamp(room / band, 0.7, 1.0));
    a.bandTop = window.height() - Gap - int(std::lround(band * a.down));
    a.pageBottom = a.bandTop - Gap;
    return a;
}

QRect placer(QRect designed, const Agencement &a)
{
    const auto by = [](int value, float coef) { return int(std::lround(float(value) * coef)); };
    const int y = a.bandTop + by(designed.y() - BandTop, a.down);
    return QRect(by(designed.x(), a.across), y, by(designed.width(), std::min(1.0f, a.across)),
                 std::max(1, by(designed.height(), a.down)));
}

QRect placerBarreHauteur(QRect designed, const Agencement &a)
{
    const int x = int(std::lround(float(designed.x()) * a.across));
    return QRect(x, Gap, designed.width(), std::max(1, a.pageBottom - Gap));
}

} // namespace layout

namespace layout {

using namespace Qt::StringLiterals;

const QList<TabletSize> &tabletSizes()
{
    static const QList<TabletSize> sizes = {
        {u"Tablette 768 × 1024, en hauteur"_s, {768, 1024}},
        {u"Tablette 1024 × 768, en largeur"_s, {1024, 768}},
        {u"Tablette 800 × 1280, en hauteur"_s, {800, 1280}},
        {u"Tablette 1280 × 800, en largeur"_s, {1280, 800}},
    };
    return sizes;
}

Apercu apercuTablette(QSize tablet, QSize room)
{
    Apercu a;
    if (tablet.isEmpty() || room.isEmpty())
        return a;
    a.zoom = std::min({1.0, double(room.width()) / tablet.width(), double(room.height()) / tablet.height()});
    // Cut down, never up: the view stays within the room; the zoom then
    // makes the page exactly as wide as the tablet's.
    a.view = QSize(int(tablet.width() * a.zoom), int(tablet.height() * a.zoom));
    a.zoom = double(a.view.width()) / tablet.width();
    return a;
}

} // namespace layout
