// One running kaleidoscope: a fixed pool of pieces spawned from a pattern,
// the image-wide settings taken from it and the geometry of the drawing area.
// Everything is allocated with the scene; spawning, rotating and the per-frame
// piece update allocate nothing.
#pragma once

#include "engine/Curves.h"
#include "engine/IntPoint.h"
#include "engine/Raster.h"
#include "patterns/Pattern.h"

#include <array>
#include <cstdint>
#include <memory>
#include <numbers>
#include <string>

namespace lumivane {

constexpr int MAX_PIECES = 620;
constexpr int MIN_SYMMETRY = 3;
constexpr int MAX_SYMMETRY = 20;

// One coloured polygon of the kaleidoscope, living near the fundamental triangle.
struct Piece {
    double x = 0.0; // pivot position relative to the image centre, pixels, y downwards
    double y = 0.0;
    std::int32_t shape = 0; // index into the shape library
    double size = 0.0;      // pixels per vertex unit
    double angle = 0.0;     // radians
    ColourRef colour = 0;
    AnimCurve sizeCurve;  // added to size when drawn
    AnimCurve angleCurve; // turning speed when spinning, else an angle offset
    bool spinning = false;
    bool colourCycling = false; // colour follows hue and saturation every frame
    double hue = 0.0;
    double saturation = 0.0;
    bool border = true;
    MotionCurve motion; // wobble offset added to the position when drawn
};

class Scene {
  public:
    Scene();
    ~Scene();
    Scene(const Scene&) = delete;
    Scene& operator=(const Scene&) = delete;

    // Takes the image settings from the pattern and, unless settingsOnly,
    // spawns its three layers. Returns the number of pieces spawned.
    int loadPattern(const Pattern& pattern, bool settingsOnly);
    // Appends up to count pieces of the layer (limited to the room left in
    // the pool). Returns the number spawned.
    int addLayerPieces(const Layer& layer, int count);
    // Re-initialises one piece at a random place of the spawn disc.
    void spawnPiece(Piece& piece, int shape);
    void clearPieces() { pieceCount = 0; }
    // Turns the whole arrangement by one frame's step; rotation is 0..100.
    void rotate(int rotation);
    // The per-frame advance of one piece's curves, before it is drawn.
    void updatePiece(Piece& piece);
    void setAnimationFactor(int animationLevel);

    // Geometry of the drawing area.
    void setViewport(int left, int top, int right, int bottom);
    void resetSpawnDisc();
    // Orientation from the pattern's balance, after symmetry and screenShape are set.
    void applyTilt(int balance);

    std::string shapeName(int index) const;

    // Draws one frame into the surface (engine/Renderer.h): the pieces
    // advance one frame and the image is drawn, with the edge pass when
    // antiAlias is set.
    void renderFrame(Surface& surface, bool antiAlias);

    double orientation = -std::numbers::pi / 2.0; // angle of the first mirror sector
    std::array<Piece, MAX_PIECES> pieces{};
    std::int32_t pieceCount = 0;
    std::int32_t symmetry = 6;
    std::int32_t screenShape = SCREEN_OVAL;
    std::int32_t width = 0;
    std::int32_t height = 0;
    double spawnRadius = 0.0;
    double spawnCentreX = 0.0; // relative to the image centre
    double spawnCentreY = 0.0;
    double mirrorRadius = 0.0;
    std::int32_t centreX = 0;
    std::int32_t centreY = 0;
    double sizeFactor = 1.0;
    ColourRef backgroundColour = 0;
    std::int32_t backgroundMode = BACKGROUND_CONSTANT;
    double backgroundHue = 0.0;
    double backgroundSaturation = 0.0;
    double backgroundValue = 0.0;

    // Work buffers for clipping a piece and converting it to screen points.
    std::array<double, WORK_POINTS> workAX{};
    std::array<double, WORK_POINTS> workAY{};
    std::array<double, WORK_POINTS> workBX{};
    std::array<double, WORK_POINTS> workBY{};
    std::array<double, WORK_POINTS> workTheta{};
    std::array<double, WORK_POINTS> workRho{};
    std::array<IntPoint, WORK_POINTS> workPoints{};  // P images
    std::array<IntPoint, WORK_POINTS> workPointsQ{}; // Q images

    std::int32_t darkBorders = 0;
    ColourRef borderColour = 0; // colour of the border pen: the painted background
    bool antiAlias = false;
    double animationFactor = 1.0; // stretches animation periods

  private:
    struct SlotWeights {
        int limits[SLOTS_PER_LAYER];
        int total;
    };

    static SlotWeights slotWeights(const Layer& layer);
    static int pickSlot(const SlotWeights& weights);
    void placeInSpawnDisc(Piece& piece);
    void applySize(Piece& piece, const Layer& layer, int slot);
    void applySizeChange(Piece& piece);
    void applyColour(Piece& piece, const Layer& layer, int slot, ColourRef layerColour);
    void applyAngle(Piece& piece, int angleMode);
    void applyWobble(Piece& piece, int animate);
    int animationPeriod(int frames) const;
    void loadBackground(const Pattern& pattern);
};

} // namespace lumivane
