#pragma once

#include "game/fighters/Fighter.h"
#include "game/fighters/FighterFactory.h"
#include "support/WorldTestKit.h"

#include "game/world/Effects.h"
#include "game/weapons/ShotList.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

// A station stand-in that launches fighters from a point just ahead of its
// front face, nose pointing away from it.
class LaunchingStation : public TestUnit {
public:
    using TestUnit::TestUnit;
    bool LaunchPose(Vector3& position, Vector3& forward, Vector3& up) const override {
        position = GetWorldPosition() + Vector3{0, 0, 2.5f};
        forward = {0, 0, 1};
        up = {0, 1, 0};
        return true;
    }
};

// A test world with the real fighter models, sight and arrows, and the
// fighter factory installed.
struct FighterKit : WorldTestKit {
    explicit FighterKit(uint32_t seed = 1) : WorldTestKit(seed) {
        const char* extra[] = {"SIGHT", "ARROW1", "ARROW2"};
        for (int i = 1; i <= CountryCount; ++i) {
            char name[16];
            std::snprintf(name, sizeof name, "FIGHTER_%02d", i);
            AddEmbedded(name);
        }
        for (const char* name : extra) AddEmbedded(name);
        assets->LoadFighterMeshes(*graphics);
        assets->LoadViewMeshes(*graphics);
        InstallFighterFactory(*world);
    }
    void AddEmbedded(const std::string& name) {
        auto bytes = ResourceTable::Embedded().Find("X", name);
        AddModel(name, std::string(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    }
    // A fighter of the country's type launched at `at` (it sits above it by its clearance + 0.1).
    Fighter* Launch(int countryIndex, int team, const Vector3& at, const Vector3& forward = {0, 0, 1},
                    const Vector3& up = {0, 1, 0}, Unit** slot = nullptr) {
        return static_cast<Fighter*>(world->fighters.Add(std::make_unique<Fighter>(
            *world, FighterTypes()[size_t(countryIndex)], team, slot, at, forward, up)));
    }
    LaunchingStation* Station(int team, int country, const Vector3& at, int hitPoints, Unit** slot = nullptr) {
        return static_cast<LaunchingStation*>(world->stations.Add(std::make_unique<LaunchingStation>(
            *world, UnitFamily::Station, team, country, hitPoints, at, &stationMesh, slot)));
    }
};

inline constexpr float Near = 1e-4f;

inline void ExpectNear(const Vector3& a, const Vector3& b, float tolerance = Near) {
    EXPECT_NEAR(a.x, b.x, tolerance);
    EXPECT_NEAR(a.y, b.y, tolerance);
    EXPECT_NEAR(a.z, b.z, tolerance);
}

inline int AttachedTrails(const Fighter& fighter) {
    int count = 0;
    for (const Trail* trail : fighter.trails) count += trail && trail->Attached() ? 1 : 0;
    return count;
}

template <typename T> std::vector<T*> ShotsOf(World& world) {
    std::vector<T*> out;
    for (size_t i = 0; i < ShotList::Capacity; ++i)
        if (auto* shot = dynamic_cast<T*>(world.shots[i])) out.push_back(shot);
    return out;
}

