#include "render/StepBlender.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <unordered_map>

namespace {

struct Quaternion {
    float x, y, z, w;
};

// The turn of three orthonormal rows (the axes a placement's rows point
// along), as a unit quaternion.
Quaternion FromRows(const Vector3 r[3]) {
    // Row vectors: the matrix maps x to r[0], so m[i][j] = r[i] component j.
    const float m00 = r[0].x, m01 = r[0].y, m02 = r[0].z;
    const float m10 = r[1].x, m11 = r[1].y, m12 = r[1].z;
    const float m20 = r[2].x, m21 = r[2].y, m22 = r[2].z;
    Quaternion q;
    const float trace = m00 + m11 + m22;
    if (trace > 0) {
        float s = std::sqrt(trace + 1.0f) * 2;
        q = {(m12 - m21) / s, (m20 - m02) / s, (m01 - m10) / s, 0.25f * s};
    } else if (m00 > m11 && m00 > m22) {
        float s = std::sqrt(1.0f + m00 - m11 - m22) * 2;
        q = {0.25f * s, (m01 + m10) / s, (m20 + m02) / s, (m12 - m21) / s};
    } else if (m11 > m22) {
        float s = std::sqrt(1.0f + m11 - m00 - m22) * 2;
        q = {(m01 + m10) / s, 0.25f * s, (m12 + m21) / s, (m20 - m02) / s};
    } else {
        float s = std::sqrt(1.0f + m22 - m00 - m11) * 2;
        q = {(m20 + m02) / s, (m12 + m21) / s, 0.25f * s, (m01 - m10) / s};
    }
    return q;
}

void ToRows(const Quaternion& q, Vector3 r[3]) {
    const float x = q.x, y = q.y, z = q.z, w = q.w;
    r[0] = {1 - 2 * (y * y + z * z), 2 * (x * y + z * w), 2 * (x * z - y * w)};
    r[1] = {2 * (x * y - z * w), 1 - 2 * (x * x + z * z), 2 * (y * z + x * w)};
    r[2] = {2 * (x * z + y * w), 2 * (y * z - x * w), 1 - 2 * (x * x + y * y)};
}

// Along the shorter arc from a to b.
Quaternion Slerp(Quaternion a, const Quaternion& b, float t) {
    float cosine = a.x * b.x + a.y * b.y + a.z * b.z + a.w * b.w;
    if (cosine < 0) {
        a = {-a.x, -a.y, -a.z, -a.w};
        cosine = -cosine;
    }
    float wa = 1 - t, wb = t;
    // Nearly the same turn: a straight line is as good and has no division by ~0.
    if (cosine < 0.9995f) {
        float angle = std::acos(cosine), sine = std::sin(angle);
        wa = std::sin((1 - t) * angle) / sine;
        wb = std::sin(t * angle) / sine;
    }
    Quaternion q{wa * a.x + wb * b.x, wa * a.y + wb * b.y, wa * a.z + wb * b.z, wa * a.w + wb * b.w};
    float length = std::sqrt(q.x * q.x + q.y * q.y + q.z * q.z + q.w * q.w);
    return {q.x / length, q.y / length, q.z / length, q.w / length};
}

Vector3 Row(const Matrix& m, int i) { return {m.m[i][0], m.m[i][1], m.m[i][2]}; }

// Splits a placement into unit axes and their lengths; false when an axis has
// no length.
bool Split(const Matrix& m, Vector3 axes[3], float lengths[3]) {
    for (int i = 0; i < 3; ++i) {
        lengths[i] = Vec3Length(Row(m, i));
        if (!(lengths[i] > 1e-12f)) return false;
        axes[i] = Row(m, i) * (1.0f / lengths[i]);
    }
    return true;
}

Vector3 Lerp(const Vector3& a, const Vector3& b, float t) { return a + (b - a) * t; }
float Lerp(float a, float b, float t) { return a + (b - a) * t; }

ColorValue Lerp(const ColorValue& a, const ColorValue& b, float t) {
    return {Lerp(a.r, b.r, t), Lerp(a.g, b.g, t), Lerp(a.b, b.b, t), Lerp(a.a, b.a, t)};
}

Material BlendMaterial(const Material& a, const Material& b, float t) {
    return {Lerp(a.diffuse, b.diffuse, t), Lerp(a.ambient, b.ambient, t), Lerp(a.specular, b.specular, t),
            Lerp(a.emissive, b.emissive, t), Lerp(a.power, b.power, t)};
}

bool ScreenSpace(const DrawRecord& record) {
    return record.kind == DrawRecord::Kind::Primitive && (record.fvf & Fvf::XyzRhw) != 0;
}

// Where the point lands on a width x height back buffer (pixels, y down);
// false behind the eye.
bool Project(const Vector3& p, const DrawCamera& camera, int width, int height, float& x, float& y) {
    const Matrix m = camera.view * camera.projection;
    float cx = p.x * m.m[0][0] + p.y * m.m[1][0] + p.z * m.m[2][0] + m.m[3][0];
    float cy = p.x * m.m[0][1] + p.y * m.m[1][1] + p.z * m.m[2][1] + m.m[3][1];
    float cw = p.x * m.m[0][3] + p.y * m.m[1][3] + p.z * m.m[2][3] + m.m[3][3];
    if (!(cw > 0)) return false;
    x = (cx / cw + 1) * 0.5f * float(width);
    y = (1 - cy / cw) * 0.5f * float(height);
    return true;
}

// Moves a screen-space draw's vertices by (dx, dy) pixels.
void Shift(DrawList& list, const DrawRecord& record, float dx, float dy) {
    const uint32_t stride = Fvf::Stride(record.fvf);
    const uint32_t count = Device::VertexCount(record.primitive, record.count);
    unsigned char* vertex = list.vertexBytes.data() + record.item;
    for (uint32_t i = 0; i < count; ++i, vertex += stride) {
        float xy[2];
        std::memcpy(xy, vertex, sizeof xy);
        xy[0] += dx;
        xy[1] += dy;
        std::memcpy(vertex, xy, sizeof xy);
    }
}

} // namespace

Matrix BlendPlacement(const Matrix& a, const Matrix& b, float t) {
    Vector3 axesA[3], axesB[3];
    float lengthsA[3], lengthsB[3];
    if (!Split(a, axesA, lengthsA) || !Split(b, axesB, lengthsB)) return b;
    const bool mirrorA = Vec3Dot(Vec3Cross(axesA[0], axesA[1]), axesA[2]) < 0;
    const bool mirrorB = Vec3Dot(Vec3Cross(axesB[0], axesB[1]), axesB[2]) < 0;
    if (mirrorA != mirrorB) return b;
    // A mirrored placement turns like its mirror image with the z axis flipped.
    if (mirrorA) {
        axesA[2] = -axesA[2];
        axesB[2] = -axesB[2];
    }
    Vector3 axes[3];
    ToRows(Slerp(FromRows(axesA), FromRows(axesB), t), axes);
    if (mirrorA) axes[2] = -axes[2];
    Matrix out = MatrixIdentity();
    for (int i = 0; i < 3; ++i) {
        Vector3 row = axes[i] * Lerp(lengthsA[i], lengthsB[i], t);
        out.m[i][0] = row.x;
        out.m[i][1] = row.y;
        out.m[i][2] = row.z;
        out.m[i][3] = 0;
    }
    Vector3 position = Lerp(Row(a, 3), Row(b, 3), t);
    out.m[3][0] = position.x;
    out.m[3][1] = position.y;
    out.m[3][2] = position.z;
    out.m[3][3] = 1;
    return out;
}

Matrix BlendView(const Matrix& a, const Matrix& b, float t) {
    if (a == b) return b;
    Matrix cameraA, cameraB, view;
    if (!MatrixInverse(a, cameraA) || !MatrixInverse(b, cameraB)) return b;
    if (!MatrixInverse(BlendPlacement(cameraA, cameraB, t), view)) return b;
    return view;
}

void StepBlender::Reset() {
    older.Clear();
    newer.Clear();
    match.clear();
}

void StepBlender::Push(DrawList& newest) {
    std::swap(older, newer);
    std::swap(newer, newest);
    newest.Clear();

    // The older list's draws by tag, each tag's draws in order.
    std::vector<uint32_t> next(older.records.size(), NoMatch);
    std::unordered_map<uint64_t, uint32_t> first;
    first.reserve(older.records.size());
    for (size_t i = older.records.size(); i-- > 0;) {
        uint64_t tag = older.records[i].tag;
        if (!tag) continue;
        auto [at, fresh] = first.try_emplace(tag, uint32_t(i));
        if (!fresh) {
            next[i] = at->second;
            at->second = uint32_t(i);
        }
    }
    // The k-th draw of a tag in the newer list continues the k-th in the older.
    match.assign(newer.records.size(), NoMatch);
    for (size_t j = 0; j < newer.records.size(); ++j) {
        const DrawRecord& record = newer.records[j];
        if (!record.tag) continue;
        auto found = first.find(record.tag);
        if (found == first.end() || found->second == NoMatch) continue;
        const uint32_t i = found->second;
        found->second = next[i];
        if (older.records[i].kind == record.kind) match[j] = i;
    }
}

void StepBlender::Blend(float t, int width, int height, float pointerDx, float pointerDy, DrawList& out) const {
    t = std::clamp(t, 0.0f, 1.0f);
    out.records = newer.records;
    out.states = newer.states;
    out.worlds = newer.worlds;
    out.materials = newer.materials;
    out.cameras = newer.cameras;
    out.vertexBytes = newer.vertexBytes;
    out.sprites = newer.sprites;
    out.anchors = newer.anchors;
    out.meshes.clear();
    out.textures.clear();

    // Cameras by their place in the list: the steps set them in the same order.
    for (size_t c = 0; c < out.cameras.size() && c < older.cameras.size(); ++c)
        out.cameras[c].view = BlendView(older.cameras[c].view, newer.cameras[c].view, t);

    // Consecutive draws of one model share their placement and often their
    // material: each pair is blended once.
    uint32_t lastWorlds[2] = {NoMatch, NoMatch}, lastWorld = 0;
    uint32_t lastMaterials[2] = {NoMatch, NoMatch}, lastMaterial = 0;
    for (size_t j = 0; j < out.records.size(); ++j) {
        DrawRecord& record = out.records[j];
        const uint32_t i = match[j];
        if (ScreenSpace(record)) {
            if (record.anchor == NoAnchor) continue;
            const Vector3& at = newer.anchors[record.anchor];
            if (record.tag == PointerTag) {
                float x = std::clamp(std::round(at.x + pointerDx), 0.0f, float(width - 1));
                float y = std::clamp(std::round(at.y + pointerDy), 0.0f, float(height - 1));
                Shift(out, record, x - at.x, y - at.y);
                continue;
            }
            Vector3 place = at;
            if (i != NoMatch && older.records[i].anchor != NoAnchor)
                place = Lerp(older.anchors[older.records[i].anchor], at, t);
            float x0, y0, x1, y1;
            if (Project(at, newer.cameras[record.camera], width, height, x0, y0) &&
                Project(place, out.cameras[record.camera], width, height, x1, y1))
                Shift(out, record, x1 - x0, y1 - y0);
            continue;
        }
        if (i == NoMatch || record.kind == DrawRecord::Kind::Clear || record.kind == DrawRecord::Kind::Sprite) continue;
        const DrawRecord& before = older.records[i];
        if (before.world != lastWorlds[0] || record.world != lastWorlds[1]) {
            lastWorlds[0] = before.world;
            lastWorlds[1] = record.world;
            const Matrix& a = older.worlds[before.world];
            const Matrix& b = newer.worlds[record.world];
            lastWorld = record.world;
            if (!(a == b)) {
                lastWorld = uint32_t(out.worlds.size());
                out.worlds.push_back(BlendPlacement(a, b, t));
            }
        }
        record.world = lastWorld;
        if (before.material != lastMaterials[0] || record.material != lastMaterials[1]) {
            lastMaterials[0] = before.material;
            lastMaterials[1] = record.material;
            const Material& a = older.materials[before.material];
            const Material& b = newer.materials[record.material];
            lastMaterial = record.material;
            if (std::memcmp(&a, &b, sizeof a) != 0) {
                lastMaterial = uint32_t(out.materials.size());
                out.materials.push_back(BlendMaterial(a, b, t));
            }
        }
        record.material = lastMaterial;
    }
}
