#pragma once

#include "render/Device.h"
#include "render/Math.h"

#include <cstdint>
#include <string>

class SceneNode;
class World;

// How the hit table tests a unit: against its mesh's bounding sphere, or
// against the mesh's triangles.
enum class HitTest : uint8_t { Sphere = 0, Mesh = 1 };

// The four kinds of unit. Each has its own pool, its own statistics columns
// and its own construction values.
enum class UnitFamily { Station, Panel, Turret, Fighter };

// What a family's base passes to the Unit constructor.
struct FamilyTraits {
    int scoreValue;
    float pickRadius;
    HitTest hitTest;
};

constexpr FamilyTraits TraitsOf(UnitFamily family) {
    switch (family) {
    case UnitFamily::Station: return {10, 5.0f, HitTest::Mesh};
    case UnitFamily::Panel: return {2, 0.5f, HitTest::Mesh};
    case UnitFamily::Turret: return {3, 0.5f, HitTest::Sphere};
    case UnitFamily::Fighter: break;
    }
    return {1, 0.7f, HitTest::Sphere};
}

// Everything in battle that can be hit, selected and destroyed: stations,
// panels, turrets and fighters. A unit belongs to its World, is owned by its
// family's pool and is deleted only by that pool (or by the world's reset),
// after its death sequence has run. Deleting a unit makes the world forget
// it: every non-owning pointer to it is cleared (see World::Forget).
class Unit {
public:
    // Registers the unit with its node in the world's hit table. hitPoints
    // below 1 are bad data: logged and raised to 1.
    Unit(World& world, int team, int country, int scoreValue, Unit** ownerSlot, int hitPoints, SceneNode* node,
         HitTest hitTest, float pickRadius);
    virtual ~Unit();
    Unit(const Unit&) = delete;
    Unit& operator=(const Unit&) = delete;

    // Appends the family's lines to a description (unit overlay, country selection).
    virtual void Describe(std::string& text) const = 0;
    // Called once when hp reaches 0; killerCountry is -1 when nobody is credited.
    // Counts the statistics and starts the family's death effects.
    virtual void OnDestroyed(int killerCountry) = 0;
    // Where a shooter at `shooter` should aim; shotFactor is the lead constant
    // divided by the shot's speed. Units that do not move answer their position.
    virtual Vector3 GetAimPoint(const Vector3& shooter, float shotFactor) const;
    // The unit this one is attacking.
    virtual Unit* GetTarget() const { return nullptr; }
    // Camera hook: true when the orbit camera should look at *out. A unit that
    // sets the view itself (a fighter in pilot view, or asked with a null out)
    // returns false.
    virtual bool GetCameraTarget(Vector3* out);
    // True when the player may now fly this unit.
    virtual bool TakeManualControl() { return false; }
    // The player's order to attack target (null: stop); true when accepted.
    virtual bool Order(Unit* /*target*/) { return false; }
    // Stations: the launch point and the two launch axes in world space, for
    // the fighters they launch. Other units have none.
    virtual bool LaunchPose(Vector3& /*position*/, Vector3& /*forward*/, Vector3& /*up*/) const { return false; }

    // The family's per-frame step, called by its pool: moves, fights and draws
    // the unit; true when the unit has finished dying and is to be deleted.
    virtual bool Update() = 0;
    // The steering steps a Country runs for the units in its fighter slots
    // before the pools update: the AI, or the player's controls for the flown one.
    virtual void UpdateAI() {}
    virtual void UpdateManual() {}
    // Another unit is being deleted: clear every pointer this unit holds to it
    // (targets, a panel's or turret's station, slots that point into it). Only
    // compare `gone`; it must not be followed.
    virtual void ForgetUnit(const Unit* /*gone*/) {}
    // Whether slot is one of the slots this unit keeps for other units (a
    // station's panel and turret slots): when this unit is deleted, units
    // whose owner slot lies here let go of it.
    virtual bool OwnsSlot(Unit* const* /*slot*/) const { return false; }

    // Takes hit points; at 0 the unit leaves the hit table, its owner slot and
    // the selection, the kill is scored, and OnDestroyed runs. Amounts below 1
    // and damage to a destroyed unit are ignored.
    void Damage(int amount, int attackerCountry, int attackerTeam);
    // Restores hit points up to maxHp; a destroyed unit is never healed.
    void Heal(int amount);
    // Both units take half the other's maxHp, each credited to the other.
    void Collide(Unit& other);
    // Destroys the unit without credit to anybody.
    void SelfDestruct();
    Vector3 GetWorldPosition() const;
    bool Alive() const { return hp > 0; }

    // The health bar above the unit, with the selection frame and the camera
    // focus mark; drawn by every family's update.
    void DrawMeter() const;
    // A health bar in screen pixels (overlays).
    void DrawHpBar(int x, int y, int width, int height) const;
    // A yellow frame around the unit (a fighter's ordered target).
    void DrawTargetBox() const;
    // What the unit's part's draws are tagged with (part 0 is the main node).
    uint64_t DrawTag(uint32_t part) const { return MakeDrawTag(serial, part); }

    World& world;
    // This unit's number among everything of its world (World::NewSerial).
    const uint64_t serial;
    int team;
    int country;
    int hp;
    int maxHp;
    // Frames since hp reached 0; the family's update counts it and ends the unit with it.
    int dyingFrames = 0;
    int scoreValue;
    // Apparent radius for mouse picking and the size of the meter.
    float pickRadius;
    // The unit's position, orientation and mesh; not owned (usually a member of the family).
    SceneNode* node;
    // The variable that refers to this unit from its owner (a Country slot, a
    // station's panel or turret slot); set to null when the unit is destroyed.
    // Null once used, or when nobody owns the unit.
    Unit** ownerSlot;
};
