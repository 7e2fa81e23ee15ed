#include "game/flow/CountrySelection.h"

#include "game/world/BattleSetup.h"
#include "game/world/Country.h"
#include "game/world/World.h"

namespace {

// The icosahedron's vertices; the golden section is the float 0x3F1E377A.
constexpr float Phi = 0.618034f;
constexpr float placement[][3] = {
    {1, 0, Phi},  {0, Phi, -1}, {-Phi, -1, 0}, {-1, 0, -Phi}, {0, -Phi, 1},  {Phi, 1, 0},
    {1, 0, -Phi}, {0, Phi, 1},  {Phi, -1, 0},  {-1, 0, Phi},  {0, -Phi, -1}, {-Phi, 1, 0},
};
// A country more needs a new arrangement: an icosahedron has twelve vertices.
static_assert(std::size(placement) == CountryCount, "one station place per country");

} // namespace

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

void CreateCountryRecords(World& world, const CountrySelection& selection) {
    for (int team = 1; team <= MaxTeams; ++team)
        for (int j = 0; j < CountryCount; ++j)
            if (selection.slotCountry[size_t(j)] >= 0 && selection.slotTeam[size_t(j)] == team)
                world.countries.Create(team, selection.slotCountry[size_t(j)]);
}

int StartBattle(World& world) {
    int perm[CountryCount];
    for (int i = 0; i < CountryCount; ++i) perm[i] = i;
    for (int i = 0; i < CountryCount; ++i) std::swap(perm[i], perm[world.random.Random(CountryCount)]);

    int participants = 0;
    for (size_t k = 0; k < CountryRegistry::Capacity; ++k) {
        Country* record = world.countries[k];
        if (!record) continue;
        const float* row = placement[perm[participants]];
        Vector3 position{row[0] * 60, row[1] * 60, row[2] * 60};
        Vector3 forward = Vec3Normalize(world.random.RandomVector<Vector3>(1));
        Vector3 up = Vec3Normalize(world.random.RandomVector<Vector3>(1));
        record->DeployStation(position, forward, up);
        ++participants;
    }
    return participants;
}

int BeginBattle(World& world, const CountrySelection& selection) {
    CreateCountryRecords(world, selection);
    const int participants = StartBattle(world);
    world.camera.Reset();
    return participants;
}
