// The library of named polygons that pieces are made of. Each entry is an
// integer outline around a pivot plus a size unit; the library is built once
// and never changes, so every scene shares the same immutable table.
#pragma once

#include "patterns/NameTable.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>

namespace lumivane {

// Marks the end of an authored outline: the pair (SHAPE_END, SHAPE_END).
constexpr std::int32_t SHAPE_END = -9999;
constexpr int MAX_SHAPE_VERTICES = 40;
constexpr int SHAPE_CAPACITY = 100;
constexpr int SHAPE_COUNT = 27;
// Shapes 0..EDITABLE_SHAPE_COUNT-1 are offered by the layer editor and the generator.
constexpr int EDITABLE_SHAPE_COUNT = 24;
// Size unit used for a shape index that names no entry.
constexpr std::int32_t FALLBACK_SIZE_UNIT = 100;

struct ShapeVertex {
    std::int32_t x = 0;
    std::int32_t y = 0;
};

struct ShapeDef {
    const char* name = "";
    std::int32_t vertexCount = 0; // 0: the entry draws nothing
    std::array<ShapeVertex, MAX_SHAPE_VERTICES> vertices{};
    std::int32_t sizeUnit = FALLBACK_SIZE_UNIT;
};

class ShapeLibrary {
  public:
    // Builds the 27 built-in shapes.
    ShapeLibrary();

    // Stores one entry from an authored list: vertex pairs, the pair
    // (SHAPE_END, SHAPE_END), then the pivot pair. The pivot becomes the
    // origin. A list with more than 40 vertices before the terminator (or a
    // malformed one) leaves the entry with vertexCount 0.
    void defineShape(int index, std::span<const std::int32_t> coordinates, std::int32_t sizeUnit,
                     const char* name);

    int shapeCount() const { return count_; }
    // The entry, or nullptr for an index outside the table.
    const ShapeDef* entry(int index) const;
    // True when the index names an entry with at least one vertex.
    bool isDrawable(int index) const;
    std::string shapeName(int index) const;
    // The entry's size unit, or FALLBACK_SIZE_UNIT when the index names no usable entry.
    std::int32_t sizeUnit(int index) const;

    // Writes the outline of the shape scaled, turned by angle about its pivot
    // and moved to (dx, dy); outX and outY need room for MAX_SHAPE_VERTICES
    // values. Returns the number of points (0 for an unusable index).
    int shapePolygon(int index, double scale, double angle, double dx, double dy, double* outX,
                     double* outY) const;

  private:
    std::array<ShapeDef, SHAPE_CAPACITY> entries_{};
    int count_ = 0;
};

// The one library shared by all scenes, built on first use.
const ShapeLibrary& shapeLibrary();

std::string shapeName(int index);
// The built-in shapes' names in library order, for showing and reading them.
NameTable shapeNames();
int shapePolygon(int index, double scale, double angle, double dx, double dy, double* outX,
                 double* outY);

} // namespace lumivane
