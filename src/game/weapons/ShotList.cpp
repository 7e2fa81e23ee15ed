#include "game/weapons/ShotList.h"

#include "game/world/HitTable.h"

Shot* ShotList::AddShot(std::unique_ptr<Shot> shot) {
    for (auto& slot : slots) {
        if (slot) continue;
        slot = std::move(shot);
        return slot.get();
    }
    return nullptr;
}

void ShotList::UpdateShots() {
    HitTable::Batch batch(hitTable);
    for (auto& slot : slots)
        if (slot && slot->Update()) slot.reset();
}

void ShotList::ClearShots() {
    for (auto& slot : slots) slot.reset();
}

void ShotList::ForgetUnit(const Unit* gone) {
    for (auto& slot : slots)
        if (slot) slot->ForgetUnit(gone);
}

size_t ShotList::Count() const {
    size_t count = 0;
    for (const auto& slot : slots) count += slot ? 1 : 0;
    return count;
}
