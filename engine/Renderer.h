// Drawing one frame into a 32-bit surface: the background, every piece in its 2N mirror
// images, the screen shape's finishing step and, when asked, the edge pass that softens
// every polygon edge. The scene runs each frame through a FrameRenderer (Scene::renderFrame),
// handing it the image geometry and its work buffers; the renderer keeps nothing between
// frames and allocates nothing.
#pragma once

#include "engine/Geometry.h"
#include "engine/IntPoint.h"
#include "engine/Piece.h"
#include "engine/Raster.h"

#include <array>
#include <cstdint>

namespace lumivane {

// Receives every polygon a frame draws, in drawing order, with the surface
// pixels of its brush and pen (used by the benchmark to replay a frame with
// another painter).
class PolygonRecorder {
  public:
    virtual ~PolygonRecorder() = default;
    virtual void polygon(const IntPoint* points, int n, std::uint32_t brush, std::uint32_t pen) = 0;
};

// Work buffers for clipping a piece and converting it to screen points.
struct RenderBuffers {
    std::array<double, WORK_POINTS> shapeX{}; // the piece's outline
    std::array<double, WORK_POINTS> shapeY{};
    std::array<double, WORK_POINTS> clipX{}; // the outline clipped to the fundamental triangle
    std::array<double, WORK_POINTS> clipY{};
    std::array<double, WORK_POINTS> theta{}; // its polar form (clipping scratch before that)
    std::array<double, WORK_POINTS> rho{};
    std::array<IntPoint, WORK_POINTS> p{}; // the rotated images
    std::array<IntPoint, WORK_POINTS> q{}; // the mirrored images
};

// How bordered pieces are outlined: in darkColour (the painted background) with dark
// borders, else in their own colour shaded.
struct BorderStyle {
    bool dark;
    ColourRef darkColour;
};

// One frame being drawn: fillBackground, then drawPiece for every piece in drawing order,
// then finishShape.
class FrameRenderer {
  public:
    FrameRenderer(const ImageGeometry& geometry, RenderBuffers& work, Surface& surface,
                  bool antiAlias, PolygonRecorder* recorder = nullptr);

    // Fills the drawing area with the background.
    void fillBackground(ColourRef background);
    // Clips the piece to the fundamental triangle and draws its images (two more for Three
    // Mirror). A colour-cycling piece moves its hue on only when something of it is drawn.
    void drawPiece(Piece& piece, const BorderStyle& borders);
    // Circle and Oval: the corner masks in the background colour; Three Mirror: the tiling.
    void finishShape(ColourRef background);

  private:
    int clippedPolarOutline(const Piece& piece);
    void polygon(const IntPoint* points, int n, bool forward, std::uint32_t brush,
                 std::uint32_t pen);
    void drawCornerMasks(std::uint32_t background);
    void tileThreeMirror();

    const ImageGeometry& geometry_;
    RenderBuffers& work_;
    Surface& surface_;
    bool antiAlias_;
    PolygonRecorder* recorder_;
};

// The outline colour of a bordered piece without dark borders: each channel halved.
constexpr ColourRef shadedBorder(ColourRef colour) {
    return (colour >> 1) & 0x7F7F7F;
}

} // namespace lumivane
