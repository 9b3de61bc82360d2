// The random pattern generator: new random designs drawn from the shared random source
// (engine/Random.h), for the "Randomise" button and the views that generate a pattern at
// every reset. Callers reach it through ColourTools (engine/ColourTools.h).
#pragma once

#include "patterns/Pattern.h"

namespace lumivane {

// Fills the layers, amounts, background colour and symmetry of the pattern with a new
// random design; every other field is left as it was.
void generatePattern(Pattern& pattern);
// Fills all three slots of the layer with random settings.
void generateLayer(Layer& layer);

} // namespace lumivane
