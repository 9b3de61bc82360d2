#include "engine/Geometry.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace lumivane {

namespace {

constexpr double PI = std::numbers::pi;
constexpr double VERTICAL_EDGE_TOLERANCE = 0.0001;
constexpr double PIXEL_LIMIT = 1e9;
constexpr int MAX_BLOCK_SIDE = 1 << 24;
constexpr int MAX_CENTRE = 1 << 28;

bool isOutside(const HalfPlane& plane, double x, double y) {
    const double lineY = plane.slope * x + plane.intercept;
    return plane.outsideAbove ? y > lineY : y < lineY;
}

// Where the edge from p to q meets the line. A (nearly) vertical edge meets it at px; an edge
// parallel to the line (only possible through rounding) is treated the same way.
void intersect(const HalfPlane& plane, double px, double py, double qx, double qy, double& x,
               double& y) {
    x = px;
    if (std::fabs(qx - px) >= VERTICAL_EDGE_TOLERANCE) {
        const double m = (qy - py) / (qx - px);
        const double denominator = plane.slope - m;
        if (denominator != 0.0)
            x = (py - m * px - plane.intercept) / denominator;
    }
    y = plane.slope * x + plane.intercept;
}

// Each maximal run of inside vertices adds its two intersection points.
int clippedCount(const bool* outside, int n, int insideCount) {
    int runs = 0;
    for (int i = 0; i < n; ++i)
        if (!outside[i] && outside[(i + n - 1) % n])
            ++runs;
    return insideCount + 2 * runs;
}

} // namespace

int clipHalfPlane(const double* xs, const double* ys, int n, const HalfPlane& plane, double* outX,
                  double* outY, int capacity) {
    if (n <= 0 || n > WORK_POINTS)
        return 0;
    bool outside[WORK_POINTS];
    int outsideCount = 0;
    int firstOutside = -1;
    for (int i = 0; i < n; ++i) {
        outside[i] = isOutside(plane, xs[i], ys[i]);
        if (outside[i]) {
            ++outsideCount;
            if (firstOutside < 0)
                firstOutside = i;
        }
    }
    if (outsideCount == n)
        return 0;
    if (outsideCount == 0) {
        if (n > capacity)
            return 0;
        std::copy(xs, xs + n, outX);
        std::copy(ys, ys + n, outY);
        return n;
    }
    if (clippedCount(outside, n, n - outsideCount) > capacity)
        return 0;
    int count = 0;
    for (int step = 1; step <= n; ++step) {
        const int i = (firstOutside + step) % n;
        if (outside[i])
            continue;
        const int prev = (i + n - 1) % n;
        const int next = (i + 1) % n;
        if (outside[prev]) {
            intersect(plane, xs[prev], ys[prev], xs[i], ys[i], outX[count], outY[count]);
            ++count;
        }
        outX[count] = xs[i];
        outY[count] = ys[i];
        ++count;
        if (outside[next]) {
            intersect(plane, xs[i], ys[i], xs[next], ys[next], outX[count], outY[count]);
            ++count;
        }
    }
    return count;
}

int effectiveSymmetry(int symmetry) {
    return symmetry < 3 ? 3 : symmetry;
}

int clipToTriangle(double radius, int symmetry, const double* xs, const double* ys, int n,
                   const ClipBuffers& work) {
    const int sym = effectiveSymmetry(symmetry);
    const double t = std::tan((1.0 + 1.0 / sym) * PI / 2.0);
    const HalfPlane planes[3] = {
        {0.0, 0.0, false},
        {std::tan(PI / sym), 0.0, true},
        {t, -t * radius, true},
    };
    n = clipHalfPlane(xs, ys, n, planes[0], work.x[0], work.y[0], work.capacity);
    if (n == 0)
        return 0;
    n = clipHalfPlane(work.x[0], work.y[0], n, planes[1], work.x[1], work.y[1], work.capacity);
    if (n == 0)
        return 0;
    return clipHalfPlane(work.x[1], work.y[1], n, planes[2], work.x[0], work.y[0], work.capacity);
}

void toPolar(const double* xs, const double* ys, int n, double sizeFactor, double* theta,
             double* rho) {
    for (int i = 0; i < n; ++i) {
        const double x = xs[i];
        const double y = ys[i];
        theta[i] = std::atan2(y, x);
        rho[i] = std::sqrt(x * x + y * y) * sizeFactor;
    }
}

IntPoint toPixel(double x, double y, int centreX, int centreY) {
    auto convert = [](double v, int centre) {
        const double clamped = std::isnan(v) ? 0.0 : std::clamp(v, -PIXEL_LIMIT, PIXEL_LIMIT);
        const auto sum = static_cast<std::int64_t>(std::trunc(clamped)) + centre;
        return static_cast<std::int32_t>(std::clamp<std::int64_t>(sum, INT32_MIN, INT32_MAX));
    };
    return IntPoint{convert(x, centreX), convert(y, centreY)};
}

namespace {

double safeRatio(double numerator, double denominator) {
    return denominator == 0.0 ? 0.0 : numerator / denominator;
}

// Rectangle mode: the distance along the ray at `angle` (without o) that puts a point at u
// along the sector axis onto the rectangle u/R of the way to the border.
double rectangleReach(const ImageGeometry& g, double diagonal, double u, double angle) {
    const double folded = std::fmod(angle, PI);
    const bool steep = diagonal < folded && folded < PI - diagonal;
    if (steep)
        return u * safeRatio(g.height, 2.0 * g.radius) / std::fabs(std::sin(angle));
    const double c = std::fabs(std::cos(angle));
    return c == 0.0 ? 0.0 : u * safeRatio(g.width, 2.0 * g.radius) / c;
}

struct Offset {
    double dx, dy;
};

void mapImages(const ImageGeometry& g, double a0, double a1, const double* theta, const double* rho,
               int n, Offset shiftP, Offset shiftQ, IntPoint* p, IntPoint* q) {
    const double o = g.orientation;
    const double xScale = g.shape == SCREEN_OVAL ? safeRatio(g.width, g.height) : 1.0;
    const double diagonal = std::atan2(static_cast<double>(g.height), g.width);
    for (int i = 0; i < n; ++i) {
        const double alpha = a0 + theta[i];
        const double beta = a1 - theta[i];
        double reachP = rho[i];
        double reachQ = rho[i];
        if (g.shape == SCREEN_RECTANGLE) {
            const double u = rho[i] * std::cos(theta[i]);
            reachP = rectangleReach(g, diagonal, u, alpha);
            reachQ = rectangleReach(g, diagonal, u, beta);
        }
        p[i] = toPixel(reachP * std::cos(alpha + o) * xScale + shiftP.dx,
                       reachP * std::sin(alpha + o) + shiftP.dy, g.centreX, g.centreY);
        q[i] = toPixel(reachQ * std::cos(beta + o) * xScale + shiftQ.dx,
                       reachQ * std::sin(beta + o) + shiftQ.dy, g.centreX, g.centreY);
    }
}

} // namespace

void mirrorImages(const ImageGeometry& geometry, double a0, double a1, const double* theta,
                  const double* rho, int n, IntPoint* p, IntPoint* q) {
    mapImages(geometry, a0, a1, theta, rho, n, {0.0, 0.0}, {0.0, 0.0}, p, q);
}

void sectorImages(const ImageGeometry& geometry, int sector, const double* theta, const double* rho,
                  int n, IntPoint* p, IntPoint* q) {
    const double step = 2.0 * PI / effectiveSymmetry(geometry.symmetry);
    mirrorImages(geometry, sector * step, (sector + 1) * step, theta, rho, n, p, q);
}

void threeMirrorExtraImages(const ImageGeometry& geometry, const double* theta, const double* rho,
                            int n, IntPoint* p, IntPoint* q) {
    const double step = 2.0 * PI / effectiveSymmetry(geometry.symmetry);
    const double scaled = geometry.radius * geometry.sizeFactor;
    const double dx = std::sqrt(3.0) / 2.0 * scaled;
    const double dy = 1.5 * scaled;
    mapImages(geometry, step, 2.0 * step, theta, rho, n, {dx, dy}, {-dx, dy}, p, q);
}

int cornerMaskSteps(const ImageGeometry& geometry) {
    return 2 * effectiveSymmetry(geometry.symmetry);
}

void cornerMaskTriangle(const ImageGeometry& geometry, double* theta, double* rho) {
    const int n = effectiveSymmetry(geometry.symmetry);
    const double r = geometry.radius;
    const double f = geometry.sizeFactor;
    const double c = std::tan((1.0 - 1.0 / n) * PI / 2.0);
    const double third = PI / (3.0 * n);
    const double q = c * r / (std::cos(third) * (std::tan(third) + c));
    theta[0] = third;
    rho[0] = (q + 1.0) * f;
    theta[1] = 0.0;
    rho[1] = (q + 1.0) * f;
    theta[2] = 0.0;
    rho[2] = r * f + 1.0;
}

void cornerMaskImages(const ImageGeometry& geometry, int step, IntPoint* p, IntPoint* q) {
    double theta[CORNER_MASK_POINTS];
    double rho[CORNER_MASK_POINTS];
    cornerMaskTriangle(geometry, theta, rho);
    const double half = PI / effectiveSymmetry(geometry.symmetry);
    mirrorImages(geometry, step * half, (step + 1) * half, theta, rho, CORNER_MASK_POINTS, p, q);
}

namespace {

int truncatedSide(double v) {
    if (!(v > 6.0)) // also catches NaN
        return 6;
    return v >= MAX_BLOCK_SIDE ? MAX_BLOCK_SIDE : static_cast<int>(v);
}

} // namespace

TilingLayout tilingLayout(const ImageGeometry& geometry) {
    const double scaled = geometry.radius * geometry.sizeFactor;
    const int w = std::clamp(geometry.width, 0, MAX_TILED_SIDE);
    const int hgt = std::clamp(geometry.height, 0, MAX_TILED_SIDE);
    const int cx = std::clamp(geometry.centreX, -MAX_CENTRE, MAX_CENTRE);
    const int cy = std::clamp(geometry.centreY, -MAX_CENTRE, MAX_CENTRE);
    TilingLayout t{};
    t.halfWidth = truncatedSide(std::sqrt(3.0) * scaled * 0.5);
    t.blockRows = truncatedSide(scaled);
    t.left = cx - t.halfWidth;
    t.width = 2 * t.halfWidth;
    t.top = cy - t.blockRows / 2;
    t.height = (3 * t.blockRows + 1) / 2;
    const int h = t.height;
    t.rowsDown = (h - (2 * h) / 3 + hgt / 2 - 1) / h;
    t.rowsUp = (h - h / 3 + hgt / 2 - 1) / h;
    t.evenCopies = (w / 2 + t.halfWidth - 1) / t.width;
    t.oddCopies = (w / 2 + t.width - 1) / t.width;
    return t;
}

} // namespace lumivane
