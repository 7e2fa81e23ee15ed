#pragma once

#include "game/screens/Screen.h"
#include "game/screens/Widgets.h"
#include "game/types/Countries.h"

#include <array>

class GameContext;

// The battle's table: every participant's flag, name and ten figures,
// sorted by the column whose header was clicked (by team at first).
class ResultScreen : public Screen {
public:
    explicit ResultScreen(GameContext& game);
    void Frame() override;

    // What the table shows, in order, and the column it is sorted by.
    const std::array<int, CountryCount>& Order() const { return order; }
    int SortColumn() const { return sortColumn; }

private:
    // The participants in slot order, then sorted by the column (stable).
    void Sort();

    GameContext& game;
    Button back;
    // The column the table is sorted by (-1 until the first sort).
    int sortColumn = -1;
    std::array<int, CountryCount> order{};
};
