#include "game/world/World.h"

#include "game/world/BattleSetup.h"
#include "game/world/BattleStats.h"
#include "game/world/Country.h"
#include "platform/SoundVolume.h"
#include "render/Graphics.h"

namespace {

// Family weights of the cross-family queries, in the order stations, panels,
// turrets, fighters: fighters are preferred over a station behind them.
constexpr float NearestWeights[4] = {1.0f, 1.0f, 1.0f, 0.8f};
constexpr float PickWeights[4] = {10.0f, 2.0f, 1.0f, 0.1f};

// The direction of the light before normalising.
constexpr Vector3 LightTowards{1, -2, 1};

} // namespace

World::World(Graphics& graphics, BattleAssets& assets, BattleStats& stats, const BattleSetup& setup, uint32_t seed)
    : graphics(graphics), assets(assets), stats(stats), setup(setup), random(seed), stations(*this),
      panels(*this), turrets(*this), fighters(*this), countries(*this), shots(hitTable), explosions(*this), vapour(*this),
      trails(*this), manualSlot(&dummySlot), lightDirection(Vec3Normalize(LightTowards)), camera(*this) {
    plasmaNode.Init(&assets.plasma, 0, 0, 0, 1);
    laserNode.Init(&assets.laser, 0, 0, 0, 1);
    barrageNode.Init(&assets.barrage, 0, 0, 0, 1);
    sightBody.Init(&assets.sight, 0, 0, 0, 1);
    enemyFighterArrow.Init(&assets.enemyFighterArrow, 0, 0, 0, 1);
    enemyStationArrow.Init(&assets.enemyStationArrow, 0, 0, 0, 1);
    sightBody.tag = SightTag;
    enemyFighterArrow.tag = FighterArrowTag;
    enemyStationArrow.tag = StationArrowTag;
    ResetWorld();
}

World::~World() { Empty(); }

void World::ResetWorld() {
    cursorX = graphics.uiWidth / 2;
    cursorY = graphics.uiHeight / 2;
    meterMode = 1;
    overlayOn = true;
    pilotView = false;
    manualSlot = &dummySlot;
    previousSelected = selectedUnit = playerStation = nullptr;
    playerCountryRecord = nullptr;
    camera.Reset();
    Empty();
}

void World::Empty() {
    hitTable.Clear();
    vapour.ClearAll();
    trails.ClearAll();
    explosions.ClearAll();
    shots.ClearShots();
    stations.ClearAll();
    panels.ClearAll();
    turrets.ClearAll();
    fighters.ClearAll();
    countries.DeleteAll();
    manualSlot = &dummySlot;
    dummySlot = nullptr;
}

void World::Forget(const Unit* gone) {
    if (!gone) return;
    if (selectedUnit == gone) selectedUnit = nullptr;
    if (previousSelected == gone) previousSelected = nullptr;
    if (playerStation == gone) playerStation = nullptr;
    if (camera.focus == gone) camera.focus = nullptr;
    hitTable.Remove(gone);
    // Its owner must not keep it, nor may it write into an owner that goes first.
    if (gone->ownerSlot && *gone->ownerSlot == gone) *gone->ownerSlot = nullptr;
    countries.ForgetUnit(gone);
    shots.ForgetUnit(gone);
    // Its node goes with it; trails must not follow it any more.
    if (gone->node) trails.DetachFrom(gone->node);
    auto forgetIn = [gone](const auto& pool) {
        for (size_t i = 0; i < pool.Capacity; ++i) {
            Unit* unit = pool[i];
            if (!unit || unit == gone) continue;
            unit->ForgetUnit(gone);
            // Panels and turrets sit in slots of their station.
            if (unit->ownerSlot && gone->OwnsSlot(unit->ownerSlot)) unit->ownerSlot = nullptr;
        }
    };
    forgetIn(stations);
    forgetIn(panels);
    forgetIn(turrets);
    forgetIn(fighters);
}

Unit* World::NearestAcrossFamilies(const Unit* reference, const Vector3& point, int familyMask) const {
    Unit* candidates[4] = {
        familyMask & StationFamily ? stations.Nearest(reference, point) : nullptr,
        familyMask & PanelFamily ? panels.Nearest(reference, point) : nullptr,
        familyMask & TurretFamily ? turrets.Nearest(reference, point) : nullptr,
        familyMask & FighterFamily ? fighters.Nearest(reference, point) : nullptr,
    };
    Unit* nearest = nullptr;
    float best = 0.0f;
    for (int family = 0; family < 4; ++family) {
        Unit* candidate = candidates[family];
        if (!candidate) continue;
        float weighted = Vec3Length(candidate->GetWorldPosition() - point) * NearestWeights[family];
        if (!nearest || weighted <= best) {
            best = weighted;
            nearest = candidate;
        }
    }
    return nearest;
}

Unit* World::PickUnderCursor(int mouseX, int mouseY) const {
    Unit* candidates[4] = {stations.Pick(mouseX, mouseY), panels.Pick(mouseX, mouseY), turrets.Pick(mouseX, mouseY),
                           fighters.Pick(mouseX, mouseY)};
    Vector3 eye = CameraEye();
    Unit* picked = nullptr;
    float best = 0.0f;
    for (int family = 0; family < 4; ++family) {
        Unit* candidate = candidates[family];
        if (!candidate) continue;
        float weighted = Vec3Length(candidate->GetWorldPosition() - eye) * PickWeights[family];
        if (!picked || weighted <= best) {
            best = weighted;
            picked = candidate;
        }
    }
    return picked;
}

void World::BlastDamageAll(int power, const Vector3& centre, int attackerCountry, int attackerTeam) {
    stations.BlastDamage(power, centre, attackerCountry, attackerTeam);
    panels.BlastDamage(power, centre, attackerCountry, attackerTeam);
    turrets.BlastDamage(power, centre, attackerCountry, attackerTeam);
    fighters.BlastDamage(power, centre, attackerCountry, attackerTeam);
}

void World::PlaySound(BattleSound sound, const Vector3& position, float volumeFactor) {
    if (sound >= BattleSound::Count) return;
    ++soundRequests[size_t(sound)];
    assets.Sound(sound).Play(position.x, position.y, position.z, volumeFactor);
}

void World::PlayExplosionSound(const Vector3& position, float size) {
    ++soundRequests[size_t(BattleSound::Explosion)];
    assets.Sound(BattleSound::Explosion).PlayAtVolume(position.x, position.y, position.z, ExplosionVolume(size));
}

Vector3 World::CameraEye() const { return ::CameraEye(graphics.view); }

void World::StepBattle() {
    countries.UpdateAll();
    UpdateAndDrawAll();
}

void World::UpdateAndDrawAll() {
    stations.UpdateAll();
    panels.UpdateAll();
    turrets.UpdateAll();
    fighters.UpdateAll();
    shots.UpdateShots();
    explosions.UpdateAll();
    trails.UpdateAll();
    vapour.UpdateAll();
}

UnitFamily World::FamilyOf(const Unit* unit) const {
    if (stations.Contains(unit)) return UnitFamily::Station;
    if (panels.Contains(unit)) return UnitFamily::Panel;
    if (turrets.Contains(unit)) return UnitFamily::Turret;
    return UnitFamily::Fighter;
}
