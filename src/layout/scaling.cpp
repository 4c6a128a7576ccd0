#include "scaling.h"

#include <cmath>

namespace layout {

Echelle echelle(QSize display)
{
    return {float(display.width()) / 1366.0f, float(display.height()) / 1100.0f};
}

QRect AffichRelatif(QRect designed, Echelle e)
{
    const auto scaled = [](int value, float coef) { return int(std::lround(float(value) * coef)); };
    return QRect(scaled(designed.x(), e.coefAffHoriz), scaled(designed.y(), e.coefAffVertic),
                 scaled(designed.width(), e.coefAffVertic), scaled(designed.height(), e.coefAffVertic));
}

} // namespace layout
