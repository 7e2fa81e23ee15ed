#pragma once

#include "game/screens/Screen.h"
#include "game/screens/Widgets.h"

#include <cstdint>

class GameContext;

// Each of red, green and blue = a x t + b x (1 - t), alpha 0xFF.
uint32_t Blend(uint32_t a, uint32_t b, float t);

// The hub: the title picture with a colour sweeping across it, the credits,
// and the ways to the country selection, the settings and out.
class TitleScreen : public Screen {
public:
    explicit TitleScreen(GameContext& game);
    void Frame() override;

private:
    // The next colour of the sweep, and the title strip by strip.
    void DrawTitle();

    GameContext& game;
    // The colour sweep across the title picture.
    int sweepStep = 119;
    uint32_t newColour = 0xFFFFFFFF, oldColour = 0xFFFFFFFF;
    Button chooseCountries, settings, quit;
};
