#pragma once

#include "game/world/BattleSetup.h"
#include "render/Math.h"

#include <array>

class Unit;
class World;

// One participating country in the running battle: its station, its fighter
// slots and the schedule by which it launches fighters. Owned by the world's
// CountryRegistry; deleted by the world's reset.
class Country {
public:
    // Frames between two launches of one country.
    static constexpr int LaunchInterval = 61;
    // Frames a slot must stay empty before it launches again.
    static constexpr int RelaunchDelay = 301;
    // No launch while one of the country's fighters is this close to its station.
    static constexpr float CrowdingRadius = 20.0f;

    // Reads the fighter slots per country from the world's setup, starts the
    // country's statistics row, and becomes the player's record when it is
    // the player's country.
    Country(World& world, int teamId, int countryIndex);
    // Lets go of the units that still refer to its slots.
    ~Country();
    Country(const Country&) = delete;
    Country& operator=(const Country&) = delete;

    // Creates the country's station (through the world's station factory),
    // which becomes the player's station for the player's country.
    Unit* DeployStation(const Vector3& position, const Vector3& forward, const Vector3& up);
    // Creates a fighter of the country's type into the slot, from the station.
    Unit* LaunchFighter(int slot);
    // Once per frame: steers the fighters, then launches by the schedule.
    void Update();
    // The next fighter in the slots, cycling from nextFighterIndex ("My Fighter").
    Unit* NextLivingFighter();
    // A unit is being deleted: empty the slots that still hold it.
    void ForgetUnit(const Unit* gone);
    // Whether slot points into this record's fighter slots.
    bool HoldsSlot(Unit* const* slot) const;

    World& world;
    // Team number 1..12.
    const int teamId;
    // Country index 0..11.
    const int countryIndex;
    // Number of slots in use in slotTimers and fighters, 1..10.
    const int fightersPerTeam;
    // Frames since the last launch; saturates at LaunchInterval.
    int launchTimer = LaunchInterval - 1;
    int nextFighterIndex = 0;
    // Per slot: frames the slot has been empty, saturating at RelaunchDelay;
    // a launch restarts it at a random 0..29.
    std::array<int, MaxFightersPerTeam> slotTimers;
    int score = 0;
    // The station, whose owner slot is this field; null once it is destroyed.
    Unit* station = nullptr;
    // The fighter slots; each fighter's owner slot is its entry.
    std::array<Unit*, MaxFightersPerTeam> fighters{};
};
