#pragma once

#include "game/flow/BattleFrame.h"
#include "game/flow/BattleInput.h"
#include "game/screens/Screen.h"

class GameContext;

// The battle: the world's frame with the game's controls, sounds, pointer and
// overlays. Escape ends the battle and opens the result screen. A live battle
// is recorded step by step; a replay plays its recorded steps instead of the
// player's. Pause (or F3) stops a live battle, Space a replay; + and - change
// a replay's speed.
class BattleScreen : public Screen, public BattleHost {
public:
    explicit BattleScreen(GameContext& game);
    void Frame() override;

    void PlayHover() override;
    void PlayClick() override;
    void Leave() override;
    void PlaceListener(const Matrix& view) override;
    void DrawCursor(int x, int y, bool altMark, bool orderMark) override;
    void DrawNotices() override;

private:
    void LiveFrame(World& world);
    void WatchFrame(World& world);
    // Pauses or resumes; while paused no step runs and the picture stays.
    void SetPaused(bool paused);
    // To the result screen with the world reset.
    void ToResults();

    GameContext& game;
    // This frame's step, recorded once the frame is over.
    BattleInput step;
};
