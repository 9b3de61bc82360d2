// One running kaleidoscope: a fixed pool of pieces spawned from a pattern,
// the image-wide settings taken from it and the geometry of the drawing area.
// Everything is allocated with the scene, work buffers included; spawning,
// rotating and drawing a frame allocate nothing.
#pragma once

#include "engine/Geometry.h"
#include "engine/Piece.h"
#include "engine/Raster.h"
#include "engine/Renderer.h"
#include "patterns/Pattern.h"

#include <array>
#include <cstdint>
#include <numbers>
#include <span>

namespace lumivane {

constexpr int MAX_PIECES = 620;
constexpr int MIN_SYMMETRY = 3;
constexpr int MAX_SYMMETRY = 20;

class Scene {
  public:
    // The disc in which pieces are placed, relative to the image centre.
    struct SpawnDisc {
        double radius = 0.0;
        double centreX = 0.0;
        double centreY = 0.0;
    };
    // What is painted behind the image. In the Random and Changing modes the colour is
    // made from hue, saturation and value; Changing turns the hue a degree every frame.
    struct Background {
        std::int32_t mode = BACKGROUND_CONSTANT;
        ColourRef colour = 0;
        double hue = 0.0;
        double saturation = 0.0;
        double value = 0.0;
    };

    Scene();
    Scene(const Scene&) = delete;
    Scene& operator=(const Scene&) = delete;

    // Takes the image settings from the pattern and, unless settingsOnly,
    // spawns its three layers. Returns the number of pieces spawned.
    int loadPattern(const Pattern& pattern, bool settingsOnly);
    // Appends up to count pieces of the layer (limited to the room left in
    // the pool). Returns the number spawned.
    int addLayerPieces(const Layer& layer, int count);
    void clearPieces() { pieceCount_ = 0; }
    // Turns the whole arrangement by one frame's step; rotation is 0..100.
    void rotate(int rotation);
    // The per-frame advance of one piece's curves, before it is drawn.
    void updatePiece(Piece& piece);
    void setAnimationFactor(int animationLevel);
    // The drawing area; the image is centred in it.
    void setViewport(int left, int top, int right, int bottom);

    // Draws one frame into the surface (engine/Renderer.h): the background moves on, every
    // piece advances one frame and is drawn, then the screen shape is finished. The image is
    // laid out for the viewport and clipped to the surface. antiAlias turns the edge pass on;
    // the recorder, if any, sees every polygon.
    void renderFrame(Surface& surface, bool antiAlias, PolygonRecorder* recorder = nullptr);

    // The live pieces, in drawing order.
    std::span<Piece> pieces() { return {pieces_.data(), static_cast<std::size_t>(pieceCount_)}; }
    std::span<const Piece> pieces() const {
        return {pieces_.data(), static_cast<std::size_t>(pieceCount_)};
    }
    int pieceCount() const { return pieceCount_; }
    // The drawing area, the screen shape and the mirror arrangement.
    const ImageGeometry& geometry() const { return geometry_; }
    const SpawnDisc& spawnDisc() const { return spawn_; }
    const Background& background() const { return background_; }
    // Dark borders are drawn in the painted background colour.
    ColourRef borderColour() const { return background_.colour; }
    std::int32_t darkBorders() const { return darkBorders_; }
    // Stretches animation periods: 2 - animationLevel / 56.
    double animationFactor() const { return animationFactor_; }

  private:
    struct SlotWeights {
        int limits[SLOTS_PER_LAYER];
        int total;
    };

    // Re-initialises one piece at a random place of the spawn disc.
    void spawnPiece(Piece& piece, int shape);
    void resetSpawnDisc();
    // Orientation from the pattern's balance, after symmetry and screen shape are set.
    void applyTilt(int balance);
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
    void advanceBackground();

    std::array<Piece, MAX_PIECES> pieces_{};
    int pieceCount_ = 0;
    // orientation: the angle of the first mirror sector; radius: 0.48 x the shorter side.
    ImageGeometry geometry_{SCREEN_OVAL, 6, -std::numbers::pi / 2.0, 0.0, 1.0, 0, 0, 0, 0};
    SpawnDisc spawn_;
    Background background_;
    std::int32_t darkBorders_ = 0;
    double animationFactor_ = 1.0;
    RenderBuffers work_;
};

} // namespace lumivane
