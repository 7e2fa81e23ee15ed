#pragma once

#include "game/types/Countries.h"

#include <array>

class World;
struct BattleSetup;

// The country's name by country index; "" outside 0..CountryCount - 1.
const char* CountryName(int country);

// The twelve team slots of the country selection, kept for the whole run:
// battles and world resets leave them alone.
struct CountrySelection {
    // Country index placed in slot j, -1 = empty.
    std::array<int, CountryCount> slotCountry;
    // Team number of slot j, 1..MaxTeams.
    std::array<int, CountryCount> slotTeam;
    // 0 = country i is in the available row, -1 = placed in a slot.
    std::array<int, CountryCount> countryAvailable;
    // -1 nothing dragged; 0..11 a country from the row; 100 + j slot j's country.
    int dragSource = -1;
    // The slot marked as the player's own country, -1 for none.
    int playerSlot = -1;
    // Fighter slots per country, 1..MaxFightersPerTeam.
    int fightersPerTeam = 3;

    CountrySelection();

    // Places a country into an empty slot (false when either is taken or out of range).
    bool Place(int country, int slot, int team);
    bool AnyPlaced() const;
    // The player's country from the marked slot (-1 when none is marked or
    // the marked slot is empty) and the marked slot's team (-1 when none is
    // marked).
    int PlayerCountry() const;
    int PlayerTeam() const;
    // What the battle reads of the selection.
    void FillSetup(BattleSetup& setup) const;
};

// The Country records of the placed slots, grouped by team number 1..MaxTeams and
// within a team in slot order, registered in the world in that order.
void CreateCountryRecords(World& world, const CountrySelection& selection);

// Places one station per record at the vertices of an icosahedron of radius
// 60 x 1.1756 around the origin, in a random order, each turned at random.
// Returns the number of participants.
int StartBattle(World& world);

// A battle's start in a fresh world: the country records, the stations and
// the camera's start. Returns the number of participants.
int BeginBattle(World& world, const CountrySelection& selection);
