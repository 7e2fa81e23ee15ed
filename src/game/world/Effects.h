#pragma once

#include "game/types/Countries.h"
#include "render/Math.h"
#include "render/SceneNode.h"

#include <array>
#include <memory>
#include <optional>
#include <vector>

class World;

// The battle's short-lived visual effects: explosions, vapour puffs and
// trails. They never hit, block or damage anything. Each kind has a fixed
// pool and shares one scene node per mesh that is re-placed and drawn once
// for every live record; a full pool leaves a new effect out.

// A growing, fading ball.
struct Explosion {
    // 0 or less: not started yet (a burst's later explosions wait their turn).
    int age = 1;
    float size = 1.0f;
    Vector3 position;
    // What its draws are tagged with (World::NewSerial).
    uint64_t serial = 0;
};

class ExplosionPool {
public:
    static constexpr size_t Capacity = 256;
    // Frames an explosion is drawn.
    static constexpr int Lifetime = 15;

    explicit ExplosionPool(World& world);

    // An explosion shown from the next update on, with the explosion sound
    // when asked for (heard even when the pool is full).
    void SpawnExplosion(const Vector3& position, float size, bool withSound);
    // count silent explosions scattered within spread of the centre, the last
    // made shown first and the others following at five-frame intervals.
    void ExplosionBurst(int count, const Vector3& centre, float size, float spread);
    // Draws every started explosion, ages all, and drops the finished ones.
    void UpdateAll();
    void ClearAll();

    size_t Count() const;
    const std::optional<Explosion>& operator[](size_t index) const { return records[index]; }
    // The node every explosion is drawn with.
    SceneNode node;

private:
    void Add(const Explosion& explosion);

    World& world;
    std::array<std::optional<Explosion>, Capacity> records;
};

// A puff that drifts with the velocity of the point of a body it left.
struct VapourPuff {
    int age = 1;
    float size = 1.0f;
    Vector3 position;
    // Orientation: forward along the blow direction.
    Vector3 forward, up;
    // Distance per frame.
    Vector3 velocity;
    // What its draws are tagged with (World::NewSerial).
    uint64_t serial = 0;
};

class VapourPool {
public:
    static constexpr size_t Capacity = 960;
    static constexpr int Lifetime = 15;

    explicit VapourPool(World& world);

    // A puff at the point `offset` (along the source's right, up and forward
    // axes) of a body, blowing along blowDirection. It moves as that point of
    // the body moves: the owner's velocity plus the turn rates (radians per
    // frame about the body's own x, y and z axes) crossed with the offset,
    // turned into world axes.
    void SpawnVapour(const SceneNode& source, const Vector3& offset, const Vector3& blowDirection,
                     const Vector3& ownerVelocity, const Vector3& turnRates, float size);
    void UpdateAll();
    void ClearAll();

    size_t Count() const;
    const std::optional<VapourPuff>& operator[](size_t index) const { return records[index]; }
    SceneNode node;

private:
    World& world;
    std::array<std::optional<VapourPuff>, Capacity> records;
};

// A ribbon of segments behind a node: sampled every five frames, fading
// toward its tail, and after Detach fading out and ending. Owned by the trail
// pool; whoever made it keeps a plain pointer only until it detaches it.
class Trail {
public:
    // The owner stops feeding the trail; it fades out on its own. Only the
    // first call counts.
    void Detach();
    bool Attached() const { return detachedFrames == 0; }

    // Live points; segment i runs from point i to point i - 1.
    int points = 1;
    // Frames to the next sample.
    int sampleCountdown = 5;
    // 0 while attached; counts up from 1 after Detach.
    int detachedFrames = 0;
    int maxPoints = 1;
    // Which trail colour, 0..11.
    int meshIndex = 0;
    // What its segments' draws are tagged with (World::NewSerial), and the
    // samples taken so far: a segment is tagged by the sample that began it,
    // so it keeps its tag as the trail moves on.
    uint64_t serial = 0;
    uint32_t samples = 0;
    float width = 0.0f;
    // maxPoints + 1 points; point 0 follows the anchor while attached.
    std::vector<Vector3> pointArray;
    float offsetRight = 0.0f;
    float offsetUp = 0.0f;
    float offsetForward = 0.0f;
    // The node the trail follows; not owned, null once detached.
    const SceneNode* node = nullptr;
};

class TrailPool {
public:
    static constexpr size_t Capacity = 960;
    // One trail colour per country.
    static constexpr int Colours = CountryCount;
    // Frames between two samples of a trail's path.
    static constexpr int SampleInterval = 5;

    explicit TrailPool(World& world);
    ~TrailPool();

    // A trail behind the point (offsetRight, offsetUp, offsetForward) of the
    // node, in colour meshIndex. Null when the pool is full or the values are
    // unusable (logged).
    Trail* CreateTrail(const SceneNode* node, float offsetRight, float offsetUp, float offsetForward, int maxPoints,
                       float width, int meshIndex);
    // Detaches every trail that follows the node (its owner is going away).
    void DetachFrom(const SceneNode* node);
    void UpdateAll();
    void ClearAll();

    size_t Count() const;
    Trail* operator[](size_t index) const { return records[index].get(); }
    // One node per trail colour.
    std::array<SceneNode, Colours> nodes;

private:
    // Draws the trail and moves it on; true when it has faded out.
    bool Update(Trail& trail, const Vector3& eye);

    World& world;
    std::array<std::unique_ptr<Trail>, Capacity> records;
};
