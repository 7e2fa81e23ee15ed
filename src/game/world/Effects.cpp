#include "game/world/Effects.h"

#include "game/world/NodePose.h"
#include "game/world/World.h"
#include "platform/Log.h"
#include "render/Device.h"

#include <cmath>

namespace {

// Explosions and puffs grow toward their size and fade by these rates per frame.
float GrowthAt(int age) { return 1.0f - std::exp(-0.2f * float(age)); }
float GlowAt(int age) { return std::exp(-0.15f * float(age)); }

// A burst's explosions start this many frames apart.
constexpr int BurstInterval = 5;
// A detached trail fades by this rate per frame.
constexpr float TrailFade = 0.08f;

} // namespace

ExplosionPool::ExplosionPool(World& world) : world(world) { node.Init(&world.assets.explosion, 0, 0, 0, 1); }

void ExplosionPool::Add(const Explosion& explosion) {
    for (auto& record : records) {
        if (record) continue;
        record = explosion;
        record->serial = world.NewSerial();
        return;
    }
}

void ExplosionPool::SpawnExplosion(const Vector3& position, float size, bool withSound) {
    Add({1, size, position});
    if (withSound) world.PlayExplosionSound(position, size);
}

void ExplosionPool::ExplosionBurst(int count, const Vector3& centre, float size, float spread) {
    for (int k = 0; k < count; ++k) {
        Vector3 position = centre + world.random.RandomVector<Vector3>(spread);
        Add({-BurstInterval * (count - k), size, position});
    }
}

void ExplosionPool::UpdateAll() {
    for (auto& record : records) {
        if (!record) continue;
        Explosion& explosion = *record;
        if (explosion.age > 0) {
            ResetNode(node, explosion.position);
            node.SetScale(GrowthAt(explosion.age) * explosion.size);
            node.intensity = GlowAt(explosion.age);
            node.tag = MakeDrawTag(explosion.serial, 0);
            node.DrawFaded();
        }
        if (++explosion.age > Lifetime) record.reset();
    }
}

void ExplosionPool::ClearAll() {
    for (auto& record : records) record.reset();
}

size_t ExplosionPool::Count() const {
    size_t count = 0;
    for (const auto& record : records) count += record ? 1 : 0;
    return count;
}

VapourPool::VapourPool(World& world) : world(world) { node.Init(&world.assets.vapour, 0, 0, 0, 1); }

void VapourPool::SpawnVapour(const SceneNode& source, const Vector3& offset, const Vector3& blowDirection,
                             const Vector3& ownerVelocity, const Vector3& turnRates, float size) {
    Vector3 right = source.GetRight(), up = source.GetUp(), forward = source.GetForward();
    Vector3 start = source.GetPosition() + right * offset.x + up * offset.y + forward * offset.z;
    // The point's own velocity from the turning, in the body's axes.
    Vector3 spin = Vec3Cross(turnRates, offset);
    Vector3 velocity = ownerVelocity + right * spin.x + up * spin.y + forward * spin.z;
    // Puffs blowing along the body's up axis take its forward axis as their up.
    Vector3 blow = Vec3Normalize(blowDirection);
    Vector3 puffUp = Vec3LengthSq(Vec3Cross(blow, Vec3Normalize(up))) < 1e-6f ? forward : up;
    for (auto& record : records) {
        if (record) continue;
        record = VapourPuff{1, size, start, blowDirection, puffUp, velocity, world.NewSerial()};
        return;
    }
}

void VapourPool::UpdateAll() {
    for (auto& record : records) {
        if (!record) continue;
        VapourPuff& puff = *record;
        puff.position += puff.velocity;
        ResetNode(node, puff.position);
        OrientNode(node, puff.forward, puff.up);
        node.SetScale(GrowthAt(puff.age) * puff.size);
        node.intensity = GlowAt(puff.age);
        node.tag = MakeDrawTag(puff.serial, 0);
        node.DrawFaded();
        if (++puff.age > Lifetime) record.reset();
    }
}

void VapourPool::ClearAll() {
    for (auto& record : records) record.reset();
}

size_t VapourPool::Count() const {
    size_t count = 0;
    for (const auto& record : records) count += record ? 1 : 0;
    return count;
}

void Trail::Detach() {
    if (detachedFrames == 0) detachedFrames = 1;
    node = nullptr;
}

TrailPool::TrailPool(World& world) : world(world) {
    for (size_t i = 0; i < nodes.size(); ++i) nodes[i].Init(&world.assets.trails[i], 0, 0, 0, 1);
}

TrailPool::~TrailPool() = default;

Trail* TrailPool::CreateTrail(const SceneNode* node, float offsetRight, float offsetUp, float offsetForward,
                              int maxPoints, float width, int meshIndex) {
    if (!node || maxPoints < 1 || meshIndex < 0 || meshIndex >= Colours) {
        Log("軌跡: 使えない値です (点の数 %d, 色 %d).\n", maxPoints, meshIndex);
        return nullptr;
    }
    for (auto& record : records) {
        if (record) continue;
        record = std::make_unique<Trail>();
        Trail& trail = *record;
        trail.maxPoints = maxPoints;
        trail.meshIndex = meshIndex;
        trail.width = width;
        trail.offsetRight = offsetRight;
        trail.offsetUp = offsetUp;
        trail.offsetForward = offsetForward;
        trail.node = node;
        trail.serial = world.NewSerial();
        Vector3 anchor = node->GetPosition() + node->GetRight() * offsetRight + node->GetUp() * offsetUp +
                         node->GetForward() * offsetForward;
        trail.pointArray.assign(size_t(maxPoints) + 1, anchor);
        return &trail;
    }
    return nullptr;
}

void TrailPool::DetachFrom(const SceneNode* node) {
    if (!node) return;
    for (auto& record : records)
        if (record && record->node == node) record->Detach();
}

bool TrailPool::Update(Trail& trail, const Vector3& eye) {
    std::vector<Vector3>& p = trail.pointArray;
    if (trail.node) {
        const SceneNode& node = *trail.node;
        p[0] = node.GetPosition() + node.GetRight() * trail.offsetRight + node.GetUp() * trail.offsetUp +
               node.GetForward() * trail.offsetForward;
    }
    SceneNode& segment = nodes[size_t(trail.meshIndex)];
    float fade = std::exp(-TrailFade * float(trail.detachedFrames));
    for (int i = trail.points; i >= 1; --i) {
        const Vector3& from = p[size_t(i)];
        Vector3 along = p[size_t(i) - 1] - from;
        ResetNode(segment, from);
        OrientNode(segment, along, eye - from);
        segment.ScaleAxes(trail.width, 1.0f, Vec3Length(along));
        segment.intensity = float(trail.maxPoints - i) / float(trail.maxPoints) * fade;
        // Point i was taken by the sample before the last i - 1.
        segment.tag = MakeDrawTag(trail.serial, (trail.samples + 1 - uint32_t(i)) & 0xFFFF);
        segment.DrawFaded();
    }
    if (trail.detachedFrames > 0 && ++trail.detachedFrames > SampleInterval * trail.maxPoints) return true;
    if (--trail.sampleCountdown <= 0) {
        trail.sampleCountdown = SampleInterval;
        if (trail.points < trail.maxPoints) ++trail.points;
        for (int i = trail.points; i >= 1; --i) p[size_t(i)] = p[size_t(i) - 1];
        ++trail.samples;
    }
    return false;
}

void TrailPool::UpdateAll() {
    Vector3 eye = world.CameraEye();
    for (auto& record : records)
        if (record && Update(*record, eye)) record.reset();
}

void TrailPool::ClearAll() {
    for (auto& record : records) record.reset();
}

size_t TrailPool::Count() const {
    size_t count = 0;
    for (const auto& record : records) count += record ? 1 : 0;
    return count;
}
