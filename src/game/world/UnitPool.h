#pragma once

#include "game/types/Countries.h"
#include "game/world/Unit.h"
#include "render/Math.h"

#include <array>
#include <memory>
#include <span>
#include <utility>

class SceneNode;
class World;

// The queries every pool answers, over whatever slots a pool has.
namespace pool {
// The living unit nearest to point whose team differs from the reference's
// (any team without a reference); ties keep the earlier slot.
Unit* Nearest(std::span<const std::unique_ptr<Unit>> slots, const Unit* reference, const Vector3& point);
// The living unit nearest to the camera among those drawn within
// 1000 x pickRadius / (camera distance) pixels of the mouse.
Unit* Pick(std::span<const std::unique_ptr<Unit>> slots, const World& world, int mouseX, int mouseY);
// Nearest like Nearest from the node's position, among the units whose
// direction from the node has an up component strictly between lowSin and highSin.
Unit* NearestInCone(std::span<const std::unique_ptr<Unit>> slots, const SceneNode& referenceNode,
                    const Unit* reference, float highSin, float lowSin);
// Every unit takes power - 10 x its distance from the centre, truncated.
void BlastDamage(std::span<const std::unique_ptr<Unit>> slots, int power, const Vector3& centre, int attackerCountry,
                 int attackerTeam);
Vector3 AveragePosition(std::span<const std::unique_ptr<Unit>> slots);
// Deletes the unit in the slot (if any) after the world has forgotten it,
// while the unit is still whole.
void Delete(World& world, std::unique_ptr<Unit>& slot);
} // namespace pool

// The fixed pool of one unit family. The pool owns its units: it deletes one
// when its update reports that it has finished dying, and all of them on
// ClearAll; either way the world forgets the unit first. A full pool leaves a
// new unit out: the unit is deleted at once, so it never lingers
// half-registered in the hit table or in an owner slot.
template <size_t N> class UnitPool {
public:
    static constexpr size_t Capacity = N;

    explicit UnitPool(World& world) : world(world) {}
    UnitPool(const UnitPool&) = delete;
    UnitPool& operator=(const UnitPool&) = delete;

    // Takes the unit into the first free slot; null when the pool is full.
    Unit* Add(std::unique_ptr<Unit> unit) {
        for (auto& slot : slots) {
            if (slot) continue;
            slot = std::move(unit);
            return slot.get();
        }
        pool::Delete(world, unit);
        return nullptr;
    }
    // Makes a unit of type T and adds it; null when it did not fit.
    template <typename T, typename... Args> T* Create(Args&&... args) {
        return static_cast<T*>(Add(std::make_unique<T>(std::forward<Args>(args)...)));
    }

    // Each unit's update in slot order; a finished unit is deleted at once.
    void UpdateAll() {
        for (auto& slot : slots)
            if (slot && slot->Update()) pool::Delete(world, slot);
    }
    void ClearAll() {
        for (auto& slot : slots) pool::Delete(world, slot);
    }

    Unit* Nearest(const Unit* reference, const Vector3& point) const { return pool::Nearest(slots, reference, point); }
    Unit* Pick(int mouseX, int mouseY) const { return pool::Pick(slots, world, mouseX, mouseY); }
    Unit* NearestInCone(const SceneNode& referenceNode, const Unit* reference, float highSin, float lowSin) const {
        return pool::NearestInCone(slots, referenceNode, reference, highSin, lowSin);
    }
    void BlastDamage(int power, const Vector3& centre, int attackerCountry, int attackerTeam) const {
        pool::BlastDamage(slots, power, centre, attackerCountry, attackerTeam);
    }
    // Mean of the units' positions, dead ones included; the origin when empty.
    Vector3 AveragePosition() const { return pool::AveragePosition(slots); }

    Unit* operator[](size_t index) const { return slots[index].get(); }
    size_t Count() const {
        size_t count = 0;
        for (const auto& slot : slots) count += slot ? 1 : 0;
        return count;
    }
    bool Contains(const Unit* unit) const {
        for (const auto& slot : slots)
            if (unit && slot.get() == unit) return true;
        return false;
    }

private:
    World& world;
    std::array<std::unique_ptr<Unit>, N> slots;
};

using StationPool = UnitPool<StationCapacity>;
using PanelPool = UnitPool<PanelCapacity>;
using TurretPool = UnitPool<TurretCapacity>;
using FighterPool = UnitPool<FighterCapacity>;
