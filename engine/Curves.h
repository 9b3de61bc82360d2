// Frame-driven curves that animate a piece: a counter advanced once per drawn
// frame and a formula that turns the counter into a value. AnimCurve drives
// size and angle (constant or triangular pulse); MotionCurve adds the
// elliptical wobble offset.
#pragma once

#include <cstdint>

namespace lumivane {

enum CurveMode : std::int32_t {
    CURVE_CONSTANT = 0,
    CURVE_PULSE = 1,
    CURVE_OSCILLATION = 2,
};

class AnimCurve {
  public:
    AnimCurve() = default;
    AnimCurve(const AnimCurve&) = default;
    AnimCurve& operator=(const AnimCurve&) = default;
    virtual ~AnimCurve() = default;

    void setConstant(double v);
    // A pulse that rises from base to peak over halfWidth steps and falls back
    // over as many, once per period. Period below 1 becomes 1, negative phase
    // or halfWidth become 0.
    void setPulse(std::int32_t period, std::int32_t phase, std::int32_t halfWidth, double base,
                  double peak);
    // One frame step; wraps to 0 at the end of the period. Constant curves stay put.
    void advance();
    double value() const;

    std::int32_t mode() const { return mode_; }
    std::int32_t step() const { return step_; }
    std::int32_t period() const { return period_; }
    std::int32_t halfWidth() const { return halfWidth_; }
    double base() const { return base_; }
    double peak() const { return peak_; }

  protected:
    void setCycle(std::int32_t period, std::int32_t phase);

    std::int32_t step_ = 0;
    std::int32_t period_ = 1;
    std::int32_t mode_ = CURVE_CONSTANT;
    double base_ = 0.0;
    double peak_ = 0.0; // pulse: top value; oscillation: amplitude
    std::int32_t halfWidth_ = 0;
};

class MotionCurve : public AnimCurve {
  public:
    // An elliptical path of the given amplitude run once per period. shape 0
    // gives a line along the diagonal x = y, shape 1 a circle; start is the
    // fraction of the path where the motion begins. Both are clamped to 0..1
    // through their phases.
    void setOscillation(std::int32_t period, std::int32_t phase, double amplitude, double shape,
                        double start);
    // Oscillation with phase, shape and start drawn from the shared random source.
    void setRandomOscillation(std::int32_t period, double amplitude);

    double offsetX() const;
    double offsetY() const;

    double ellipsePhase() const { return ellipsePhase_; }
    double startPhase() const { return startPhase_; }

  private:
    double pathAngle() const;

    double ellipsePhase_ = 0.0;
    double startPhase_ = 0.0;
};

} // namespace lumivane
