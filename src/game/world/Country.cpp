#include "game/world/Country.h"

#include "game/world/BattleStats.h"
#include "game/world/Unit.h"
#include "game/world/World.h"
#include "platform/Log.h"

#include <algorithm>

namespace {

int CheckedFighterCount(int requested) {
    int count = std::clamp(requested, 1, MaxFightersPerTeam);
    if (count != requested) Log("国: 戦闘機の数 %d は使えません. %d にします.\n", requested, count);
    return count;
}

} // namespace

Country::Country(World& world, int teamId, int countryIndex)
    : world(world), teamId(teamId), countryIndex(countryIndex),
      fightersPerTeam(CheckedFighterCount(world.setup.fightersPerTeam)) {
    slotTimers.fill(RelaunchDelay - 1);
    if (countryIndex == world.setup.playerCountry) world.playerCountryRecord = this;
    world.stats.StartCountry(countryIndex, teamId);
}

Country::~Country() {
    if (world.playerCountryRecord == this) world.playerCountryRecord = nullptr;
    if (HoldsSlot(world.manualSlot)) world.ReleaseManualControl();
    // Units that outlive their record must not write into it when they die.
    if (station && station->ownerSlot == &station) station->ownerSlot = nullptr;
    for (Unit*& fighter : fighters)
        if (fighter && fighter->ownerSlot == &fighter) fighter->ownerSlot = nullptr;
}

Unit* Country::DeployStation(const Vector3& position, const Vector3& forward, const Vector3& up) {
    if (!world.deployStation) return nullptr;
    Unit* made = world.deployStation(*this, position, forward, up);
    if (made && countryIndex == world.setup.playerCountry) world.playerStation = made;
    return made;
}

Unit* Country::LaunchFighter(int slot) {
    if (slot < 0 || slot >= fightersPerTeam || !station || !world.launchFighter) return nullptr;
    return world.launchFighter(*this, slot);
}

void Country::Update() {
    for (int i = 0; i < fightersPerTeam; ++i) {
        Unit* fighter = fighters[size_t(i)];
        if (!fighter) continue;
        if (world.manualSlot == &fighters[size_t(i)])
            fighter->UpdateManual();
        else
            fighter->UpdateAI();
    }
    // A country without a station never launches again.
    if (!station) return;
    if (launchTimer < LaunchInterval) ++launchTimer;
    Vector3 home = station->GetWorldPosition();
    for (int i = 0; i < fightersPerTeam; ++i) {
        if (fighters[size_t(i)]) continue;
        int& timer = slotTimers[size_t(i)];
        if (timer < RelaunchDelay) ++timer;
        if (timer < RelaunchDelay || launchTimer < LaunchInterval) continue;
        bool crowded = std::any_of(fighters.begin(), fighters.begin() + fightersPerTeam, [&](const Unit* fighter) {
            return fighter && fighter->hp > 0 && Vec3Length(fighter->GetWorldPosition() - home) < CrowdingRadius;
        });
        if (crowded) continue;
        launchTimer = 0;
        timer = world.random.Random(30);
        LaunchFighter(i);
    }
}

Unit* Country::NextLivingFighter() {
    int start = std::clamp(nextFighterIndex, 0, fightersPerTeam - 1);
    for (int k = 0; k < fightersPerTeam; ++k) {
        int i = (start + k) % fightersPerTeam;
        if (Unit* fighter = fighters[size_t(i)]) {
            nextFighterIndex = (i + 1) % fightersPerTeam;
            return fighter;
        }
    }
    return nullptr;
}

void Country::ForgetUnit(const Unit* gone) {
    if (station == gone) station = nullptr;
    for (Unit*& fighter : fighters)
        if (fighter == gone) fighter = nullptr;
}

bool Country::HoldsSlot(Unit* const* slot) const {
    return std::any_of(fighters.begin(), fighters.end(), [slot](Unit* const& entry) { return &entry == slot; });
}
