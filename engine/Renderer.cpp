#include "engine/Renderer.h"

#include "engine/AntiAlias.h"
#include "engine/ColourTools.h"
#include "engine/Shapes.h"

#include <cmath>

namespace lumivane {
namespace {

// The colour a piece is drawn in this frame; a colour-cycling piece moves its hue on.
ColourRef pieceColour(Piece& piece) {
    if (!piece.colourCycling)
        return piece.colour;
    piece.hue = std::fmod(piece.hue + 1.5, 360.0);
    return ColourTools::hsvToRgb(piece.hue, piece.saturation, 100.0);
}

ColourRef outlineColour(const BorderStyle& borders, const Piece& piece, ColourRef fill) {
    if (!piece.border)
        return fill;
    return borders.dark ? borders.darkColour : shadedBorder(fill);
}

} // namespace

FrameRenderer::FrameRenderer(const ImageGeometry& geometry, RenderBuffers& work, Surface& surface,
                             bool antiAlias, PolygonRecorder* recorder)
    : geometry_(geometry), work_(work), surface_(surface), antiAlias_(antiAlias),
      recorder_(recorder) {}

void FrameRenderer::fillBackground(ColourRef background) {
    fillRect(surface_, 0, 0, geometry_.width, geometry_.height, colourToPixel(background));
}

// Every polygon goes straight into the surface, with the edge pass after it when asked,
// and to the recorder if there is one.
void FrameRenderer::polygon(const IntPoint* points, int n, bool forward, std::uint32_t brush,
                            std::uint32_t pen) {
    if (recorder_)
        recorder_->polygon(points, n, brush, pen);
    drawPolygon(surface_, points, n, brush, pen);
    if (antiAlias_)
        antiAliasPolygon(surface_, points, n, forward);
}

// Clips the piece's outline to the fundamental triangle and leaves its polar form in
// theta/rho. Returns the vertex count.
int FrameRenderer::clippedPolarOutline(const Piece& piece) {
    const double scale = piece.size + piece.sizeCurve.value();
    const double angle = piece.angle + (piece.spinning ? 0.0 : piece.angleCurve.value());
    const int n =
        shapePolygon(piece.shape, scale, angle, piece.x + piece.motion.offsetX(),
                     piece.y + piece.motion.offsetY(), work_.shapeX.data(), work_.shapeY.data());
    if (n == 0)
        return 0;
    const ClipBuffers clip{{work_.clipX.data(), work_.theta.data()},
                           {work_.clipY.data(), work_.rho.data()},
                           WORK_POINTS};
    const int m = clipToTriangle(geometry_.radius, geometry_.symmetry, work_.shapeX.data(),
                                 work_.shapeY.data(), n, clip);
    if (m == 0)
        return 0;
    toPolar(work_.clipX.data(), work_.clipY.data(), m, geometry_.sizeFactor, work_.theta.data(),
            work_.rho.data());
    return m;
}

void FrameRenderer::drawPiece(Piece& piece, const BorderStyle& borders) {
    const int m = clippedPolarOutline(piece);
    if (m == 0)
        return;
    const ColourRef fill = pieceColour(piece);
    const std::uint32_t brush = colourToPixel(fill);
    const std::uint32_t pen = colourToPixel(outlineColour(borders, piece, fill));
    const double* theta = work_.theta.data();
    const double* rho = work_.rho.data();
    IntPoint* p = work_.p.data();
    IntPoint* q = work_.q.data();
    for (int sector = 0; sector < geometry_.symmetry; ++sector) {
        sectorImages(geometry_, sector, theta, rho, m, p, q);
        polygon(p, m, true, brush, pen);
        polygon(q, m, false, brush, pen);
        if (sector == 1 && geometry_.shape == SCREEN_THREE_MIRROR) {
            threeMirrorExtraImages(geometry_, theta, rho, m, p, q);
            polygon(p, m, false, brush, pen);
            polygon(q, m, true, brush, pen);
        }
    }
}

void FrameRenderer::drawCornerMasks(std::uint32_t background) {
    IntPoint* p = work_.p.data();
    IntPoint* q = work_.q.data();
    const int steps = cornerMaskSteps(geometry_);
    for (int j = 0; j < steps; ++j) {
        cornerMaskImages(geometry_, j, p, q);
        polygon(p, CORNER_MASK_POINTS, true, background, background);
        polygon(q, CORNER_MASK_POINTS, true, background, background);
    }
}

void FrameRenderer::tileThreeMirror() {
    forEachTileCopy(geometry_, [&](const BlockCopy& c) {
        copyBlock(surface_, c.srcX, c.srcY, c.width, c.height, c.dstX, c.dstY);
    });
}

void FrameRenderer::finishShape(ColourRef background) {
    if (geometry_.shape == SCREEN_CIRCLE || geometry_.shape == SCREEN_OVAL)
        drawCornerMasks(colourToPixel(background));
    else if (geometry_.shape == SCREEN_THREE_MIRROR)
        tileThreeMirror();
}

} // namespace lumivane
