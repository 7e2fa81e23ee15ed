#pragma once

#include "game/types/Countries.h"

// What the country selection decided and the battle reads: the player's
// country and team, and the fighter slots per country. Belongs to the game
// session; the world's reset leaves it alone.
struct BattleSetup {
    // Country index 0..11 of the player, -1 when the player watches.
    int playerCountry = -1;
    // Team number 1..12 of the player's marked slot, also when the slot is
    // empty and the player only watches; -1 when no slot is marked.
    int playerTeam = -1;
    // Fighter slots per country, 1..10.
    int fightersPerTeam = 3;
};
