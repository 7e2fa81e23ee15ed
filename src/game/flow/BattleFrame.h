#pragma once

#include "game/world/Overlays.h"
#include "render/Math.h"

class DeviceTexture;
class Input;
class World;

// What one battle frame needs from the screen around it: the game's battle
// screen is one, tests have their own recorders.
class BattleHost {
public:
    // The overlays' click sound is the host's.
    BattleHost() {
        overlay.playClick = [this] { PlayClick(); };
    }
    virtual ~BattleHost() = default;
    // The overlay context refers to this host.
    BattleHost(const BattleHost&) = delete;
    BattleHost& operator=(const BattleHost&) = delete;

    // An action's edge code (0 up, 1 released, 2 pressed, 3 held).
    virtual int ActionState(int action) const = 0;
    virtual void PlayHover() = 0;
    virtual void PlayClick() = 0;
    // Escape: reset the world and go to the result screen. The world must not
    // be touched afterwards.
    virtual void Leave() = 0;
    // Puts the sound listener at the camera of this view, turned with it.
    virtual void PlaceListener(const Matrix& view) = 0;
    // The game's mouse pointer at (x, y) with its two marks.
    virtual void DrawCursor(int x, int y, bool altMark, bool orderMark) = 0;

    // What the game shows over every screen, drawn last before the picture
    // is presented.
    virtual void DrawNotices() {}

    // The sun's texture ("LIGHT"); may be null.
    DeviceTexture* sunTexture = nullptr;
    float fps = 0.0f;
    // Text drawer, country names and participants for the overlays; the frame
    // fills in the screen size, the cursor and the left button.
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
BattleFrameEnd RunBattleFrame(World& world, Input& input, BattleHost& host);
