#pragma once

#include "outils.h"

namespace dessins {

// The logo pictures of the reading texts: 240 x 240, one recognisable drawing
// each on a light background, named after the French word.
std::vector<Picture> cartes();

} // namespace dessins
