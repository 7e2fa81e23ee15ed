#pragma once

#include "game/types/FighterType.h"
#include "game/weapons/WeaponSpec.h"
#include "game/world/Unit.h"
#include "render/SceneNode.h"

#include <array>
#include <string>

class Trail;

// The small craft every country launches from its station. Four control
// inputs (elevator, rudder, aileron, throttle) drive a flight model without
// inertia of direction: the fighter always flies along its nose. The inputs
// are set by the AI or, for the one fighter the player flies, by the
// player's controls, before the fighter's own update moves it in the same
// frame. What differs between the twelve types is data (FighterType).
class Fighter : public Unit {
public:
    // AI states.
    static constexpr int Idle = 0;
    static constexpr int Attack = 1;
    static constexpr int Extend = 2;
    static constexpr int BreakOff = 3;

    // Built motionless at throttle 0, above its launch point along the launch
    // up by the type's clearance plus 0.1, nose along launchForward; writes
    // itself into its owner slot. The caller hands it to the fighter pool.
    Fighter(World& world, const FighterType& type, int team, Unit** ownerSlot, const Vector3& launchPos,
            const Vector3& launchForward, const Vector3& launchUp);
    ~Fighter() override;

    void Describe(std::string& text) const override;
    void OnDestroyed(int killerCountry) override;
    // Leads the fighter: its position advanced along its nose by the distance
    // it flies while a shot covers the distance from the shooter.
    Vector3 GetAimPoint(const Vector3& shooter, float shotFactor) const override;
    // The player's order, else the AI's own choice (or the missile lock).
    Unit* GetTarget() const override { return orderedTarget ? orderedTarget : chosenTarget; }
    bool GetCameraTarget(Vector3* out) override;
    bool TakeManualControl() override;
    bool Order(Unit* target) override;
    bool Update() override;
    void UpdateAI() override;
    void UpdateManual() override;
    void ForgetUnit(const Unit* gone) override;

    // Set an input (-1, 0 or +1); a change of value puffs the thrusters.
    void SetElevator(float value);
    void SetRudder(float value);
    void SetAileron(float value);
    // One throttle step (+1 or -1) within -1..3, with its puffs and trails.
    void ChangeThrottle(float step);
    // Lets every engine trail go; they fade out on their own.
    void ReleaseTrails();
    // Fire the gun or the missiles when the mount has reloaded.
    void FireMain();
    void FireSub();

    // The country selection's display: the numbers, then a slow turn and a draw.
    void Showcase(std::string& text);
    // The flown fighter's gun sight, in the fighter's frame.
    void DrawSight();
    // The flown fighter's arrows to the nearest enemy fighter and station,
    // and the missile lock (which sets chosenTarget), drawn over everything.
    void DrawManualDisplay();
    // The triangle beside every fighter on screen in meter mode 2.
    void DrawFighterMarker() const;

    const FighterType& type;
    // 0 idle, 1 attack, 2 extend, 3 break off.
    int aiState = Idle;
    int trailCount;
    // Commanded thrust step: -1, 0, 1, 2 or 3.
    float throttle = 0;
    float baseSpeed;
    // Actual thrust; follows throttle.
    float speedFactor = 0;
    float pitchInput = 0, yawInput = 0, rollInput = 0;
    float pitchRate, yawRate, rollRate;
    // The smoothed inputs, which turn the fighter.
    float pitchResponse = 0, yawResponse = 0, rollResponse = 0;
    // The wreck's course and spin axis (in its own frame), set at death.
    Vector3 driftDirection;
    Vector3 tumbleAxis;
    SceneNode body;
    // Engine trails attached to the body; owned by the trail pool, held only
    // until released (null entries are empty). trailCount entries are used.
    std::array<Trail*, FighterType::MaxTrails> trails{};
    WeaponSpec mainWeapon;
    WeaponSpec subWeapon;
    // Not owned; cleared when the unit is deleted or found destroyed.
    Unit* orderedTarget = nullptr;
    Unit* chosenTarget = nullptr;

private:
    struct AiView;
    // The AI's states: choose a target; turn in and fire; steer away from the
    // target (extending before an attack, breaking off after one or near a station).
    void AiIdle(const AiView& view);
    void AiAttack(const AiView& view);
    void AiSteerAway(const AiView& view);
    // The target is gone: both targets are dropped and the fighter idles.
    void DropTargets();
    bool UpdateDying();
    void Puffs(FighterHook hook, float size);
    void AppendWeaponText(std::string& text) const;
    // A point of the model in world space.
    Vector3 WorldPoint(const ModelPoint& at) const;
    void LaunchMissile(const ModelPoint& at);
};
