#include "engine/Geometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>
#include <vector>

using namespace lumivane;

namespace {

constexpr double PI = std::numbers::pi;

struct Poly {
    std::vector<double> x, y;
};

Poly clip(const Poly& in, const HalfPlane& plane, int capacity = WORK_POINTS) {
    Poly out{std::vector<double>(WORK_POINTS), std::vector<double>(WORK_POINTS)};
    const int n = clipHalfPlane(in.x.data(), in.y.data(), static_cast<int>(in.x.size()), plane,
                                out.x.data(), out.y.data(), capacity);
    out.x.resize(n);
    out.y.resize(n);
    return out;
}

const Poly UNIT_SQUARE{{-1, 1, 1, -1}, {-1, -1, 1, 1}};

ImageGeometry circleGeometry(int symmetry, int w = 640, int h = 480) {
    return ImageGeometry{SCREEN_CIRCLE, symmetry, -PI / 2, 0.48 * std::min(w, h), 1.0, w, h,
                         w / 2,         h / 2};
}

} // namespace

TEST(ClipHalfPlane, KeepsInsideDropsOutsideAndCutsStraddlers) {
    const HalfPlane keepBelowY3{0.0, 3.0, true};   // outside when y > 3
    const HalfPlane keepAboveY5{0.0, -5.0, false}; // outside when y < -5
    EXPECT_EQ(clip(UNIT_SQUARE, keepBelowY3).x, UNIT_SQUARE.x);
    EXPECT_EQ(clip(UNIT_SQUARE, {0.0, -3.0, true}).x.size(), 0u);
    EXPECT_EQ(clip(UNIT_SQUARE, keepAboveY5).y, UNIT_SQUARE.y);

    // y >= 0: the walk starts after the first outside vertex and enters through the right side.
    const Poly upper = clip(UNIT_SQUARE, {0.0, 0.0, false});
    EXPECT_EQ(upper.x, (std::vector<double>{1, 1, -1, -1}));
    EXPECT_EQ(upper.y, (std::vector<double>{0, 1, 1, 0}));

    // Cut along y = x + 0.5: the walk starts at vertex 0 and enters through the left side.
    const Poly diagonal = clip(UNIT_SQUARE, {1.0, 0.5, true});
    EXPECT_EQ(diagonal.x, (std::vector<double>{-1, -1, 1, 1, 0.5}));
    EXPECT_EQ(diagonal.y, (std::vector<double>{-0.5, -1, -1, 1, 1}));
}

TEST(ClipHalfPlane, TwoRunsAndCapacityGuard) {
    // A "U" shape crossing y = 0 twice gives two runs: 4 inside + 2 x 2 cut points.
    const Poly u{{0, 3, 3, 2, 2, 1, 1, 0}, {0, 0, -3, -3, -1, -1, -3, -3}};
    const HalfPlane keepBelow{0.0, -2.0, false};
    EXPECT_EQ(clip(u, keepBelow).x.size(), 8u);
    // The same result does not fit in 7 points: nothing is written past the capacity.
    std::vector<double> xs(9, 42.0), ys(9, 42.0);
    EXPECT_EQ(clipHalfPlane(u.x.data(), u.y.data(), 8, keepBelow, xs.data(), ys.data(), 7), 0);
    EXPECT_EQ(xs[7], 42.0);
    EXPECT_EQ(ys[8], 42.0);
}

TEST(ClipToTriangle, RandomPolygonsStayInsideTheTriangleAndTheBuffers) {
    std::mt19937 rng(12345);
    constexpr int CAP = WORK_POINTS;
    std::vector<double> bufs[4];
    for (auto& b : bufs)
        b.assign(CAP + 4, 0.0);
    const ClipBuffers work{{bufs[0].data(), bufs[1].data()}, {bufs[2].data(), bufs[3].data()}, CAP};
    for (int trial = 0; trial < 3000; ++trial) {
        const int symmetry = 3 + trial % 18;
        const double r = 230.4;
        std::uniform_real_distribution<double> coord(-1.2 * r, 1.2 * r);
        const int n = 3 + static_cast<int>(rng() % 38);
        std::vector<double> xs(n), ys(n);
        for (int i = 0; i < n; ++i) {
            xs[i] = coord(rng);
            ys[i] = coord(rng);
        }
        const int count = clipToTriangle(r, symmetry, xs.data(), ys.data(), n, work);
        ASSERT_LE(count, n * 27 / 8 + 1); // 40 -> at most 135 after three clips
        const double tanHalf = std::tan(PI / symmetry);
        const double t = std::tan((1.0 + 1.0 / symmetry) * PI / 2);
        for (int i = 0; i < count; ++i) {
            const double x = bufs[0][i], y = bufs[2][i];
            ASSERT_GE(y, -1e-6);
            ASSERT_LE(y, tanHalf * x + 1e-6);
            ASSERT_LE(y, t * x - t * r + 1e-6);
        }
        for (auto& b : bufs)
            ASSERT_EQ(b[CAP], 0.0);
    }
}

TEST(SectorImages, QIsPMirroredAcrossTheSectorBisector) {
    std::mt19937 rng(7);
    for (int symmetry : {3, 6, 11, 20}) {
        const ImageGeometry g = circleGeometry(symmetry);
        std::uniform_real_distribution<double> theta(0, PI / symmetry), rho(0, g.radius);
        for (int sector = 0; sector < symmetry; ++sector) {
            const double th = theta(rng), rh = rho(rng);
            IntPoint p, q;
            sectorImages(g, sector, &th, &rh, 1, &p, &q);
            const double bisector = (sector + 0.5) * 2 * PI / symmetry + g.orientation;
            const double px = p.x - g.centreX, py = p.y - g.centreY;
            const double c = std::cos(2 * bisector), s = std::sin(2 * bisector);
            EXPECT_NEAR(c * px + s * py, q.x - g.centreX, 2.0);
            EXPECT_NEAR(s * px - c * py, q.y - g.centreY, 2.0);
        }
    }
}

TEST(SectorImages, RectangleAxisPointsReachTheBorder) {
    const int w = 800, h = 600;
    const ImageGeometry g{SCREEN_RECTANGLE, 7, 0.0, 0.48 * h, 1.0, w, h, w / 2, h / 2};
    for (double th : {0.0, 0.1, 0.3, PI / 7}) {
        const double rh = g.radius / std::cos(th); // u = R: on the sector axis's far end
        for (int sector = 0; sector < 7; ++sector) {
            IntPoint p, q;
            sectorImages(g, sector, &th, &rh, 1, &p, &q);
            for (IntPoint pt : {p, q}) {
                const int ex = std::abs(pt.x - g.centreX), ey = std::abs(pt.y - g.centreY);
                EXPECT_TRUE(std::abs(ex - w / 2) <= 1 || std::abs(ey - h / 2) <= 1)
                    << "sector " << sector << " theta " << th << " at " << pt.x << "," << pt.y;
                EXPECT_LE(ex, w / 2);
                EXPECT_LE(ey, h / 2);
            }
        }
    }
}

TEST(SectorImages, DegenerateAreasAndValuesStayFinite) {
    const double th[] = {0.2, NAN, 0.1}, rh[] = {5.0, 1.0, 1e300};
    IntPoint p[3], q[3];
    for (ScreenShape shape : {SCREEN_CIRCLE, SCREEN_OVAL, SCREEN_RECTANGLE}) {
        for (auto [w, h] : {std::pair{0, 0}, std::pair{100, 0}, std::pair{0, 100}}) {
            const ImageGeometry g{shape, 6, 0.0, 0.0, 1.0, w, h, w / 2, h / 2};
            sectorImages(g, 2, th, rh, 3, p, q);
            EXPECT_LE(std::abs(p[0].x - g.centreX), 5);
            EXPECT_LE(std::abs(q[2].y), 1000000000 + h);
        }
    }
}

TEST(CornerMask, OuterEdgeFollowsThePolygonSide) {
    for (int symmetry : {3, 6, 20}) {
        ImageGeometry g = circleGeometry(symmetry);
        g.sizeFactor = 1.5;
        double theta[3], rho[3];
        cornerMaskTriangle(g, theta, rho);
        // q is the distance from the centre to the 2N-gon's side in the direction pi/(3N).
        const double half = PI / (2 * symmetry);
        const double side = g.radius * std::cos(half) / std::cos(PI / (3 * symmetry) - half);
        EXPECT_NEAR(rho[0], (side + 1) * 1.5, 1e-9);
        EXPECT_EQ(rho[1], rho[0]);
        EXPECT_NEAR(rho[2], g.radius * 1.5 + 1, 1e-12);
        EXPECT_EQ(cornerMaskSteps(g), 2 * symmetry);
    }
}

namespace {

// Replays the plan on a coverage map: the source block plus every clipped copy.
bool tilingCoversSurface(const ImageGeometry& g) {
    std::vector<char> covered(static_cast<std::size_t>(g.width) * g.height, 0);
    auto mark = [&](int left, int top, int w, int h) {
        for (int y = std::max(top, 0); y < std::min(top + h, g.height); ++y)
            for (int x = std::max(left, 0); x < std::min(left + w, g.width); ++x)
                covered[static_cast<std::size_t>(y) * g.width + x] = 1;
    };
    const TilingLayout t = tilingLayout(g);
    mark(t.left, t.top, t.width, t.height);
    forEachTileCopy(g, [&](const BlockCopy& c) { mark(c.dstX, c.dstY, c.width, c.height); });
    return std::find(covered.begin(), covered.end(), 0) == covered.end();
}

} // namespace

TEST(ThreeMirrorTiling, SmallImagesUseTwelveByNineBlocks) {
    const ImageGeometry g{SCREEN_THREE_MIRROR, 3, PI / 2, 2.0, 1.0, 100, 80, 50, 40};
    const TilingLayout t = tilingLayout(g);
    EXPECT_EQ(t.width, 12);
    EXPECT_EQ(t.height, 9);
    EXPECT_EQ(t.left, 44);
    EXPECT_EQ(t.top, 37);
}

TEST(ThreeMirrorTiling, CopiesCoverTheWholeSurface) {
    for (auto [w, h, r, f] : {std::tuple{640, 480, 230.4, 1.0}, std::tuple{641, 479, 230.0, 0.3},
                              std::tuple{100, 80, 2.0, 1.0}, std::tuple{1920, 1080, 518.4, 0.1},
                              std::tuple{300, 900, 144.0, 2.5}, std::tuple{7, 5, 2.0, 1.0}}) {
        const ImageGeometry g{SCREEN_THREE_MIRROR, 3, PI / 2, r, f, w, h, w / 2, h / 2};
        EXPECT_TRUE(tilingCoversSurface(g)) << w << "x" << h << " R " << r << " f " << f;
    }
}

TEST(ThreeMirrorTiling, PlanOrderAndExtremeSizesTerminate) {
    const ImageGeometry g{SCREEN_THREE_MIRROR, 3, PI / 2, 100.0, 1.0, 640, 480, 320, 240};
    std::vector<BlockCopy> plan;
    forEachTileCopy(g, [&](const BlockCopy& copy) { plan.push_back(copy); });
    const TilingLayout t = tilingLayout(g);
    ASSERT_GT(plan.size(), 3u);
    EXPECT_EQ(plan[0].dstY, t.top - t.rowsUp * t.height);     // rows run from the top down
    const int first = t.rowsUp % 2 != 0 ? g.centreX : t.left; // odd rows shift by half a block
    EXPECT_EQ(plan[0].dstX, first);
    EXPECT_EQ(plan[1].dstX, first + t.width);
    EXPECT_EQ(plan[2].dstX, first - t.width);

    long copies = 0;
    const ImageGeometry huge{SCREEN_THREE_MIRROR, 3,         PI / 2,        1e300,        1e10,
                             INT32_MAX,           INT32_MAX, INT32_MAX / 2, INT32_MAX / 2};
    forEachTileCopy(huge, [&](const BlockCopy&) { ++copies; });
    EXPECT_LT(copies, 100);
    const ImageGeometry wide{SCREEN_THREE_MIRROR, 3, PI / 2, NAN, 1.0, 1 << 30, 50, 1 << 29, 25};
    copies = 0;
    forEachTileCopy(wide, [&](const BlockCopy&) { ++copies; });
    EXPECT_LT(copies, 100000);
}
