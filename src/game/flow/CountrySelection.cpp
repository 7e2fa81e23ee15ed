#include "game/flow/CountrySelection.h"

#include "game/world/BattleSetup.h"

#include <cstddef>

const char* CountryName(int country) {
    return country >= 0 && country < CountryCount ? CountryNames[size_t(country)] : "";
}

CountrySelection::CountrySelection() {
    for (int j = 0; j < CountryCount; ++j) {
        slotCountry[size_t(j)] = -1;
        slotTeam[size_t(j)] = j / 4 + 1;
        countryAvailable[size_t(j)] = 0;
    }
}

bool CountrySelection::Place(int country, int slot, int team) {
    if (country < 0 || country >= CountryCount || slot < 0 || slot >= CountryCount) return false;
    if (slotCountry[size_t(slot)] != -1 || countryAvailable[size_t(country)] != 0) return false;
    slotCountry[size_t(slot)] = country;
    countryAvailable[size_t(country)] = -1;
    if (team >= 1 && team <= MaxTeams) slotTeam[size_t(slot)] = team;
    return true;
}

bool CountrySelection::AnyPlaced() const {
    for (int country : slotCountry)
        if (country >= 0) return true;
    return false;
}

int CountrySelection::PlayerCountry() const {
    return playerSlot >= 0 && playerSlot < CountryCount ? slotCountry[size_t(playerSlot)] : -1;
}

int CountrySelection::PlayerTeam() const {
    // A marked slot gives its team even while it is empty: the player then
    // watches from that team's side (its colours in the markers and results).
    return playerSlot >= 0 && playerSlot < CountryCount ? slotTeam[size_t(playerSlot)] : -1;
}

void CountrySelection::FillSetup(BattleSetup& setup) const {
    setup.playerCountry = PlayerCountry();
    setup.playerTeam = PlayerTeam();
    setup.fightersPerTeam = fightersPerTeam;
}
