// A test surface surrounded by guard pixels, to prove that drawing never strays outside.
#pragma once

#include "engine/Raster.h"

#include <cstdint>
#include <vector>

namespace lumivane::testing {

class GuardedCanvas {
  public:
    static constexpr int GUARD = 8;
    static constexpr std::uint32_t GUARD_PIXEL = 0xDEADBEEFu;

    GuardedCanvas(int width, int height, std::uint32_t background)
        : width_(width), height_(height), stride_(width + 2 * GUARD),
          memory_(static_cast<std::size_t>(stride_) * (height + 2 * GUARD), GUARD_PIXEL) {
        surface_ = Surface{memory_.data() + GUARD * stride_ + GUARD, width, height, stride_};
        fillRect(surface_, 0, 0, width, height, background);
    }

    Surface& surface() { return surface_; }
    std::uint32_t at(int x, int y) const { return surface_.pixels[y * stride_ + x]; }
    void set(int x, int y, std::uint32_t pixel) { surface_.pixels[y * stride_ + x] = pixel; }

    bool guardsIntact() const {
        for (int row = 0; row < height_ + 2 * GUARD; ++row)
            for (int col = 0; col < stride_; ++col) {
                const bool inside =
                    row >= GUARD && row < GUARD + height_ && col >= GUARD && col < GUARD + width_;
                if (!inside && memory_[row * stride_ + col] != GUARD_PIXEL)
                    return false;
            }
        return true;
    }

    std::vector<std::uint32_t> pixels() const {
        std::vector<std::uint32_t> out;
        for (int y = 0; y < height_; ++y)
            for (int x = 0; x < width_; ++x)
                out.push_back(at(x, y));
        return out;
    }

  private:
    int width_;
    int height_;
    int stride_;
    std::vector<std::uint32_t> memory_;
    Surface surface_{};
};

} // namespace lumivane::testing
