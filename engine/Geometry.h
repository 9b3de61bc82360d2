// Screen geometry of the mirror arrangement: clipping a piece to the fundamental triangle,
// the polar form, the 2N mirror images of a sector, the corner masks that round off Circle
// and Oval images, and the block-copy plan that tiles a Three Mirror image.
// Everything works on caller-owned buffers and allocates nothing.
#pragma once

#include "engine/IntPoint.h"
#include "patterns/Pattern.h"

#include <cstdint>

namespace lumivane {

// The straight line y = slope * x + intercept and the side of it that is cut away.
struct HalfPlane {
    double slope;
    double intercept;
    bool outsideAbove; // true: points with y > line are outside; false: points with y < line
};

// Clips the polygon (xs, ys, n) to the half-plane and writes the result to (outX, outY).
// Returns the vertex count of the result: 0 when the polygon lies wholly outside, or when
// the result would not fit in `capacity` points. Input and output must not overlap.
int clipHalfPlane(const double* xs, const double* ys, int n, const HalfPlane& plane, double* outX,
                  double* outY, int capacity);

// Two pairs of work buffers of `capacity` points each, owned by the caller.
struct ClipBuffers {
    double* x[2];
    double* y[2];
    int capacity;
};

// Clips the polygon to the fundamental triangle (0,0), (R,0), (R cos(pi/N), R sin(pi/N)) by
// the half-planes y >= 0, y <= tan(pi/N) x and y <= t x - t R with t = tan((1 + 1/N) pi/2).
// The result is left in work.x[0] / work.y[0]; returns its vertex count (0: nothing left).
int clipToTriangle(double radius, int symmetry, const double* xs, const double* ys, int n,
                   const ClipBuffers& work);

// Polar form of the clipped polygon: theta = atan2(y, x), rho = |(x, y)| * sizeFactor.
// The outputs may alias the inputs (theta over xs, rho over ys).
void toPolar(const double* xs, const double* ys, int n, double sizeFactor, double* theta,
             double* rho);

// Everything the mirror mapping needs to know about the drawing area and the arrangement.
struct ImageGeometry {
    ScreenShape shape;
    int symmetry;       // N; anything below 3 is treated as 3
    double orientation; // o, radians
    double radius;      // R, the mirror radius
    double sizeFactor;  // f
    int width;          // W
    int height;         // H
    int centreX;
    int centreY;
};

// The symmetry actually used: values below 3 (never sensible) fall back to 3.
int effectiveSymmetry(int symmetry);

// Converts a position relative to the image centre to a pixel: truncation toward zero, then
// the centre added. Non-finite and huge values are clamped to +-1e9 first.
IntPoint toPixel(double x, double y, int centreX, int centreY);

// The rotated (P) and mirrored (Q) images of a polar polygon between the rays a0 and a1,
// with the formulas of the geometry's screen shape, converted to pixels. p and q receive
// n points each.
void mirrorImages(const ImageGeometry& geometry, double a0, double a1, const double* theta,
                  const double* rho, int n, IntPoint* p, IntPoint* q);

// P and Q for sector i (a0 = i 2pi/N, a1 = (i + 1) 2pi/N).
void sectorImages(const ImageGeometry& geometry, int sector, const double* theta, const double* rho,
                  int n, IntPoint* p, IntPoint* q);

// The two extra Three Mirror images: sector 1's P shifted by (+dx, +dy) and its Q shifted by
// (-dx, +dy), dx = sqrt(3)/2 R f, dy = 1.5 R f.
void threeMirrorExtraImages(const ImageGeometry& geometry, const double* theta, const double* rho,
                            int n, IntPoint* p, IntPoint* q);

// Corner masks (Circle and Oval): a triangle placed 2N times, j = 0..2N-1.
constexpr int CORNER_MASK_POINTS = 3;
int cornerMaskSteps(const ImageGeometry& geometry);
// The mask triangle in polar form (theta, rho), three vertices each.
void cornerMaskTriangle(const ImageGeometry& geometry, double* theta, double* rho);
// P and Q of the mask triangle for step j (a0 = j pi/N, a1 = (j + 1) pi/N).
void cornerMaskImages(const ImageGeometry& geometry, int step, IntPoint* p, IntPoint* q);

// One block copy of the Three Mirror tiling.
struct BlockCopy {
    int srcX, srcY, width, height;
    int dstX, dstY;
};

// The block around the centre and the extent of the brick pattern built from it.
struct TilingLayout {
    int halfWidth;  // s
    int blockRows;  // t
    int left, top;  // x0, y0
    int width;      // 2s
    int height;     // h
    int rowsUp;     // rows -rowsUp .. -1
    int rowsDown;   // rows 1 .. rowsDown
    int evenCopies; // k = 1 .. evenCopies on either side in even rows
    int oddCopies;  // k = 1 .. oddCopies on either side in odd rows
};

// Surfaces larger than this in either direction are tiled as if they had this size, which
// bounds the number of copies (the copies beyond it would be clipped away anyway).
constexpr int MAX_TILED_SIDE = 1 << 15;

TilingLayout tilingLayout(const ImageGeometry& geometry);

// Calls copy(const BlockCopy&) for every block copy of the tiling, in drawing order: rows
// from -rowsUp to rowsDown; in each row the centre copy (skipped for row 0), then the pairs
// to the right and left.
template <typename Copy> void forEachTileCopy(const ImageGeometry& geometry, Copy&& copy) {
    const TilingLayout t = tilingLayout(geometry);
    for (int row = -t.rowsUp; row <= t.rowsDown; ++row) {
        const int rowTop = t.top + row * t.height;
        const bool odd = (row % 2) != 0;
        const int first = odd ? geometry.centreX : t.left;
        const int copies = odd ? t.oddCopies : t.evenCopies;
        auto place = [&](int x) { copy(BlockCopy{t.left, t.top, t.width, t.height, x, rowTop}); };
        if (odd || row != 0)
            place(first);
        for (int k = 1; k <= copies; ++k) {
            place(first + t.width * k);
            place(first - t.width * k);
        }
    }
}

} // namespace lumivane
