#include "game/world/CountryRegistry.h"

#include "game/world/BattleStats.h"
#include "game/world/Country.h"
#include "game/world/World.h"

CountryRegistry::CountryRegistry(World& world) : world(world) {}

CountryRegistry::~CountryRegistry() { DeleteAll(); }

Country* CountryRegistry::Create(int teamId, int countryIndex) {
    for (auto& record : records) {
        if (record) continue;
        record = std::make_unique<Country>(world, teamId, countryIndex);
        return record.get();
    }
    return nullptr;
}

void CountryRegistry::UpdateAll() {
    for (auto& record : records)
        if (record) record->Update();
}

void CountryRegistry::DeleteAll() {
    for (auto& record : records) record.reset();
}

void CountryRegistry::AddScore(int points, int countryIndex) {
    for (auto& record : records) {
        if (!record || record->countryIndex != countryIndex) continue;
        record->score += points;
        world.stats.SetScore(countryIndex, record->score);
    }
}

void CountryRegistry::ForgetUnit(const Unit* gone) {
    for (auto& record : records)
        if (record) record->ForgetUnit(gone);
}

size_t CountryRegistry::Count() const {
    size_t count = 0;
    for (const auto& record : records) count += record ? 1 : 0;
    return count;
}

Country* CountryRegistry::OwnerOfSlot(Unit* const* slot) const {
    for (const auto& record : records)
        if (record && record->HoldsSlot(slot)) return record.get();
    return nullptr;
}
