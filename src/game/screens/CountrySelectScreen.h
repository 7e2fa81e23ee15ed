#pragma once

#include "game/screens/Screen.h"
#include "game/screens/Widgets.h"

#include <cstdint>

class GameContext;

// The countries dragged from the available row into twelve team slots, the
// player's own country marked, team numbers and the number of fighters
// chosen; "Start" begins the battle. The chosen country's station and
// fighter turn beside it.
class CountrySelectScreen : public Screen {
public:
    explicit CountrySelectScreen(GameContext& game);
    void Frame() override;

private:
    // The mouse's work on the selection: drops, drags, clicks and right clicks.
    void Select();
    void Draw();
    // Flag of the country with its top-left corner at (x, y); nothing for -1.
    void DrawFlag(int country, int x, int y, uint32_t color);
    // Starts the battle when a country is placed; true when it started.
    bool StartIfPlaced();

    GameContext& game;
    Button start, cancel;
};
