#pragma once

#include "outils.h"

namespace dessins {

// The background tile of the "Bord multicolor" border cells: 30 x 60, repeats
// seamlessly from top to bottom.
Picture fond();

// The step bar of the wizard for steps 1, 2 and 3: etapes1.png .. etapes3.png.
std::vector<Picture> etapes();

// The teacher's badge: a green round badge with an open book and a pointing
// hand, transparent around the circle.
Picture badge();

} // namespace dessins
