#include "engine/Renderer.h"

#include "engine/AntiAlias.h"
#include "engine/ColourTools.h"
#include "engine/Geometry.h"
#include "engine/Scene.h"
#include "engine/Shapes.h"

#include <algorithm>
#include <cmath>
#include <memory>

namespace lumivane {
namespace {

// Where the polygons of a frame go: straight into the surface, with the edge pass after
// each when asked, and to the recorder if there is one.
class FrameDrawing {
  public:
    FrameDrawing(Surface& surface, bool antiAlias, PolygonRecorder* recorder)
        : surface_(surface), antiAlias_(antiAlias), recorder_(recorder) {}

    void polygon(const IntPoint* points, int n, bool forward, std::uint32_t brush,
                 std::uint32_t pen) {
        if (recorder_)
            recorder_->polygon(points, n, brush, pen);
        drawPolygon(surface_, points, n, brush, pen);
        if (antiAlias_)
            antiAliasPolygon(surface_, points, n, forward);
    }

  private:
    Surface& surface_;
    bool antiAlias_;
    PolygonRecorder* recorder_;
};

// Brush and pen of the polygons being drawn.
struct Paint {
    std::uint32_t brush;
    std::uint32_t pen;
};

ImageGeometry imageGeometry(const Scene& scene) {
    return ImageGeometry{static_cast<ScreenShape>(scene.screenShape),
                         scene.symmetry,
                         scene.orientation,
                         scene.mirrorRadius,
                         scene.sizeFactor,
                         scene.width,
                         scene.height,
                         scene.centreX,
                         scene.centreY};
}

void advanceBackground(Scene& scene) {
    if (scene.backgroundMode != BACKGROUND_CHANGING)
        return;
    scene.backgroundHue = std::fmod(scene.backgroundHue + 1.0, 360.0);
    scene.backgroundColour = ColourTools::hsvToRgb(scene.backgroundHue, scene.backgroundSaturation,
                                                   scene.backgroundValue);
    scene.borderColour = scene.backgroundColour;
}

ColourRef pieceColour(Piece& piece) {
    if (!piece.colourCycling)
        return piece.colour;
    piece.hue = std::fmod(piece.hue + 1.5, 360.0);
    return ColourTools::hsvToRgb(piece.hue, piece.saturation, 100.0);
}

ColourRef outlineColour(const Scene& scene, const Piece& piece, ColourRef fill) {
    if (!piece.border)
        return fill;
    return scene.darkBorders ? scene.borderColour : shadedBorder(fill);
}

// Clips the piece's outline to the fundamental triangle and leaves its polar
// form in the scene's theta/rho buffers. Returns the vertex count.
int clippedPolarOutline(Scene& scene, const Piece& piece) {
    const double scale = piece.size + piece.sizeCurve.value();
    const double angle = piece.angle + (piece.spinning ? 0.0 : piece.angleCurve.value());
    const int n =
        shapePolygon(piece.shape, scale, angle, piece.x + piece.motion.offsetX(),
                     piece.y + piece.motion.offsetY(), scene.workAX.data(), scene.workAY.data());
    if (n == 0)
        return 0;
    const ClipBuffers work{{scene.workBX.data(), scene.workTheta.data()},
                           {scene.workBY.data(), scene.workRho.data()},
                           WORK_POINTS};
    const int m = clipToTriangle(scene.mirrorRadius, scene.symmetry, scene.workAX.data(),
                                 scene.workAY.data(), n, work);
    if (m == 0)
        return 0;
    toPolar(scene.workBX.data(), scene.workBY.data(), m, scene.sizeFactor, scene.workTheta.data(),
            scene.workRho.data());
    return m;
}

void drawCornerMasks(Scene& scene, FrameDrawing& drawing, std::uint32_t background) {
    const ImageGeometry geometry = imageGeometry(scene);
    IntPoint* p = scene.workPoints.data();
    IntPoint* q = scene.workPointsQ.data();
    const int steps = cornerMaskSteps(geometry);
    for (int j = 0; j < steps; ++j) {
        cornerMaskImages(geometry, j, p, q);
        drawing.polygon(p, CORNER_MASK_POINTS, true, background, background);
        drawing.polygon(q, CORNER_MASK_POINTS, true, background, background);
    }
}

void tileThreeMirror(const Scene& scene, Surface& surface) {
    forEachTileCopy(imageGeometry(scene), [&](const BlockCopy& c) {
        copyBlock(surface, c.srcX, c.srcY, c.width, c.height, c.dstX, c.dstY);
    });
}

void drawPieceImages(Scene& scene, Piece& piece, FrameDrawing& drawing) {
    const int m = clippedPolarOutline(scene, piece);
    if (m == 0)
        return;
    const ColourRef fill = pieceColour(piece);
    const Paint paint{colourToPixel(fill), colourToPixel(outlineColour(scene, piece, fill))};
    const ImageGeometry geometry = imageGeometry(scene);
    const double* theta = scene.workTheta.data();
    const double* rho = scene.workRho.data();
    IntPoint* p = scene.workPoints.data();
    IntPoint* q = scene.workPointsQ.data();
    for (int sector = 0; sector < scene.symmetry; ++sector) {
        sectorImages(geometry, sector, theta, rho, m, p, q);
        drawing.polygon(p, m, true, paint.brush, paint.pen);
        drawing.polygon(q, m, false, paint.brush, paint.pen);
        if (sector == 1 && scene.screenShape == SCREEN_THREE_MIRROR) {
            threeMirrorExtraImages(geometry, theta, rho, m, p, q);
            drawing.polygon(p, m, false, paint.brush, paint.pen);
            drawing.polygon(q, m, true, paint.brush, paint.pen);
        }
    }
}

} // namespace

void drawPiece(Scene& scene, Piece& piece, Surface& surface, PolygonRecorder* recorder) {
    FrameDrawing drawing(surface, scene.antiAlias, recorder);
    drawPieceImages(scene, piece, drawing);
}

void renderFrame(Scene& scene, Surface& surface, bool antiAlias, PolygonRecorder* recorder) {
    scene.antiAlias = antiAlias;
    advanceBackground(scene);
    const std::uint32_t background = colourToPixel(scene.backgroundColour);
    fillRect(surface, 0, 0, scene.width, scene.height, background);
    FrameDrawing drawing(surface, antiAlias, recorder);
    const int live = std::clamp(scene.pieceCount, 0, MAX_PIECES);
    for (int i = 0; i < live; ++i) {
        Piece& piece = scene.pieces[static_cast<std::size_t>(i)];
        scene.updatePiece(piece);
        drawPieceImages(scene, piece, drawing);
    }
    if (scene.screenShape == SCREEN_CIRCLE || scene.screenShape == SCREEN_OVAL)
        drawCornerMasks(scene, drawing, background);
    if (scene.screenShape == SCREEN_THREE_MIRROR)
        tileThreeMirror(scene, surface);
}

} // namespace lumivane

namespace lumivane {

void Scene::renderFrame(Surface& surface, bool antiAlias) {
    lumivane::renderFrame(*this, surface, antiAlias);
}

} // namespace lumivane
