#include "game/world/UnitPool.h"

#include "game/world/World.h"
#include "render/Graphics.h"
#include "render/SceneNode.h"

namespace pool {

namespace {
// Nothing in battle is this far away, so any real distance beats it.
constexpr float FarAway = 1e14f;

bool IsEnemy(const Unit& unit, const Unit* reference) { return !reference || unit.team != reference->team; }
} // namespace

Unit* Nearest(std::span<const std::unique_ptr<Unit>> slots, const Unit* reference, const Vector3& point) {
    Unit* nearest = nullptr;
    float best = FarAway;
    for (const auto& slot : slots) {
        Unit* unit = slot.get();
        if (!unit || unit->hp <= 0 || !IsEnemy(*unit, reference)) continue;
        float distance = Vec3Length(unit->GetWorldPosition() - point);
        if (distance < best) {
            best = distance;
            nearest = unit;
        }
    }
    return nearest;
}

Unit* Pick(std::span<const std::unique_ptr<Unit>> slots, const World& world, int mouseX, int mouseY) {
    const Graphics& graphics = world.graphics;
    Vector3 eye = CameraEye(graphics.view);
    Unit* picked = nullptr;
    float best = FarAway;
    for (const auto& slot : slots) {
        Unit* unit = slot.get();
        if (!unit || unit->hp <= 0) continue;
        Vector3 position = unit->GetWorldPosition();
        Vector3 screen = ProjectToScreen(graphics, position);
        if (screen.z < 0) continue;
        float distance = Vec3Length(position - eye);
        if (distance <= 0.0f) continue;
        float radius = 1000.0f * unit->pickRadius / distance;
        float dx = screen.x - float(mouseX), dy = screen.y - float(mouseY);
        if (dx * dx + dy * dy >= radius * radius) continue;
        if (distance < best) {
            best = distance;
            picked = unit;
        }
    }
    return picked;
}

Unit* NearestInCone(std::span<const std::unique_ptr<Unit>> slots, const SceneNode& referenceNode,
                    const Unit* reference, float highSin, float lowSin) {
    Vector3 origin = referenceNode.GetPosition();
    Vector3 up = referenceNode.GetUp();
    Unit* nearest = nullptr;
    float best = FarAway;
    for (const auto& slot : slots) {
        Unit* unit = slot.get();
        if (!unit || unit->hp <= 0 || !IsEnemy(*unit, reference)) continue;
        Vector3 offset = unit->GetWorldPosition() - origin;
        float elevation = Vec3Dot(up, Vec3Normalize(offset));
        if (!(elevation > lowSin && elevation < highSin)) continue;
        float distance = Vec3Length(offset);
        if (distance < best) {
            best = distance;
            nearest = unit;
        }
    }
    return nearest;
}

void BlastDamage(std::span<const std::unique_ptr<Unit>> slots, int power, const Vector3& centre, int attackerCountry,
                 int attackerTeam) {
    for (const auto& slot : slots) {
        Unit* unit = slot.get();
        if (!unit) continue;
        float amount = float(power) - 10.0f * Vec3Length(unit->GetWorldPosition() - centre);
        // Far units would overflow the conversion; Damage ignores them anyway.
        if (!(amount >= 1.0f)) continue;
        unit->Damage(int(amount), attackerCountry, attackerTeam);
    }
}

Vector3 AveragePosition(std::span<const std::unique_ptr<Unit>> slots) {
    Vector3 sum;
    int count = 0;
    for (const auto& slot : slots) {
        if (!slot) continue;
        sum += slot->GetWorldPosition();
        ++count;
    }
    if (!count) return {};
    float n = float(count);
    return {sum.x / n, sum.y / n, sum.z / n};
}

void Delete(World& world, std::unique_ptr<Unit>& slot) {
    if (!slot) return;
    world.Forget(slot.get());
    slot.reset();
}

} // namespace pool
