#pragma once

#include "game/types/Countries.h"

#include <array>
#include <memory>

class Country;
class Unit;
class World;

// The records of the countries in the running battle, in creation order.
class CountryRegistry {
public:
    // One record per country.
    static constexpr size_t Capacity = CountryCount;

    explicit CountryRegistry(World& world);
    ~CountryRegistry();
    CountryRegistry(const CountryRegistry&) = delete;
    CountryRegistry& operator=(const CountryRegistry&) = delete;

    // Makes a record and registers it in the first free entry; null (and no
    // record) when all are taken.
    Country* Create(int teamId, int countryIndex);
    // Every record's Update, in registry order.
    void UpdateAll();
    void DeleteAll();
    // Adds points to every record of the country and mirrors the total into
    // the country's statistics.
    void AddScore(int points, int countryIndex);
    // A unit is being deleted: every record empties the slots that hold it.
    void ForgetUnit(const Unit* gone);

    Country* operator[](size_t index) const { return records[index].get(); }
    size_t Count() const;
    // The record that owns the slot, if any.
    Country* OwnerOfSlot(Unit* const* slot) const;

private:
    World& world;
    std::array<std::unique_ptr<Country>, Capacity> records;
};
