// Drawing one frame of a scene into a 32-bit surface: the background, every
// piece in its 2N mirror images, the screen shape's finishing step and, when
// asked, the edge pass that softens every polygon edge.
#pragma once

#include "engine/IntPoint.h"
#include "engine/Raster.h"

#include <cstdint>

namespace lumivane {

class Scene;
struct Piece;

// Receives every polygon a frame draws, in drawing order, with the surface
// pixels of its brush and pen (used by the benchmark to replay a frame with
// another painter).
class PolygonRecorder {
  public:
    virtual ~PolygonRecorder() = default;
    virtual void polygon(const IntPoint* points, int n, std::uint32_t brush, std::uint32_t pen) = 0;
};

// Draws one frame: background, pieces (each advanced one frame first), then
// corner masks or the Three Mirror tiling. antiAlias turns the edge pass on.
void renderFrame(Scene& scene, Surface& surface, bool antiAlias,
                 PolygonRecorder* recorder = nullptr);

// Draws one piece's mirror images (its curves are not advanced here).
void drawPiece(Scene& scene, Piece& piece, Surface& surface, PolygonRecorder* recorder = nullptr);

// The outline colour of a bordered piece without dark borders: each channel halved.
constexpr ColourRef shadedBorder(ColourRef colour) {
    return (colour >> 1) & 0x7F7F7F;
}

} // namespace lumivane
