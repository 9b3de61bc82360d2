// The edge pass: softens the one-pixel outlines the polygon fill has just drawn by sharing
// each outline pixel with its neighbours across the ideal line, directly in the surface.
#pragma once

#include "engine/IntPoint.h"
#include "engine/Raster.h"

namespace lumivane {

// Stands in for "no pixel of the surface" as the reference colour of an edge that starts
// outside the surface.
constexpr std::uint32_t OFF_SURFACE_COLOUR = 0x030201u;

// Softens the outline along one edge, from its start pixel up to (not including) its end.
void antiAliasEdge(Surface& surface, IntPoint from, IntPoint to);

// Softens every edge of a closed polygon: forward p0->p1, ..., p(n-1)->p0; backward
// p(n-1)->p(n-2), ..., p1->p0, p0->p(n-1).
void antiAliasPolygon(Surface& surface, const IntPoint* points, int n, bool forward);

namespace detail {
// The edge pass with the per-pixel bounds tests, whatever the edge; the fast path of
// antiAliasEdge must match it pixel for pixel.
void antiAliasEdgeChecked(Surface& surface, IntPoint from, IntPoint to);
} // namespace detail

} // namespace lumivane
