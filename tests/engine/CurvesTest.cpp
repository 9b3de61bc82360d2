#include "engine/Curves.h"
#include "engine/Random.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <numbers>

using namespace lumivane;

namespace {
constexpr double PI = std::numbers::pi;

void advanceTo(AnimCurve& curve, int step) {
    while (curve.step() != step) {
        curve.advance();
    }
}
} // namespace

TEST(AnimCurve, DegeneratePulseIsConstantPeak) {
    AnimCurve curve;
    curve.setPulse(0, -5, -1, 2.0, 7.0);
    EXPECT_EQ(curve.period(), 1);
    EXPECT_EQ(curve.step(), 0);
    EXPECT_EQ(curve.halfWidth(), 0);
    for (int frame = 0; frame < 5; ++frame) {
        EXPECT_EQ(curve.value(), 7.0);
        curve.advance();
    }
}

TEST(AnimCurve, TriangularPulseValues) {
    AnimCurve curve;
    curve.setPulse(100, 0, 10, 0.0, 5.0);
    const struct {
        int step;
        double value;
    } rows[] = {{0, 0.0}, {5, 2.5}, {10, 5.0}, {15, 2.5}, {20, 0.0}, {21, 0.0}, {99, 0.0}};
    for (const auto& row : rows) {
        advanceTo(curve, row.step);
        EXPECT_DOUBLE_EQ(curve.value(), row.value) << "step " << row.step;
    }
    curve.advance();
    EXPECT_EQ(curve.step(), 0);
}

TEST(AnimCurve, ShortPeriodCutsThePulseOff) {
    AnimCurve curve;
    curve.setPulse(12, 11, 10, 1.0, 3.0);
    EXPECT_DOUBLE_EQ(curve.value(), 2.8); // on the way down
    curve.advance();
    EXPECT_DOUBLE_EQ(curve.value(), 1.0); // wrapped: back at base
}

TEST(AnimCurve, PhaseBeyondPeriodWrapsWithoutOverflow) {
    AnimCurve curve;
    curve.setPulse(10, INT_MAX, INT_MAX, 0.0, 1.0);
    EXPECT_EQ(curve.value(), 1.0);
    curve.advance();
    EXPECT_EQ(curve.step(), 0);
}

TEST(AnimCurve, ConstantModeIgnoresAdvance) {
    AnimCurve curve;
    EXPECT_EQ(curve.value(), 0.0);
    curve.setPulse(10, 3, 2, 0.0, 1.0);
    curve.setConstant(4.5);
    curve.advance();
    EXPECT_EQ(curve.step(), 3);
    EXPECT_EQ(curve.value(), 4.5);
    MotionCurve motion;
    motion.setConstant(3.0);
    EXPECT_EQ(motion.offsetX(), 3.0);
    EXPECT_EQ(motion.offsetY(), 3.0);
}

TEST(MotionCurve, OscillationShapes) {
    const int period = 40;
    MotionCurve line;
    line.setOscillation(period, 0, 10.0, 0.0, 0.0);
    MotionCurve circle;
    circle.setOscillation(period, 0, 10.0, 1.0, 0.0);
    for (int n = 0; n < period; ++n) {
        const double t = 2 * PI * n / period;
        EXPECT_NEAR(line.offsetX(), 10 * std::cos(t + PI / 4), 1e-12);
        EXPECT_NEAR(line.offsetY(), 10 * std::cos(t + PI / 4), 1e-12);
        EXPECT_NEAR(circle.offsetX(), 10 * std::cos(t - PI / 4), 1e-12);
        EXPECT_NEAR(std::hypot(circle.offsetX(), circle.offsetY()), 10.0, 1e-12);
        EXPECT_EQ(circle.value(), 0.0);
        line.advance();
        circle.advance();
    }
    EXPECT_EQ(line.step(), 0);
}

TEST(MotionCurve, PhasesAreClamped) {
    MotionCurve curve;
    curve.setOscillation(0, -1, 1.0, -1.0, 2.0);
    EXPECT_DOUBLE_EQ(curve.ellipsePhase(), PI / 2);
    EXPECT_DOUBLE_EQ(curve.startPhase(), 2 * PI);
    EXPECT_EQ(curve.period(), 1);
    curve.setOscillation(5, 0, 1.0, 3.0, -1.0);
    EXPECT_EQ(curve.ellipsePhase(), 0.0);
    EXPECT_EQ(curve.startPhase(), 0.0);
}

TEST(MotionCurve, RandomOscillationDrawsPhaseShapeStart) {
    RandomSource expected;
    expected.seed(77);
    const int phase = expected.draw() % 50;
    const double shape = expected.draw() / 32767.0;
    const double start = expected.draw() / 32767.0;

    sharedRandom().seed(77);
    MotionCurve curve;
    curve.setRandomOscillation(50, 2.0);
    EXPECT_EQ(curve.mode(), CURVE_OSCILLATION);
    EXPECT_EQ(curve.step(), phase);
    EXPECT_DOUBLE_EQ(curve.ellipsePhase(), (1 - shape) * PI / 2);
    EXPECT_DOUBLE_EQ(curve.startPhase(), start * 2 * PI);
    EXPECT_EQ(sharedRandom().state(), expected.state());

    for (int period : {0, -7}) {
        curve.setRandomOscillation(period, 1.0); // must not divide by zero
        EXPECT_EQ(curve.period(), 1);
        EXPECT_EQ(curve.step(), 0);
    }
}
