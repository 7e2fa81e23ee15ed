#pragma once

#include "game/flow/BattleFrame.h"
#include "game/screens/Screen.h"

class GameContext;

// The battle: the world's frame with the game's controls, sounds, pointer and
// overlays. Escape ends the battle and opens the result screen.
class BattleScreen : public Screen, public BattleHost {
public:
    explicit BattleScreen(GameContext& game);
    void Frame() override;

    int ActionState(int action) const override;
    void PlayHover() override;
    void PlayClick() override;
    void Leave() override;
    void PlaceListener(const Matrix& view) override;
    void DrawCursor(int x, int y, bool altMark, bool orderMark) override;
    void DrawNotices() override;

private:
    GameContext& game;
};
