#include "game/replay/ReplayFormat.h"

#include "game/world/World.h"

namespace {

// FNV-1a, 32 bits.
struct Fnv {
    uint32_t hash = 2166136261u;
    void Add(const void* bytes, size_t n) {
        const auto* p = static_cast<const uint8_t*>(bytes);
        for (size_t i = 0; i < n; ++i) hash = (hash ^ p[i]) * 16777619u;
    }
    void Add(float f) { Add(&f, sizeof f); }
    void Add(int32_t i) { Add(&i, sizeof i); }
    void Add(const Vector3& v) {
        Add(v.x);
        Add(v.y);
        Add(v.z);
    }
};

template <typename Pool>
void HashPool(const Pool& pool, int family, std::array<std::array<Fnv, 4>, CountryCount>& h) {
    for (size_t i = 0; i < Pool::Capacity; ++i) {
        const Unit* unit = pool[i];
        if (!unit || unit->country < 0 || unit->country >= CountryCount) continue;
        Fnv& f = h[size_t(unit->country)][size_t(family)];
        f.Add(int32_t(i));
        f.Add(int32_t(unit->hp));
        if (unit->node) {
            f.Add(unit->GetWorldPosition());
            f.Add(unit->node->GetForward());
            f.Add(unit->node->GetUp());
        }
    }
}

} // namespace

WorldChecksum ChecksumWorld(const World& world) {
    std::array<std::array<Fnv, 4>, CountryCount> h{};
    HashPool(world.stations, 0, h);
    HashPool(world.panels, 1, h);
    HashPool(world.turrets, 2, h);
    HashPool(world.fighters, 3, h);
    WorldChecksum sum;
    for (int c = 0; c < CountryCount; ++c) {
        for (int f = 0; f < WorldChecksum::Families; ++f)
            sum.units[size_t(c)][size_t(f)] = h[size_t(c)][size_t(f)].hash;
        sum.scores[size_t(c)] = world.stats.Get(c, BattleStats::Score);
    }
    return sum;
}

void ReplayWriter::AfterStep(const World& world) {
    if (steps > 0 && steps % replay::CheckpointSteps == 0 && steps / replay::CheckpointSteps > checkpoints)
        Checkpoint(ChecksumWorld(world));
}
