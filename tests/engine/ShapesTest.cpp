#include "engine/Shapes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

using namespace lumivane;

TEST(Shapes, TableHasNamesVertexCountsAndSizeUnits) {
    struct Row {
        const char* name;
        int vertexCount;
        int sizeUnit;
    };
    const Row rows[SHAPE_COUNT] = {
        {"Square", 4, 100},         {"Star", 10, 2400},
        {"Hexagon", 6, 340},        {"Line", 4, 100},
        {"Lattice", 26, 110},       {"Zig Zag", 26, 250},
        {"Spiral", 34, 500},        {"Bow", 26, 1500},
        {"Equi Triangle", 3, 1200}, {"Scalene Triangle", 3, 500},
        {"Square Star", 12, 1000},  {"Lozenge", 20, 400},
        {"Comb", 16, 400},          {"Dust", 28, 250},
        {"Tri-Bar", 8, 900},        {"Big Circle", 24, 1200},
        {"Small Circle", 24, 3600}, {"L-Shape", 6, 250},
        {"Sceptre", 10, 200},       {"Big Star", 18, 500},
        {"Bellows", 8, 400},        {"Wave", 24, 240},
        {"Gear", 36, 800},          {"Sunburst", 24, 900},
        {"Oblong", 4, 200},         {"Trivet", 9, 100},
        {"Bracket", 6, 180},
    };
    const ShapeLibrary& library = shapeLibrary();
    EXPECT_EQ(library.shapeCount(), SHAPE_COUNT);
    for (int i = 0; i < SHAPE_COUNT; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(shapeName(i), rows[i].name);
        EXPECT_EQ(library.entry(i)->vertexCount, rows[i].vertexCount);
        EXPECT_EQ(library.sizeUnit(i), rows[i].sizeUnit);
    }
}

TEST(Shapes, PivotBecomesOrigin) {
    const ShapeDef& square = *shapeLibrary().entry(0);
    const ShapeVertex expected[] = {{-50, -50}, {50, -50}, {50, 50}, {-50, 50}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(square.vertices[i].x, expected[i].x);
        EXPECT_EQ(square.vertices[i].y, expected[i].y);
    }
    // Star has its pivot at (0,0) and is stored as authored.
    EXPECT_EQ(shapeLibrary().entry(1)->vertices[9].y, 309);
}

TEST(Shapes, PolygonTurnsAboutThePivot) {
    double xs[MAX_SHAPE_VERTICES];
    double ys[MAX_SHAPE_VERTICES];
    ASSERT_EQ(shapePolygon(0, 1.0, 0.0, 10.0, 20.0, xs, ys), 4);
    const double expected[4][2] = {{-40, -30}, {60, -30}, {60, 70}, {-40, 70}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_DOUBLE_EQ(xs[i], expected[i][0]);
        EXPECT_DOUBLE_EQ(ys[i], expected[i][1]);
    }
    ASSERT_EQ(shapePolygon(0, 1.0, std::numbers::pi / 2, 10.0, 20.0, xs, ys), 4);
    EXPECT_NEAR(xs[0], 60.0, 1e-9);
    EXPECT_NEAR(ys[0], -30.0, 1e-9);
    shapePolygon(0, 2.5, 0.0, 0.0, 0.0, xs, ys);
    EXPECT_DOUBLE_EQ(xs[2], 125.0);
}

TEST(Shapes, UnusableIndicesDrawNothing) {
    double xs[MAX_SHAPE_VERTICES];
    double ys[MAX_SHAPE_VERTICES];
    for (int index : {-1, 27, 99, 100, 100000}) {
        SCOPED_TRACE(index);
        EXPECT_EQ(shapePolygon(index, 1.0, 0.0, 0.0, 0.0, xs, ys), 0);
        EXPECT_EQ(shapeLibrary().sizeUnit(index), FALLBACK_SIZE_UNIT);
    }
    EXPECT_EQ(shapeName(100), "");
}

TEST(Shapes, DefineShapeNeedsTerminatorWithinFortyVertices) {
    ShapeLibrary library;
    std::vector<std::int32_t> list;
    for (int i = 0; i < MAX_SHAPE_VERTICES; ++i) {
        list.insert(list.end(), {i, -i});
    }
    std::vector<std::int32_t> unterminated = list;
    unterminated.insert(unterminated.end(), {1, 1, 0, 0});
    library.defineShape(30, unterminated, 100, "Too Long");
    EXPECT_EQ(library.entry(30)->vertexCount, 0);
    EXPECT_FALSE(library.isDrawable(30));

    list.insert(list.end(), {SHAPE_END, SHAPE_END, 1, 2});
    library.defineShape(31, list, 50, "Forty");
    EXPECT_EQ(library.entry(31)->vertexCount, 40);
    EXPECT_EQ(library.entry(31)->vertices[39].x, 38);
    EXPECT_EQ(library.entry(31)->vertices[39].y, -41);

    const std::int32_t noPivot[] = {0, 0, 1, 1, SHAPE_END, SHAPE_END};
    library.defineShape(32, noPivot, 50, "No Pivot");
    EXPECT_EQ(library.entry(32)->vertexCount, 0);
}
