#pragma once

#include "game/world/Overlays.h"
#include "render/Math.h"

#include <functional>

class DeviceTexture;
class GameContext;
class Input;
class World;

// The battle screen's frame, called once per frame while a battle runs.
// Escape resets the world and switches to the result screen.
void BattleSceneFrame(GameContext& game);

// What one battle frame needs from the screen around it. BattleSceneFrame
// fills it from the game; tests fill it with their own recorders.
struct BattleFrameHooks {
    // An action's edge code (0 up, 1 released, 2 pressed, 3 held).
    std::function<int(int action)> actionState;
    std::function<void()> playHover;
    std::function<void()> playClick;
    // Escape: reset the world and go to the result screen. The world must not
    // be touched afterwards.
    std::function<void()> leave;
    // Puts the sound listener at the camera of this view, turned with it.
    std::function<void(const Matrix& view)> placeListener;
    // The game's mouse pointer with its two marks.
    std::function<void(int x, int y, bool altMark, bool orderMark)> drawCursor;
    // Closes and presents the frame; empty: the graphics' own EndFrame.
    std::function<void()> endFrame;
    // The sun's texture ("LIGHT"); may be null.
    DeviceTexture* sunTexture = nullptr;
    float fps = 0.0f;
    // Screen size, text drawer, country names and participants for the
    // overlays; the frame fills in the cursor, the left button and the click.
    OverlayContext overlay;
};

enum class BattleFrameEnd {
    Presented,
    // The device could not draw: nothing happened this frame.
    Skipped,
    // Escape: the world was reset and the result screen is next.
    Left
};

// One battle frame: mouse and cursor, the player's selection, orders and
// camera, or the flown fighter; every family updated and drawn; the sun,
// the overlays, the cursor or the manual display, the frame rate.
BattleFrameEnd RunBattleFrame(World& world, Input& input, const BattleFrameHooks& hooks);
