#pragma once

#include "game/weapons/ShotList.h"
#include "game/world/BattleAssets.h"
#include "game/world/CountryRegistry.h"
#include "game/world/Effects.h"
#include "game/world/HitTable.h"
#include "game/world/OrbitCamera.h"
#include "game/world/UnitPool.h"
#include "platform/Random.h"
#include "render/SceneNode.h"

#include <array>
#include <cstdint>
#include <functional>

class BattleStats;
class Country;
class Graphics;
struct BattleSetup;

// The running battle: the unit pools, the hit table, the country records, the
// shots, the effects, the battle's interface state and its random generator.
// Nothing of it is global: several worlds can run side by side, each with its
// own graphics (a headless one draws to a NullDevice). The world refers to,
// but does not own, the session's statistics and setup (they outlive resets)
// and the shared models and sounds.
// Every unit the four pools can hold has its entry in the hit table.
static_assert(HitTable::Capacity ==
              StationPool::Capacity + PanelPool::Capacity + TurretPool::Capacity + FighterPool::Capacity);

class World {
public:
    // Bits of a family mask for NearestAcrossFamilies.
    static constexpr int StationFamily = 1;
    static constexpr int PanelFamily = 2;
    static constexpr int TurretFamily = 4;
    static constexpr int FighterFamily = 8;

    // An empty world; every random draw of the battle comes from seed.
    World(Graphics& graphics, BattleAssets& assets, BattleStats& stats, const BattleSetup& setup, uint32_t seed);
    // Empties itself first, in the order of a reset.
    ~World();
    World(const World&) = delete;
    World& operator=(const World&) = delete;

    // Back to an empty battle: interface state to its start values, camera
    // reset, hit table cleared, effects, shots, stations, panels, turrets and
    // fighters deleted, country records deleted.
    void ResetWorld();
    // The part of a battle frame that needs no player: the countries (their
    // fighters' steps and launches), then every family updated and drawn in
    // full before the next: stations, panels, turrets, fighters, shots,
    // explosions, trails, vapour.
    void StepBattle();
    void UpdateAndDrawAll();
    // A unit is being deleted: every pointer to it anywhere in the world is
    // cleared (the selection, the camera focus, the player's station, country
    // slots, its owner slot, shots' shooters and targets, beam contacts, other
    // units' references and owner slots inside it, trails on its node), so
    // nothing follows it afterwards and a new unit at the same address is
    // never taken for it. The pools call it before deleting a unit; the unit's
    // destructor calls it again for units deleted anywhere else.
    void Forget(const Unit* gone);

    // The nearest enemy of the reference among the families of the mask, by
    // distance times the family's weight (fighters count 0.8); on equal
    // weighted distance the later family of stations, panels, turrets,
    // fighters wins.
    Unit* NearestAcrossFamilies(const Unit* reference, const Vector3& point, int familyMask) const;
    // The unit under the mouse: each family's pick, by camera distance times
    // the family's weight (stations 10, panels 2, turrets 1, fighters 0.1),
    // ties to the later family.
    Unit* PickUnderCursor(int mouseX, int mouseY) const;
    // The family whose pool holds the unit (fighters when none does).
    UnitFamily FamilyOf(const Unit* unit) const;
    // A blast over all four pools: each unit takes power - 10 x distance.
    void BlastDamageAll(int power, const Vector3& centre, int attackerCountry, int attackerTeam);

    // Plays a shared sound at a point with a volume factor (see SoundPool).
    void PlaySound(BattleSound sound, const Vector3& position, float volumeFactor);
    // The explosion sound, as loud as the explosion is big.
    void PlayExplosionSound(const Vector3& position, float size);
    // How often the battle has asked for a sound (heard or not).
    int SoundRequests(BattleSound sound) const { return soundRequests[size_t(sound)]; }

    // The camera's eye, from the current view.
    Vector3 CameraEye() const;
    // A number no unit, shot or effect of this world had before: what its
    // draws are tagged with (MakeDrawTag). Nothing in the battle reads it.
    uint64_t NewSerial() { return ++serials; }
    // The unit the player flies, or null.
    Unit* FlownUnit() const { return *manualSlot; }
    bool NobodyFlown() const { return manualSlot == &dummySlot; }
    // Back to the orbit camera: nobody is flown.
    void ReleaseManualControl() { manualSlot = &dummySlot; }

    Graphics& graphics;
    BattleAssets& assets;
    BattleStats& stats;
    const BattleSetup& setup;
    RandomGenerator random;

    HitTable hitTable;
    StationPool stations;
    PanelPool panels;
    TurretPool turrets;
    FighterPool fighters;
    CountryRegistry countries;
    ShotList shots;
    ExplosionPool explosions;
    VapourPool vapour;
    TrailPool trails;

    // The nodes the plasma, laser and barrage classes re-place and draw for
    // every live shot (missiles have their own).
    SceneNode plasmaNode;
    SceneNode laserNode;
    SceneNode barrageNode;
    // The flown fighter's gun sight and its arrows to the nearest enemy
    // fighter and station, re-placed and drawn every frame.
    SceneNode sightBody;
    SceneNode enemyFighterArrow;
    SceneNode enemyStationArrow;
    // Serial numbers handed out so far (resets keep counting).
    uint64_t serials = 0;
    // The pose the pilot view showed last, shared by all fighters (switching
    // to another fighter shows the previous one's pose for one frame); kept
    // by resets.
    Vector3 lastForward{0, 0, 1};
    Vector3 lastUp{0, 1, 0};
    Vector3 lastPosition{};
    // The player's controls of this step as the flown fighter reads them,
    // indexed by action: edge codes (0 up, 1 released, 2 pressed, 3 held).
    // The battle frame sets them; all up otherwise.
    static constexpr int MaxActions = 32;
    std::array<uint8_t, MaxActions> playerActions{};

    // How the families built elsewhere plug in. The fighter factory makes a
    // fighter of the country's type in the given slot, launched from the
    // country's station; the station factory makes the country's station with
    // the record's station field as its owner slot. Either may be empty:
    // nothing is then made.
    std::function<Unit*(Country& country, int slot)> launchFighter;
    // Told of every unit destroyed, before its OnDestroyed: the attacker's
    // country and team (-1 for nobody; a teammate is charged, not credited)
    // and the score change the kill caused the attacker. For the battle lab's
    // event log; empty in the game.
    std::function<void(const Unit& unit, int killerCountry, int killerTeam, int points)> onUnitDestroyed;
    std::function<Unit*(Country& country, const Vector3& position, const Vector3& forward, const Vector3& up)>
        deployStation;
    // Told when the fighter the player flies takes damage (destroyed: the
    // damage finished it). The game shakes the pad; empty in the lab.
    std::function<void(bool destroyed)> onFlownUnitHit;

    // The battle's interface state (the reset's start values in brackets).
    // The game's own mouse cursor in back-buffer pixels (screen centre).
    int cursorX = 0;
    int cursorY = 0;
    // Not owned (null).
    Unit* selectedUnit = nullptr;
    // selectedUnit at the start of the frame (null).
    Unit* previousSelected = nullptr;
    // The focused fighter is seen through its own chase view (false).
    bool pilotView = false;
    bool overlayOn = true;
    // 0: meters only on the selected and the flown unit; 1: on all units;
    // 2: also the families' markers (1).
    int meterMode = 1;
    // The slot of the fighter the player flies; the dummy slot, which always
    // holds null, while nobody is flown.
    Unit** manualSlot;
    bool rightClickArmed = false;
    int rightPressX = 0;
    int rightPressY = 0;
    // Set when the player's station is deployed (null).
    Unit* playerStation = nullptr;
    // Set when the player's record is created (null).
    Country* playerCountryRecord = nullptr;
    // The direction the one light shines; set at start-up, kept by resets.
    Vector3 lightDirection;
    OrbitCamera camera;

private:
    // Deletes everything the battle made, in the reset's order.
    void Empty();

    Unit* dummySlot = nullptr;
    std::array<int, size_t(BattleSound::Count)> soundRequests{};
};
