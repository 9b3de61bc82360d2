#include "engine/Shapes.h"

#include <cmath>

namespace lumivane {
namespace {

constexpr std::int32_t END = SHAPE_END;
// Room for 40 vertices, the terminator and the pivot.
constexpr std::size_t AUTHORED_VALUES = 2 * (MAX_SHAPE_VERTICES + 2);

struct AuthoredShape {
    const char* name;
    std::int32_t sizeUnit;
    std::array<std::int32_t, AUTHORED_VALUES> coordinates;
};

// Outlines as authored, in drawing order, then the terminator and the pivot.
// The even-odd fill turns inner loops into holes (Lattice, Square Star, ...).
constexpr AuthoredShape BUILT_IN_SHAPES[SHAPE_COUNT] = {
    {"Square", 100, {0, 0, 100, 0, 100, 100, 0, 100, END, END, 50, 50}},
    {"Star", 2400, {0,   1000, -225, 309,  -951, 309, -363, -118, -588, -809, 0, -382,
                    588, -809, 363,  -118, 951,  309, 225,  309,  END,  END,  0, 0}},
    {"Hexagon", 340, {173, 100, 0, 200, -173, 100, -173, -100, 0, -200, 173, -100, END, END, 0, 0}},
    {"Line", 100, {0, 0, 400, 0, 400, 20, 0, 20, END, END, 200, 10}},
    {"Lattice", 110, {0,   0,   220, 0,   220, 220, 0,   220, 0,   0,   20,  20,  100, 20,
                      100, 110, 120, 110, 120, 20,  200, 20,  200, 100, 120, 100, 120, 120,
                      200, 120, 200, 200, 120, 200, 120, 110, 100, 110, 100, 200, 20,  200,
                      20,  120, 100, 120, 100, 100, 20,  100, 20,  20,  END, END, 110, 110}},
    {"Zig Zag", 250, {0,   0,   100, 0,   100, 100, 200, 100, 200, 200, 300, 200, 300, 300,
                      400, 300, 400, 400, 500, 400, 500, 500, 600, 500, 600, 600, 580, 620,
                      580, 520, 480, 520, 480, 420, 380, 420, 380, 320, 280, 320, 280, 220,
                      180, 220, 180, 120, 80,  120, 80,  20,  -20, 20,  END, END, 290, 310}},
    {"Spiral", 500, {0,    30,   30,   30,   30,   -100, -100, -100, -100, 130,  130,  130,
                     130,  -200, -200, -200, -200, 230,  230,  230,  230,  -300, -300, -300,
                     -300, 330,  330,  330,  330,  -400, -400, -400, -400, 430,  330,  430,
                     330,  400,  -370, 400,  -370, -370, 300,  -370, 300,  300,  -270, 300,
                     -270, -270, 200,  -270, 200,  200,  -170, 200,  -170, -170, 100,  -170,
                     100,  100,  -70,  100,  -70,  -70,  0,    -70,  END,  END,  -35,  35}},
    {"Bow", 1500, {1000, 0,   966,  259, 866,  500, 707,  707, 500,  866, 259,   966, 0,    1000,
                   -259, 966, -500, 866, -707, 707, -866, 500, -966, 259, -1000, 0,   -800, 0,
                   -773, 207, -693, 400, -566, 566, -400, 693, -207, 773, 0,     800, 207,  773,
                   400,  693, 566,  566, 693,  400, 773,  207, 800,  0,   END,   END, 0,    333}},
    {"Equi Triangle", 1200, {1000, 0, 0, 1732, -1000, 0, END, END, 0, 577}},
    {"Scalene Triangle", 500, {0, 0, 1000, 0, 0, 300, END, END, 333, 100}},
    {"Square Star", 1000, {100,  -100, 500,  0,    100, 100,  0,   500,  -100, 100,
                           -500, 0,    -100, -100, 0,   -500, 100, -100, -100, -100,
                           -100, 100,  100,  100,  END, END,  0,   0}},
    {"Lozenge", 400, {-150, -100, 150,  -100, 200,  -90,  250,  -75, 285,  -50, 300,
                      -25,  300,  25,   285,  50,   250,  75,   200, 90,   150, 100,
                      -150, 100,  -200, 90,   -250, 75,   -285, 50,  -300, 25,  -300,
                      -25,  -285, -50,  -250, -75,  -200, -90,  END, END,  0,   0}},
    {"Comb", 400, {0,   0,   500, 0,   500, 50,  75,  50,  75,  100, 500, 100,
                   500, 150, 75,  150, 75,  200, 500, 200, 500, 250, 75,  250,
                   75,  300, 500, 300, 500, 350, 0,   350, END, END, 75,  175}},
    {"Dust", 250, {0,    0,    50,   -100, 100,  0,    0,   0,    100,  100,  200,  100,
                   150,  200,  100,  100,  0,    350,  100, 400,  0,    450,  0,    350,
                   -50,  150,  -100, 250,  -150, 150,  -50, 150,  -100, -100, -200, -150,
                   -100, -200, -100, -100, -50,  -250, -50, -350, 50,   -300, -50,  -250,
                   -100, -100, -50,  150,  0,    350,  100, 100,  END,  END,  50,   25}},
    {"Tri-Bar", 900, {-745, 255, 745, 255,  0,     1372, -745, 255, -1000, 0,
                      1000, 0,   0,   1732, -1000, 0,    END,  END, 0,     577}},
    {"Big Circle", 1200, {1000, 0,    966,   259,  866,   500,  707,  707,  500,  866,  259,
                          966,  0,    1000,  -259, 966,   -500, 866,  -707, 707,  -866, 500,
                          -966, 259,  -1000, 0,    -966,  -259, -866, -500, -707, -707, -500,
                          -866, -259, -966,  0,    -1000, 259,  -966, 500,  -866, 707,  -707,
                          866,  -500, 966,   -259, END,   END,  0,    0}},
    {"Small Circle", 3600, {1000, 0,    966,   259,  866,   500,  707,  707,  500,  866,  259,
                            966,  0,    1000,  -259, 966,   -500, 866,  -707, 707,  -866, 500,
                            -966, 259,  -1000, 0,    -966,  -259, -866, -500, -707, -707, -500,
                            -866, -259, -966,  0,    -1000, 259,  -966, 500,  -866, 707,  -707,
                            866,  -500, 966,   -259, END,   END,  0,    0}},
    {"L-Shape", 250, {0, 0, 300, 0, 300, 100, 100, 100, 100, 200, 0, 200, END, END, 100, 75}},
    {"Sceptre", 200, {5,   5, 5,   -25, 25, -70, 75, -70, 100, -20, 400, -20,
                      400, 0, 100, 0,   75, 50,  25, 50,  END, END, 50,  -10}},
    {"Big Star", 500, {-300, 0,    -500, -500, 0,    -300, 500,  -500, 300, 0,   500, 500, 0,   300,
                       -500, 500,  -300, 0,    -270, 0,    -420, 420,  0,   270, 420, 420, 270, 0,
                       420,  -420, 0,    -270, -420, -420, -270, 0,    END, END, 0,   0}},
    {"Bellows", 400, {-150, 0,   -300, -100, 0,    -300, 300, -100, 150, 0,
                      300,  100, 0,    300,  -300, 100,  END, END,  0,   0}},
    {"Wave", 240, {0,    0,   10,  60,  30,   -60, 60,  120, 100, -120, 150, 180, 210,
                   -180, 260, 120, 300, -120, 330, 60,  350, -60, 360,  0,   360, 30,
                   350,  -30, 330, 90,  300,  -90, 260, 150, 210, -150, 150, 210, 100,
                   -90,  60,  150, 30,  -30,  10,  90,  0,   30,  END,  END, 180, 15}},
    {"Gear", 800, {50,   400,  50,   800,  -50,  800,  -50,  400,  50,   400,  375,  157,  721,
                   357,  663,  443,  317,  243,  375,  157,  317,  -243, 663,  -443, 721,  -357,
                   375,  -157, 317,  -243, -50,  -400, -50,  -800, 50,   -800, 50,   -400, -50,
                   -400, -375, -157, -721, -357, -663, -443, -317, -243, -375, -157, -317, 243,
                   -663, 443,  -721, 357,  -375, 157,  -317, 243,  50,   400,  -317, 243,  -375,
                   -157, -50,  -400, 317,  -243, 375,  157,  END,  END,  0,    0}},
    {"Sunburst", 900, {600,  0,   193,  52,   520,  300,  141,  141,  300, 520,  52,  193,  0,
                       600,  -52, 193,  -300, 520,  -141, 141,  -520, 300, -193, 52,  -600, 0,
                       -193, -52, -520, -300, -141, -141, -300, -520, -52, -193, 0,   -600, 52,
                       -193, 300, -520, 141,  -141, 520,  -300, 193,  -52, END,  END, 0,    0}},
    {"Oblong", 200, {0, 0, 300, 0, 300, 100, 0, 100, END, END, 150, 50}},
    {"Trivet", 100, {0,   0,   300, 0,    300,  20,   0,    20,  -258, 170, -264,
                     153, -18, 0,   -264, -150, -258, -167, END, END,  -10, 8}},
    {"Bracket", 180, {0, 0, 200, 0, 200, 100, 100, 100, 100, 200, 0, 200, END, END, 83, 83}},
};

constexpr std::array<const char*, SHAPE_COUNT> BUILT_IN_NAMES = [] {
    std::array<const char*, SHAPE_COUNT> names{};
    for (int i = 0; i < SHAPE_COUNT; ++i)
        names[static_cast<std::size_t>(i)] = BUILT_IN_SHAPES[i].name;
    return names;
}();

bool isTerminator(std::int32_t x, std::int32_t y) {
    return x == SHAPE_END && y == SHAPE_END;
}

} // namespace

ShapeLibrary::ShapeLibrary() {
    count_ = SHAPE_COUNT;
    for (int i = 0; i < SHAPE_COUNT; ++i) {
        const AuthoredShape& shape = BUILT_IN_SHAPES[i];
        defineShape(i, shape.coordinates, shape.sizeUnit, shape.name);
    }
}

void ShapeLibrary::defineShape(int index, std::span<const std::int32_t> coordinates,
                               std::int32_t sizeUnit, const char* name) {
    if (index < 0 || index >= SHAPE_CAPACITY) {
        return;
    }
    ShapeDef& def = entries_[index];
    const std::size_t pairs = coordinates.size() / 2;
    std::size_t k = 0;
    while (k < pairs && k <= MAX_SHAPE_VERTICES &&
           !isTerminator(coordinates[2 * k], coordinates[2 * k + 1])) {
        ++k;
    }
    const bool terminated = k < pairs && k <= MAX_SHAPE_VERTICES;
    const bool hasPivot = k + 1 < pairs;
    if (!terminated || !hasPivot) {
        def.vertexCount = 0;
        return;
    }
    const std::int32_t pivotX = coordinates[2 * k + 2];
    const std::int32_t pivotY = coordinates[2 * k + 3];
    for (std::size_t i = 0; i < k; ++i) {
        def.vertices[i] = {coordinates[2 * i] - pivotX, coordinates[2 * i + 1] - pivotY};
    }
    def.vertexCount = static_cast<std::int32_t>(k);
    def.sizeUnit = sizeUnit > 0 ? sizeUnit : FALLBACK_SIZE_UNIT;
    def.name = name;
}

const ShapeDef* ShapeLibrary::entry(int index) const {
    if (index < 0 || index >= SHAPE_CAPACITY) {
        return nullptr;
    }
    return &entries_[index];
}

bool ShapeLibrary::isDrawable(int index) const {
    const ShapeDef* def = entry(index);
    return def != nullptr && def->vertexCount > 0;
}

std::string ShapeLibrary::shapeName(int index) const {
    const ShapeDef* def = entry(index);
    return def != nullptr ? std::string(def->name) : std::string();
}

std::int32_t ShapeLibrary::sizeUnit(int index) const {
    return isDrawable(index) ? entries_[index].sizeUnit : FALLBACK_SIZE_UNIT;
}

int ShapeLibrary::shapePolygon(int index, double scale, double angle, double dx, double dy,
                               double* outX, double* outY) const {
    if (!isDrawable(index)) {
        return 0;
    }
    const ShapeDef& def = entries_[index];
    const double c = std::cos(angle);
    const double s = std::sin(angle);
    for (int i = 0; i < def.vertexCount; ++i) {
        const double vx = def.vertices[i].x;
        const double vy = def.vertices[i].y;
        outX[i] = dx + scale * vx * c - scale * vy * s;
        outY[i] = dy + scale * vx * s + scale * vy * c;
    }
    return def.vertexCount;
}

const ShapeLibrary& shapeLibrary() {
    static const ShapeLibrary library;
    return library;
}

std::string shapeName(int index) {
    return shapeLibrary().shapeName(index);
}

NameTable shapeNames() {
    return NameTable(BUILT_IN_NAMES);
}

int shapePolygon(int index, double scale, double angle, double dx, double dy, double* outX,
                 double* outY) {
    return shapeLibrary().shapePolygon(index, scale, angle, dx, dy, outX, outY);
}

} // namespace lumivane
