// The random pattern generator: new random designs drawn from the shared random source
// (engine/Random.h), for the "Randomise" button and the views that generate a pattern at
// every reset. Callers reach it through ColourTools (engine/ColourTools.h).
#pragma once

#include "patterns/Pattern.h"

namespace lumivane {

// Fills the layers, amounts, background colour and symmetry of the pattern with a new
// random design; every other field is left as it was.
void generatePattern(Pattern& pattern);

// What a layer's draw does beyond drawing each slot's settings. The generator
// does both; the layer editor's own Randomise keeps every ratio and size as
// drawn. Either way the same quantities are drawn in the same order, plus one
// draw for each step taken.
struct LayerDrawRules {
    // Half of the layers use only their first two slots (the third's ratio 0).
    bool mayDropThirdSlot = true;
    // Half of the sizes are halved, which favours larger pieces.
    bool favourLargerPieces = true;
};

// Fills all three slots of the layer with random settings.
void generateLayer(Layer& layer, LayerDrawRules rules = {});

} // namespace lumivane
