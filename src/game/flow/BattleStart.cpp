// The start of a battle from the country selection: records and stations.
#include "game/flow/CountrySelection.h"

#include "game/world/Country.h"
#include "game/world/World.h"

#include <cstddef>
#include <iterator>
#include <utility>

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
