#pragma once

#include "game/weapons/Shot.h"

#include <array>
#include <memory>
#include <utility>

class HitTable;
class Unit;

// Every shot in flight, in 1024 fixed slots. A shot made while all slots are
// taken is deleted at once: its firing sound has played, but it never flies.
class ShotList {
public:
    static constexpr size_t Capacity = 1024;

    // Shots find their targets in the hit table.
    explicit ShotList(HitTable& hitTable) : hitTable(hitTable) {}
    ShotList(const ShotList&) = delete;
    ShotList& operator=(const ShotList&) = delete;

    // Takes the shot into the first free slot; null when the list is full.
    Shot* AddShot(std::unique_ptr<Shot> shot);
    // Makes a shot of type T and adds it.
    template <typename T, typename... Args> T* Fire(Args&&... args) {
        return static_cast<T*>(AddShot(std::make_unique<T>(std::forward<Args>(args)...)));
    }
    // Each shot's Update in slot order; a finished shot is deleted at once.
    // Shots never move a unit, so the pass casts its rays in a hit-table batch.
    void UpdateShots();
    void ClearShots();
    // A unit is being deleted: every shot drops its pointers to it.
    void ForgetUnit(const Unit* gone);

    size_t Count() const;
    Shot* operator[](size_t index) const { return slots[index].get(); }

private:
    HitTable& hitTable;
    std::array<std::unique_ptr<Shot>, Capacity> slots;
};
