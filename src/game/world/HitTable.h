#pragma once

#include "game/types/Countries.h"
#include "game/world/Unit.h"
#include "render/Math.h"

#include <array>
#include <memory>
#include <vector>

class MeshBvh;
class MeshResource;
class SceneNode;

// The one table of hittable units through which shots and collisions find
// what they hit. A unit may have several entries (a station's rotor is a
// second entry of the station). Entries are not owned.
class HitTable {
public:
    // One entry per unit that the four pools can hold.
    static constexpr size_t Capacity = HittableCapacity;

    HitTable();
    ~HitTable();
    HitTable(const HitTable&) = delete;
    HitTable& operator=(const HitTable&) = delete;

    // Fills the first free entry; when all are taken the unit stays unhittable.
    void Add(Unit* unit, SceneNode* node, HitTest hitTest);
    // Clears every entry of the unit.
    void Remove(const Unit* unit);
    void Clear();

    // The nearest unit other than `exclude` that the ray from origin along
    // direction meets within length, or null. hitPoint becomes the point where
    // it was met, or origin + direction x length when nothing was. A negative
    // length casts backwards. Sphere units are met half a mesh radius before
    // the ray's closest approach to their centre; mesh units on their surface.
    Unit* RayCast(const Unit* exclude, Vector3& hitPoint, Vector3 origin, Vector3 direction, float length) const;
    // Whether the first unit along the ray belongs to the shooter's team.
    bool IsFriendInLineOfFire(const Unit* shooter, Vector3 origin, Vector3 direction, float length) const;

    // A pass in which no hittable node moves (the shot pass: shots hurt units
    // but never move them) opens a batch. Until it closes, ray casts take each
    // entry's position and bounds from a snapshot made when it opened, and
    // pass over the entries that a short ray cannot reach without reading
    // their nodes: the same answers, several times faster. Entries added
    // during the batch are read live; removed ones are gone at once. Batches
    // nest. Debug builds check at the close that nothing moved.
    void BeginBatch();
    void EndBatch();
    // Whether every snapshot still matches its node (true outside a batch).
    bool BatchStillValid() const;
    // Opens a batch for its lifetime.
    class Batch {
    public:
        explicit Batch(HitTable& table) : table(table) { table.BeginBatch(); }
        ~Batch() { table.EndBatch(); }
        Batch(const Batch&) = delete;
        Batch& operator=(const Batch&) = delete;

    private:
        HitTable& table;
    };

    // Builds the triangle hierarchy of a mesh ahead of the first ray that
    // needs it (otherwise that ray builds it).
    void Prepare(const MeshResource* mesh) const { BvhFor(mesh); }

    size_t Count() const;
    bool Contains(const Unit* unit) const;

private:
    struct Entry {
        Unit* unit = nullptr;
        SceneNode* node = nullptr;
        HitTest hitTest = HitTest::Sphere;
        // The triangle hierarchy of the mesh the node showed at the last
        // exact test. A unit registers before its node is set up, so this is
        // looked up at the first test and again whenever the mesh changes.
        mutable const MeshResource* mesh = nullptr;
        mutable const MeshBvh* bvh = nullptr;
    };
    // An entry as a batch saw it: the values the ray cast computes from the
    // node, kept with the same arithmetic so that the answers stay the same.
    struct Frozen {
        bool valid = false;
        bool hasMesh = false;
        Vector3 position;
        // The sphere test's centre and radius.
        Vector3 probeCentre;
        float probeRadius = 0;
        float halfRadius = 0;
    };
    // Where a hit of each entry that counts can lie: within radius + length
    // of the centre, for a ray of unit direction. Apart from the rest and
    // column by column, so the pass over them is short and stays in cache.
    struct Reaches {
        std::array<float, Capacity> x{}, y{}, z{}, radius{};
        void Set(size_t index, const Vector3& centre, float reach);
    };
    struct CachedBvh {
        const MeshResource* mesh;
        std::unique_ptr<MeshBvh> bvh;
    };

    // The hierarchy of a mesh, built the first time a ray meets a mesh unit
    // showing it.
    const MeshBvh* BvhFor(const MeshResource* mesh) const;
    // The values a batch keeps for one entry.
    void Freeze(size_t index);
    // The exact test of one mesh entry: false, or the hit point.
    bool PickMesh(const Entry& entry, Vector3& hit, const Vector3& origin, const Vector3& direction,
                  float reach) const;

    std::array<Entry, Capacity> entries;
    // Entries at and beyond this index are all free.
    size_t used = 0;
    int batchDepth = 0;
    std::array<Frozen, Capacity> frozen;
    Reaches reaches;
    // One per mesh shown by a mesh unit; kept until the table is cleared,
    // since meshes do not change while a battle runs.
    mutable std::vector<CachedBvh> bvhs;
};
