// One coloured polygon of the kaleidoscope: a shape of the library placed near the
// fundamental triangle, with the curves that move, turn and swell it frame by frame.
// A plain record; the scene spawns and advances it, the renderer draws it.
#pragma once

#include "engine/Curves.h"
#include "patterns/Pattern.h"

#include <cstdint>

namespace lumivane {

struct Piece {
    double x = 0.0; // pivot position relative to the image centre, pixels, y downwards
    double y = 0.0;
    std::int32_t shape = 0; // index into the shape library
    double size = 0.0;      // pixels per vertex unit
    double angle = 0.0;     // radians
    ColourRef colour = 0;
    AnimCurve sizeCurve;  // added to size when drawn
    AnimCurve angleCurve; // turning speed when spinning, else an angle offset
    bool spinning = false;
    bool colourCycling = false; // colour follows hue and saturation every frame
    double hue = 0.0;
    double saturation = 0.0;
    bool border = true;
    MotionCurve motion; // wobble offset added to the position when drawn
};

} // namespace lumivane
