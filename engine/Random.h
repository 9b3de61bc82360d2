// The shared random source: a linear congruential generator whose draws are
// uniform integers 0..32767. One process-wide instance is used by the whole
// program so that a seeded run reproduces exactly.
#pragma once

#include <cstdint>

namespace lumivane {

constexpr int RANDOM_MAX = 32767;
constexpr int COIN_THRESHOLD = 16383;

class RandomSource {
  public:
    void seed(std::uint32_t value) { state_ = value; }
    std::uint32_t state() const { return state_; }

    int draw() {
        state_ = state_ * 214013u + 2531011u;
        return static_cast<int>((state_ >> 16) & 0x7FFF);
    }
    // One draw reduced modulo k (k must be at least 1).
    int drawMod(int k) { return draw() % k; }
    // True for draws below 16383: about half of the time.
    bool coinFlipLow() { return draw() < COIN_THRESHOLD; }

  private:
    std::uint32_t state_ = 1;
};

// The process-wide instance.
RandomSource& sharedRandom();

// Shorthands for the shared source: one draw, one draw modulo k, and a coin flip (true for
// a draw below 16383).
inline int draw() {
    return sharedRandom().draw();
}
inline int drawMod(int k) {
    return sharedRandom().drawMod(k);
}
inline bool coinFlip() {
    return sharedRandom().coinFlipLow();
}

} // namespace lumivane
