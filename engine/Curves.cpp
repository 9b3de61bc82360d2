#include "engine/Curves.h"

#include "engine/Random.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>

namespace lumivane {

void AnimCurve::setConstant(double v) {
    base_ = v;
    mode_ = CURVE_CONSTANT;
}

void AnimCurve::setCycle(std::int32_t period, std::int32_t phase) {
    period_ = std::max<std::int32_t>(period, 1);
    step_ = std::max<std::int32_t>(phase, 0);
}

void AnimCurve::setPulse(std::int32_t period, std::int32_t phase, std::int32_t halfWidth,
                         double base, double peak) {
    mode_ = CURVE_PULSE;
    setCycle(period, phase);
    halfWidth_ = std::max<std::int32_t>(halfWidth, 0);
    base_ = base;
    peak_ = peak;
}

void AnimCurve::advance() {
    if (mode_ == CURVE_CONSTANT) {
        return;
    }
    // Compared before adding so that a phase set beyond the period cannot overflow.
    step_ = step_ >= period_ - 1 ? 0 : step_ + 1;
}

double AnimCurve::value() const {
    if (mode_ == CURVE_CONSTANT) {
        return base_;
    }
    if (mode_ != CURVE_PULSE) {
        return 0.0;
    }
    const std::int64_t n = step_;
    const std::int64_t h = halfWidth_;
    if (n > 2 * h) {
        return base_;
    }
    if (n == h) {
        return peak_; // also the h == 0 case, so the division below never sees 0
    }
    return peak_ +
           static_cast<double>(std::llabs(n - h)) * (base_ - peak_) / static_cast<double>(h);
}

void MotionCurve::setOscillation(std::int32_t period, std::int32_t phase, double amplitude,
                                 double shape, double start) {
    constexpr double pi = std::numbers::pi;
    mode_ = CURVE_OSCILLATION;
    setCycle(period, phase);
    peak_ = amplitude;
    ellipsePhase_ = std::clamp((1.0 - shape) * pi / 2.0, 0.0, pi / 2.0);
    startPhase_ = std::clamp(start * 2.0 * pi, 0.0, 2.0 * pi);
}

void MotionCurve::setRandomOscillation(std::int32_t period, double amplitude) {
    const std::int32_t divisor = std::max<std::int32_t>(period, 1);
    const std::int32_t phase = drawMod(divisor);
    const double shape = draw() / static_cast<double>(RANDOM_MAX);
    const double start = draw() / static_cast<double>(RANDOM_MAX);
    setOscillation(divisor, phase, amplitude, shape, start);
}

double MotionCurve::pathAngle() const {
    return 2.0 * std::numbers::pi * step_ / period_ + startPhase_;
}

double MotionCurve::offsetX() const {
    if (mode_ == CURVE_CONSTANT) {
        return base_;
    }
    return peak_ * std::cos(pathAngle() + ellipsePhase_ - std::numbers::pi / 4.0);
}

double MotionCurve::offsetY() const {
    if (mode_ == CURVE_CONSTANT) {
        return base_;
    }
    return peak_ * std::cos(pathAngle() + std::numbers::pi / 4.0);
}

} // namespace lumivane
