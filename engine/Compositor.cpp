#include "engine/Compositor.h"

#include "engine/CoverMask.h"

#include <algorithm>

namespace lumivane {

FrameCompositor::FrameCompositor()
    : polygons_(new Polygon[MAX_POLYGONS]), points_(new IntPoint[MAX_POINTS]) {}

FrameCompositor::~FrameCompositor() = default;

void FrameCompositor::setSize(int width, int height) {
    usable_ = width > 0 && height > 0 && width <= MAX_SIDE && height <= MAX_SIDE &&
              std::int64_t{width} * height <= MAX_AREA;
    if (!usable_) {
        width_ = height_ = wordsPerRow_ = 0;
        cover_ = {};
        leftOut_ = {};
        anyLeftOut_ = false;
        return;
    }
    if (width == width_ && height == height_)
        return;
    width_ = width;
    height_ = height;
    wordsPerRow_ = CoverMask::wordsFor(width);
    cover_.assign(static_cast<std::size_t>(wordsPerRow_) * height, 0);
    leftOut_.assign(cover_.size(), 0);
    anyLeftOut_ = false;
}

bool FrameCompositor::fits(const Surface& surface) const {
    return usable_ && surface.isDrawable() && surface.width == width_ && surface.height == height_;
}

void FrameCompositor::clear() {
    polygonCount_ = 0;
    pointCount_ = 0;
    if (anyLeftOut_) {
        std::fill(leftOut_.begin(), leftOut_.end(), 0);
        anyLeftOut_ = false;
    }
}

bool FrameCompositor::add(const IntPoint* points, int n, std::uint32_t brush, std::uint32_t pen) {
    if (points == nullptr || n < 2 || n > MAX_POLYGON_POINTS)
        return true; // drawPolygon draws nothing for these
    if (polygonCount_ == MAX_POLYGONS || pointCount_ + n > MAX_POINTS)
        return false;
    polygons_[polygonCount_++] = Polygon{pointCount_, n, brush, pen};
    std::copy(points, points + n, points_.get() + pointCount_);
    pointCount_ += n;
    return true;
}

void FrameCompositor::setRectBits(std::int64_t left, std::int64_t top, std::int64_t width,
                                  std::int64_t height, bool leftOut) {
    if (!usable_)
        return;
    const std::int64_t x0 = std::max<std::int64_t>(left, 0);
    const std::int64_t x1 = std::min<std::int64_t>(left + width, width_);
    const std::int64_t y0 = std::max<std::int64_t>(top, 0);
    const std::int64_t y1 = std::min<std::int64_t>(top + height, height_);
    if (x0 >= x1 || y0 >= y1)
        return;
    const std::int64_t firstWord = x0 >> 6;
    const std::int64_t lastWord = (x1 - 1) >> 6;
    for (std::int64_t y = y0; y < y1; ++y) {
        std::uint64_t* row = leftOut_.data() + y * wordsPerRow_;
        for (std::int64_t w = firstWord; w <= lastWord; ++w) {
            std::uint64_t mask = MASK_ALL_BITS;
            if (w == firstWord)
                mask &= MASK_ALL_BITS << (x0 & 63);
            if (w == lastWord)
                mask &= MASK_ALL_BITS >> (63 - ((x1 - 1) & 63));
            row[w] = leftOut ? row[w] | mask : row[w] & ~mask;
        }
    }
    if (leftOut)
        anyLeftOut_ = true;
}

void FrameCompositor::leaveRect(std::int64_t left, std::int64_t top, std::int64_t width,
                                std::int64_t height) {
    setRectBits(left, top, width, height, true);
}

void FrameCompositor::keepRect(std::int64_t left, std::int64_t top, std::int64_t width,
                               std::int64_t height) {
    setRectBits(left, top, width, height, false);
}

void FrameCompositor::resolve(Surface& surface, std::uint32_t background) {
    if (!fits(surface)) {
        drawInOrder(surface, background);
        return;
    }
    if (anyLeftOut_)
        std::copy(leftOut_.begin(), leftOut_.end(), cover_.begin());
    else
        std::fill(cover_.begin(), cover_.end(), 0);
    CoverMask mask{cover_.data(), wordsPerRow_};
    for (int i = polygonCount_ - 1; i >= 0; --i) {
        const Polygon& polygon = polygons_[i];
        drawPolygonBeneath(surface, mask, points_.get() + polygon.first, polygon.count,
                           polygon.brush, polygon.pen);
    }
    fillOpen(surface, mask, background);
}

void FrameCompositor::drawInOrder(Surface& surface, std::uint32_t background) const {
    fillRect(surface, 0, 0, surface.width, surface.height, background);
    for (int i = 0; i < polygonCount_; ++i) {
        const Polygon& polygon = polygons_[i];
        drawPolygon(surface, points_.get() + polygon.first, polygon.count, polygon.brush,
                    polygon.pen);
    }
}

} // namespace lumivane
