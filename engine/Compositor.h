// Drawing a frame's polygons so that every pixel is written once. The polygons of a frame
// are collected in drawing order and then drawn from the topmost down, each beneath the
// pixels already taken (its outline before its fill, as the outline lies over the fill), and
// the background goes last, only where no polygon reaches. The image is the one that filling
// the background and then drawing every polygon in turn with drawPolygon gives, pixel for
// pixel; only the writes that later ones would cover are left out.
//
// All memory is taken when the compositor is made and when the frame size changes; a frame
// with more polygons or points than it holds is drawn the ordinary way instead.
#pragma once

#include "engine/IntPoint.h"
#include "engine/PolygonScan.h"
#include "engine/Raster.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace lumivane {

class FrameCompositor {
  public:
    static constexpr int MAX_POLYGONS = 1 << 13;
    static constexpr int MAX_POINTS = 1 << 16;
    // Larger frames are drawn the ordinary way (the masks would be large).
    static constexpr int MAX_SIDE = 1 << 14;
    static constexpr std::int64_t MAX_AREA = std::int64_t{1} << 26;

    FrameCompositor();
    ~FrameCompositor();
    FrameCompositor(const FrameCompositor&) = delete;
    FrameCompositor& operator=(const FrameCompositor&) = delete;

    // The size of the frames to come. Sizes it cannot take leave it unusable until the next
    // call; fits() then says no.
    void setSize(int width, int height);
    // Whether frames for this surface can be resolved here.
    bool fits(const Surface& surface) const;

    // Starts a frame: no polygons, no pixels left out.
    void clear();
    // Appends a polygon (drawn like drawPolygon with this brush and pen). False when it does
    // not fit, in which case nothing is appended.
    bool add(const IntPoint* points, int n, std::uint32_t brush, std::uint32_t pen);
    int polygonCount() const { return polygonCount_; }

    // Pixels that something else writes after the frame is resolved (a block copy, say):
    // resolve() leaves them as they are. A later keepRect() takes pixels back, such as the
    // source of those copies.
    void leaveRect(std::int64_t left, std::int64_t top, std::int64_t width, std::int64_t height);
    void keepRect(std::int64_t left, std::int64_t top, std::int64_t width, std::int64_t height);

    // Writes the frame: the background and the polygons, every pixel once.
    void resolve(Surface& surface, std::uint32_t background);
    // The same image the ordinary way: the background, then every polygon in order. Pixels
    // given to leaveRect() are drawn as well.
    void drawInOrder(Surface& surface, std::uint32_t background) const;

  private:
    struct Polygon {
        std::int32_t first;
        std::int32_t count;
        std::uint32_t brush;
        std::uint32_t pen;
    };

    void setRectBits(std::int64_t left, std::int64_t top, std::int64_t width, std::int64_t height,
                     bool leftOut);

    int width_ = 0;
    int height_ = 0;
    int wordsPerRow_ = 0;
    bool usable_ = false;

    int polygonCount_ = 0;
    int pointCount_ = 0;
    bool anyLeftOut_ = false;

    std::unique_ptr<Polygon[]> polygons_;
    std::unique_ptr<IntPoint[]> points_;
    // Sized with the frame: the pixels taken so far, and those left out from the start.
    std::vector<std::uint64_t> cover_;
    std::vector<std::uint64_t> leftOut_;
};

} // namespace lumivane
