#include "render/Batcher.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

namespace {

// ClipVertex::outside: the six clip planes, and the eye.
constexpr uint32_t OutsidePlanes = 0x3F;
constexpr uint32_t BehindEye = 0x40;

struct Plane {
    float x, y, z, w;
};

// Whether no pixel centre (at whole numbers plus a half) lies between the
// three coordinates, with a margin wider than the rasteriser's rounding of
// vertices to 1/256 pixel.
inline bool MissesEveryCentre(float a, float b, float c) {
    constexpr float Margin = 1.0f / 64.0f;
    const float low = std::min(a, std::min(b, c)) - Margin - 0.5f;
    const float high = std::max(a, std::max(b, c)) + Margin - 0.5f;
    return std::floor(high) < std::ceil(low);
}

// What every draw under one camera shares, worked out once per camera.
struct CameraFrame {
    Matrix projection;
    // View x projection with the depth fix: world to clip space.
    Matrix viewProjection;
    // The six clip planes in world space, normalised; inside where the
    // distance is >= 0.
    std::array<Plane, 6> planes;
    Vector3 towardsLight;
    ColorValue lightDiffuse;
    bool lightEnabled = true;
    // The viewer's direction for highlights: eye space +z, in world space.
    Vector3 viewer;
};

// How a draw's vertices are lit: the fixed-function lighting equation with
// one directional light, split into the parts that stay the same for the
// whole draw.
struct Lighting {
    bool on = false;
    bool normalize = true;
    // Emissive plus ambient times the global ambient.
    float baseR = 0, baseG = 0, baseB = 0;
    // The light's diffuse colour (times the material's, for meshes).
    float diffuseR = 0, diffuseG = 0, diffuseB = 0;
    float alpha = 1;
    // Highlights, when the specular state is on.
    bool specular = false;
    float specularR = 0, specularG = 0, specularB = 0, power = 0;
    Vector3 towardsLight, halfway;
    // World to normal space: the inverse transpose of the world's 3 x 3.
    float n[3][3] = {};
    // When that matrix only turns and scales evenly, a unit normal's light is
    // one dot product with the light brought into model space (divided by
    // the scale when normals are normalised): modelLight.
    bool rigid = false;
    Vector3 modelLight;
};

ColorValue FromArgb(uint32_t c) {
    return {float((c >> 16) & 0xFF) / 255.0f, float((c >> 8) & 0xFF) / 255.0f, float(c & 0xFF) / 255.0f,
            float(c >> 24) / 255.0f};
}

uint8_t ToByte(float c) {
    c = std::clamp(c, 0.0f, 1.0f);
    return uint8_t(c * 255.0f + 0.5f);
}

void SetColor(BatchVertex& v, uint32_t argb) {
    v.r = uint8_t(argb >> 16);
    v.g = uint8_t(argb >> 8);
    v.b = uint8_t(argb);
    v.a = uint8_t(argb >> 24);
}

Plane Normalised(float x, float y, float z, float w) {
    float length = std::sqrt(x * x + y * y + z * z);
    if (length <= 0) return {0, 0, 0, 1};
    return {x / length, y / length, z / length, w / length};
}

CameraFrame MakeCamera(const DrawCamera& camera) {
    CameraFrame frame;
    frame.projection = camera.projection * DepthRangeFix();
    frame.viewProjection = camera.view * frame.projection;
    const auto& m = frame.viewProjection.m;
    // A point is inside when -w <= x, y, z <= w (clip = p x M, column j).
    for (int j = 0; j < 3; ++j) {
        frame.planes[size_t(2 * j)] = Normalised(m[0][3] + m[0][j], m[1][3] + m[1][j], m[2][3] + m[2][j], m[3][3] + m[3][j]);
        frame.planes[size_t(2 * j + 1)] =
            Normalised(m[0][3] - m[0][j], m[1][3] - m[1][j], m[2][3] - m[2][j], m[3][3] - m[3][j]);
    }
    frame.towardsLight = -Vec3Normalize(camera.light.direction);
    frame.lightEnabled = camera.lightEnabled;
    frame.lightDiffuse = camera.lightEnabled ? camera.light.diffuse : ColorValue{0, 0, 0, 0};
    Matrix inverse;
    if (MatrixInverse(camera.view, inverse)) frame.viewer = Vec3Normalize({inverse.m[2][0], inverse.m[2][1], inverse.m[2][2]});
    return frame;
}

// The inverse transpose of the world's upper 3 x 3 (normals stay
// perpendicular to surfaces under any scale), as the pipeline uses it.
void NormalMatrix(const Matrix& world, float out[3][3]) {
    const auto& a = world.m;
    float c[3][3];
    c[0][0] = a[1][1] * a[2][2] - a[1][2] * a[2][1];
    c[0][1] = a[1][2] * a[2][0] - a[1][0] * a[2][2];
    c[0][2] = a[1][0] * a[2][1] - a[1][1] * a[2][0];
    c[1][0] = a[0][2] * a[2][1] - a[0][1] * a[2][2];
    c[1][1] = a[0][0] * a[2][2] - a[0][2] * a[2][0];
    c[1][2] = a[0][1] * a[2][0] - a[0][0] * a[2][1];
    c[2][0] = a[0][1] * a[1][2] - a[0][2] * a[1][1];
    c[2][1] = a[0][2] * a[1][0] - a[0][0] * a[1][2];
    c[2][2] = a[0][0] * a[1][1] - a[0][1] * a[1][0];
    float det = a[0][0] * c[0][0] + a[0][1] * c[0][1] + a[0][2] * c[0][2];
    float scale = det != 0 ? 1.0f / det : 0.0f;
    // Row vectors: n' = n x (W^-1)^T, whose row i, column j is cofactor(i, j) / det.
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) out[i][j] = c[i][j] * scale;
}

Lighting MakeLighting(const RenderStateSet& states, const CameraFrame& camera, const Material& material,
                      const Matrix& world) {
    Lighting lighting;
    lighting.on = states[size_t(RenderState::Lighting)] != 0;
    if (!lighting.on) return lighting;
    lighting.normalize = states[size_t(RenderState::NormalizeNormals)] != 0;
    ColorValue ambient = FromArgb(states[size_t(RenderState::Ambient)]);
    lighting.baseR = material.emissive.r + material.ambient.r * ambient.r;
    lighting.baseG = material.emissive.g + material.ambient.g * ambient.g;
    lighting.baseB = material.emissive.b + material.ambient.b * ambient.b;
    lighting.diffuseR = camera.lightDiffuse.r;
    lighting.diffuseG = camera.lightDiffuse.g;
    lighting.diffuseB = camera.lightDiffuse.b;
    lighting.alpha = material.diffuse.a;
    lighting.towardsLight = camera.towardsLight;
    lighting.specular = states[size_t(RenderState::SpecularEnable)] != 0 && camera.lightEnabled;
    if (lighting.specular) {
        lighting.specularR = material.specular.r;
        lighting.specularG = material.specular.g;
        lighting.specularB = material.specular.b;
        lighting.power = std::clamp(material.power, 0.0f, 128.0f);
        lighting.halfway = Vec3Normalize(camera.towardsLight + camera.viewer);
    }
    NormalMatrix(world, lighting.n);
    const auto& n = lighting.n;
    const Vector3 rows[3] = {{n[0][0], n[0][1], n[0][2]}, {n[1][0], n[1][1], n[1][2]}, {n[2][0], n[2][1], n[2][2]}};
    const float s2 = Vec3LengthSq(rows[0]);
    constexpr float Tolerance = 1e-5f;
    lighting.rigid = s2 > 0 && std::abs(Vec3LengthSq(rows[1]) - s2) <= Tolerance * s2 &&
                     std::abs(Vec3LengthSq(rows[2]) - s2) <= Tolerance * s2 &&
                     std::abs(Vec3Dot(rows[0], rows[1])) <= Tolerance * s2 &&
                     std::abs(Vec3Dot(rows[0], rows[2])) <= Tolerance * s2 &&
                     std::abs(Vec3Dot(rows[1], rows[2])) <= Tolerance * s2;
    if (lighting.rigid) {
        const Vector3& l = lighting.towardsLight;
        float divide = lighting.normalize ? 1.0f / std::sqrt(s2) : 1.0f;
        lighting.modelLight = Vector3{Vec3Dot(rows[0], l), Vec3Dot(rows[1], l), Vec3Dot(rows[2], l)} * divide;
    }
    return lighting;
}

// The lit colour of one vertex with the given diffuse colour and normal.
inline void Light(const Lighting& l, float dr, float dg, float db, float da, const Vector3& normal, BatchVertex& out) {
    float nx = normal.x * l.n[0][0] + normal.y * l.n[1][0] + normal.z * l.n[2][0];
    float ny = normal.x * l.n[0][1] + normal.y * l.n[1][1] + normal.z * l.n[2][1];
    float nz = normal.x * l.n[0][2] + normal.y * l.n[1][2] + normal.z * l.n[2][2];
    if (l.normalize) {
        float length2 = nx * nx + ny * ny + nz * nz;
        if (length2 > 0) {
            float inverse = 1.0f / std::sqrt(length2);
            nx *= inverse;
            ny *= inverse;
            nz *= inverse;
        }
    }
    float d = nx * l.towardsLight.x + ny * l.towardsLight.y + nz * l.towardsLight.z;
    d = d > 0 ? d : 0;
    float r = l.baseR + dr * l.diffuseR * d;
    float g = l.baseG + dg * l.diffuseG * d;
    float b = l.baseB + db * l.diffuseB * d;
    if (l.specular && d > 0) {
        float h = nx * l.halfway.x + ny * l.halfway.y + nz * l.halfway.z;
        if (h > 0) {
            float s = l.power > 0 ? std::pow(h, l.power) : 1.0f;
            r += l.specularR * s;
            g += l.specularG * s;
            b += l.specularB * s;
        }
    }
    out.r = ToByte(r);
    out.g = ToByte(g);
    out.b = ToByte(b);
    out.a = ToByte(da);
}

void ToClip(const Matrix& m, float x, float y, float z, BatchVertex& out) {
    out.x = x * m.m[0][0] + y * m.m[1][0] + z * m.m[2][0] + m.m[3][0];
    out.y = x * m.m[0][1] + y * m.m[1][1] + z * m.m[2][1] + m.m[3][1];
    out.z = x * m.m[0][2] + y * m.m[1][2] + z * m.m[2][2] + m.m[3][2];
    out.w = x * m.m[0][3] + y * m.m[1][3] + z * m.m[2][3] + m.m[3][3];
}

BatchState StateOf(const RenderStateSet& s) {
    BatchState state;
    state.depthTest = s[size_t(RenderState::ZEnable)] != 0;
    state.depthWrite = s[size_t(RenderState::ZWriteEnable)] != 0;
    state.depthFunc = uint8_t(s[size_t(RenderState::ZFunc)]);
    state.blend = s[size_t(RenderState::AlphaBlendEnable)] != 0;
    state.srcBlend = uint8_t(s[size_t(RenderState::SrcBlend)]);
    state.destBlend = uint8_t(s[size_t(RenderState::DestBlend)]);
    state.cull = uint8_t(s[size_t(RenderState::CullMode)]);
    // Without the test nothing is compared or written.
    if (!state.depthTest) {
        state.depthWrite = 0;
        state.depthFunc = CmpAlways;
    }
    if (!state.blend) state.srcBlend = state.destBlend = 0;
    if (state.cull != CullCW && state.cull != CullCCW) state.cull = CullNone;
    return state;
}

// Sprites: screen pixels, blended, never depth-tested, never culled.
constexpr BatchState SpriteState{.depthTest = 0, .depthWrite = 0, .depthFunc = CmpAlways, .blend = 1,
                                 .srcBlend = BlendSrcAlpha, .destBlend = BlendInvSrcAlpha, .cull = CullNone};

class Builder {
public:
    Builder(const DrawList& list, int width, int height, BatchedFrame& frame)
        : list(list), width(float(std::max(width, 1))), height(float(std::max(height, 1))), halfWidth(this->width / 2),
          halfHeight(this->height / 2), frame(frame) {}

    void Build(size_t first, size_t count) {
        frame.Clear();
        cameras.resize(list.cameras.size());
        cameraReady.assign(list.cameras.size(), false);
        const size_t end = std::min(list.records.size(), first + count);
        for (size_t r = first; r < end; ++r) {
            const DrawRecord& record = list.records[r];
            switch (record.kind) {
            case DrawRecord::Kind::Clear: AddClear(record); break;
            case DrawRecord::Kind::Subset: AddSubset(record); break;
            case DrawRecord::Kind::Primitive: AddPrimitive(record); break;
            case DrawRecord::Kind::Sprite: AddSprite(record); break;
            }
        }
        Close();
    }

private:
    const CameraFrame& Camera(uint32_t index) {
        if (!cameraReady[index]) {
            cameras[index] = MakeCamera(list.cameras[index]);
            cameraReady[index] = true;
        }
        return cameras[index];
    }

    // The batch the next draw goes into: the open one when it matches.
    void Open(Batch::Mode mode, const BatchState& state, const ListTexture* texture) {
        if (open) {
            const Batch& batch = frame.batches.back();
            if (batch.mode == mode && batch.state == state && batch.texture == texture) return;
        }
        Close();
        Batch& batch = frame.batches.emplace_back();
        batch.mode = mode;
        batch.state = state;
        batch.texture = texture;
        batch.firstIndex = uint32_t(frame.indices.size());
        open = true;
    }

    // Ends the open batch (always the last one); an empty one is dropped.
    void Close() {
        if (!open) return;
        Batch& batch = frame.batches.back();
        batch.indexCount = uint32_t(frame.indices.size()) - batch.firstIndex;
        if (batch.indexCount == 0) frame.batches.pop_back();
        open = false;
    }

    void AddClear(const DrawRecord& record) {
        Close();
        Batch& batch = frame.batches.emplace_back();
        batch.mode = Batch::Mode::Clear;
        batch.firstIndex = uint32_t(frame.indices.size());
        batch.clearFlags = record.item;
        batch.clearColor = record.count;
        batch.clearZ = record.clearZ;
    }

    // The world and camera of consecutive draws are usually the same: their
    // matrices are worked out once.
    void PrepareTransform(const DrawRecord& record) {
        if (record.world == lastWorld && record.camera == lastCamera) return;
        lastWorld = record.world;
        lastCamera = record.camera;
        const CameraFrame& camera = Camera(record.camera);
        // World x view first, then the projection, as the pipeline composes them.
        worldViewProjection = (list.worlds[record.world] * list.cameras[record.camera].view) * camera.projection;
    }

    bool OutsideView(const ListMesh::Part& part, const Matrix& world, const CameraFrame& camera) const {
        Vector3 center = Vec3TransformCoord(part.center, world);
        float scale = 0;
        for (int i = 0; i < 3; ++i)
            scale = std::max(scale, Vec3LengthSq({world.m[i][0], world.m[i][1], world.m[i][2]}));
        float radius = part.radius * std::sqrt(scale) * 1.001f + 1e-4f;
        for (const Plane& p : camera.planes)
            if (p.x * center.x + p.y * center.y + p.z * center.z + p.w < -radius) return true;
        return false;
    }

    void AddSubset(const DrawRecord& record) {
        const ListMesh& mesh = *record.mesh;
        const ListMesh::Part& part = mesh.parts[record.item];
        const Matrix& world = list.worlds[record.world];
        const CameraFrame& camera = Camera(record.camera);
        if (OutsideView(part, world, camera)) {
            ++frame.culled;
            return;
        }
        PrepareTransform(record);
        const RenderStateSet& states = list.states[record.states];
        const BatchState state = StateOf(states);
        Open(Batch::Mode::Triangles, state, record.texture);

        // Every vertex to clip space, with the planes it lies outside.
        const uint32_t n = part.vertexCount;
        frame.clip.resize(n);
        frame.remap.assign(n, UINT32_MAX);
        const MeshVertex* in = mesh.partVertices.data() + part.firstVertex;
        const Matrix& m = worldViewProjection;
        for (uint32_t i = 0; i < n; ++i) {
            const Vector3& p = in[i].position;
            BatchedFrame::ClipVertex& c = frame.clip[i];
            c.x = p.x * m.m[0][0] + p.y * m.m[1][0] + p.z * m.m[2][0] + m.m[3][0];
            c.y = p.x * m.m[0][1] + p.y * m.m[1][1] + p.z * m.m[2][1] + m.m[3][1];
            c.z = p.x * m.m[0][2] + p.y * m.m[1][2] + p.z * m.m[2][2] + m.m[3][2];
            c.w = p.x * m.m[0][3] + p.y * m.m[1][3] + p.z * m.m[2][3] + m.m[3][3];
            c.outside = uint32_t(c.x < -c.w) | uint32_t(c.x > c.w) << 1 | uint32_t(c.y < -c.w) << 2 |
                        uint32_t(c.y > c.w) << 3 | uint32_t(c.z < -c.w) << 4 | uint32_t(c.z > c.w) << 5;
            if (c.w > 0) {
                // Window pixels, y up.
                const float inverse = 1.0f / c.w;
                c.windowX = (c.x * inverse + 1.0f) * halfWidth;
                c.windowY = (c.y * inverse + 1.0f) * halfHeight;
            } else {
                c.outside |= BehindEye;
            }
        }

        const Material& material = list.materials[record.material];
        Lighting lighting = MakeLighting(states, camera, material, world);
        const float dr = material.diffuse.r, dg = material.diffuse.g, db = material.diffuse.b;
        // Most meshes are lit the quick way: unit normals under a world that
        // only turns, moves and scales evenly, no highlights.
        const bool quick = lighting.on && lighting.rigid && !lighting.specular && mesh.unitNormals;
        const Vector3 ml = lighting.modelLight;
        const float kr = dr * lighting.diffuseR, kg = dg * lighting.diffuseG, kb = db * lighting.diffuseB;
        const uint8_t alpha = ToByte(lighting.alpha);
        // Which winding the cull mode throws away, as the sign of the
        // window-space area (y up): 0 keeps both.
        const float cullSign = state.cull == CullCCW ? 1.0f : state.cull == CullCW ? -1.0f : 0.0f;

        BatchVertex* out = frame.vertices.Grow(n);
        const uint32_t base = uint32_t(out - frame.vertices.data());
        uint32_t used = 0;
        uint32_t* indices = frame.indices.Grow(part.indexCount);
        uint32_t kept = 0;
        const uint16_t* source = mesh.partIndices.data() + part.firstIndex;
        for (uint32_t t = 0; t + 2 < part.indexCount; t += 3) {
            const uint16_t a = source[t], b = source[t + 1], c = source[t + 2];
            const auto& ca = frame.clip[a];
            const auto& cb = frame.clip[b];
            const auto& cc = frame.clip[c];
            // Wholly outside one plane: clipping would leave nothing of it.
            if (ca.outside & cb.outside & cc.outside & OutsidePlanes) continue;
            if (!((ca.outside | cb.outside | cc.outside) & BehindEye)) {
                // Facing away: culling would drop it. Edge-on ones are left to
                // the pipeline.
                if (cullSign != 0) {
                    float area = (cb.windowX - ca.windowX) * (cc.windowY - ca.windowY) -
                                 (cc.windowX - ca.windowX) * (cb.windowY - ca.windowY);
                    if (area * cullSign > 0) continue;
                }
                // Between pixel centres: a triangle covers a pixel only where it
                // holds the pixel's centre, so one whose box holds no centre
                // (with a margin for the rasteriser's rounding) draws nothing.
                if (MissesEveryCentre(ca.windowX, cb.windowX, cc.windowX) ||
                    MissesEveryCentre(ca.windowY, cb.windowY, cc.windowY))
                    continue;
            }
            for (uint16_t v : {a, b, c}) {
                uint32_t& slot = frame.remap[v];
                if (slot == UINT32_MAX) {
                    slot = base + used;
                    BatchVertex& o = out[used++];
                    const auto& clip = frame.clip[v];
                    o.x = clip.x;
                    o.y = clip.y;
                    o.z = clip.z;
                    o.w = clip.w;
                    o.u = in[v].u;
                    o.v = in[v].v;
                    if (quick) {
                        const Vector3& normal = in[v].normal;
                        float d = normal.x * ml.x + normal.y * ml.y + normal.z * ml.z;
                        d = d > 0 ? d : 0;
                        o.r = ToByte(lighting.baseR + kr * d);
                        o.g = ToByte(lighting.baseG + kg * d);
                        o.b = ToByte(lighting.baseB + kb * d);
                        o.a = alpha;
                    } else if (lighting.on) {
                        Light(lighting, dr, dg, db, lighting.alpha, in[v].normal, o);
                    } else {
                        o.r = o.g = o.b = o.a = 0xFF;
                    }
                }
                indices[kept++] = slot;
            }
        }
        frame.vertices.Shrink(base + used);
        frame.indices.Shrink(frame.indices.size() - (part.indexCount - kept));
        frame.triangles += kept / 3;
    }

    void AddPrimitive(const DrawRecord& record) {
        const uint32_t fvf = record.fvf;
        const uint32_t stride = Fvf::Stride(fvf);
        const uint32_t count = Device::VertexCount(record.primitive, record.count);
        if (!stride || count == 0) return;
        const bool screen = (fvf & Fvf::XyzRhw) != 0;
        size_t offset = screen ? 16 : 12;
        size_t normalAt = 0, colorAt = 0, texAt = 0;
        if (fvf & Fvf::Normal) {
            normalAt = offset;
            offset += 12;
        }
        if (fvf & Fvf::Diffuse) {
            colorAt = offset;
            offset += 4;
        }
        if (fvf & (Fvf::Tex1 | Fvf::Tex2)) texAt = offset;

        const RenderStateSet& states = list.states[record.states];
        const bool lines = record.primitive == PrimitiveType::LineList || record.primitive == PrimitiveType::LineStrip;
        const int scale = list.cameras[record.camera].screenScale;
        if (screen && lines && scale > 1) {
            AddScaledLines(record, stride, colorAt, scale);
            return;
        }
        Open(lines ? Batch::Mode::Lines : Batch::Mode::Triangles, StateOf(states), record.texture);

        const CameraFrame& camera = Camera(record.camera);
        Lighting lighting;
        if (!screen) {
            PrepareTransform(record);
            lighting = MakeLighting(states, camera, list.materials[record.material], list.worlds[record.world]);
        }
        const Material& material = list.materials[record.material];
        BatchVertex* out = frame.vertices.Grow(count);
        const uint32_t base = uint32_t(out - frame.vertices.data());
        const unsigned char* bytes = list.vertexBytes.data() + record.item;
        for (uint32_t i = 0; i < count; ++i) {
            const unsigned char* vertex = bytes + size_t(i) * stride;
            BatchVertex& o = out[i];
            float p[3];
            std::memcpy(p, vertex, sizeof p);
            uint32_t color = 0xFFFFFFFF;
            if (fvf & Fvf::Diffuse) std::memcpy(&color, vertex + colorAt, 4);
            float uv[2] = {0, 0};
            if (texAt) std::memcpy(uv, vertex + texAt, sizeof uv);
            o.u = uv[0];
            o.v = uv[1];
            if (screen) {
                // Screen pixels (scaled), y down; pixel centres sit on whole
                // numbers, so a small shift keeps rectangle edges off the
                // rasteriser's centres.
                o.x = (p[0] * float(scale) + 0.375f) * 2.0f / width - 1.0f;
                o.y = 1.0f - (p[1] * float(scale) + 0.375f) * 2.0f / height;
                o.z = 2.0f * p[2] - 1.0f;
                o.w = 1.0f;
                SetColor(o, color);
                continue;
            }
            ToClip(worldViewProjection, p[0], p[1], p[2], o);
            if (lighting.on) {
                // Vertex colours stand in for the material's diffuse colour.
                Vector3 normal{0, 0, -1};
                if (normalAt) std::memcpy(&normal, vertex + normalAt, sizeof normal);
                ColorValue diffuse = (fvf & Fvf::Diffuse) ? FromArgb(color) : material.diffuse;
                Light(lighting, diffuse.r, diffuse.g, diffuse.b, diffuse.a, normal, o);
            } else {
                SetColor(o, color);
            }
        }
        const size_t first = frame.indices.size();
        switch (record.primitive) {
        case PrimitiveType::LineList:
        case PrimitiveType::TriangleList:
            for (uint32_t i = 0; i < count; ++i) frame.indices.push_back(base + i);
            break;
        case PrimitiveType::LineStrip:
            for (uint32_t i = 0; i + 1 < count; ++i) {
                frame.indices.push_back(base + i);
                frame.indices.push_back(base + i + 1);
            }
            break;
        case PrimitiveType::TriangleFan:
            for (uint32_t i = 1; i + 1 < count; ++i) {
                frame.indices.push_back(base);
                frame.indices.push_back(base + i);
                frame.indices.push_back(base + i + 1);
            }
            break;
        }
        if (!lines) frame.triangles += uint32_t(frame.indices.size() - first) / 3;
    }

    // Screen-space lines on a scaled screen: each segment a band as wide as
    // a scaled pixel, covering the blocks a one-pixel line covers on the
    // smaller screen (its last pixel left out, as a line leaves it out).
    void AddScaledLines(const DrawRecord& record, uint32_t stride, size_t colorAt, int scale) {
        Open(Batch::Mode::Triangles, StateOf(list.states[record.states]), record.texture);
        const uint32_t count = Device::VertexCount(record.primitive, record.count);
        const unsigned char* bytes = list.vertexBytes.data() + record.item;
        auto point = [&](uint32_t i, float& x, float& y, uint32_t& color) {
            const unsigned char* vertex = bytes + size_t(i) * stride;
            float p[2];
            std::memcpy(p, vertex, sizeof p);
            color = 0xFFFFFFFF;
            if (record.fvf & Fvf::Diffuse) std::memcpy(&color, vertex + colorAt, 4);
            // The centre of the pixel's block on the back buffer.
            x = (p[0] + 0.5f) * float(scale);
            y = (p[1] + 0.5f) * float(scale);
        };
        const float half = 0.5f * float(scale);
        auto segment = [&](uint32_t a, uint32_t b) {
            float x1, y1, x2, y2;
            uint32_t c1, c2;
            point(a, x1, y1, c1);
            point(b, x2, y2, c2);
            float dx = x2 - x1, dy = y2 - y1, length = std::sqrt(dx * dx + dy * dy);
            if (length <= 0) return;
            dx /= length;
            dy /= length;
            // From half a block before the first centre to half a block before the last.
            x1 -= dx * half;
            y1 -= dy * half;
            x2 -= dx * half;
            y2 -= dy * half;
            const float nx = -dy * half, ny = dx * half;
            BatchVertex* out = frame.vertices.Grow(4);
            const uint32_t base = uint32_t(out - frame.vertices.data());
            const float corners[4][2] = {{x1 + nx, y1 + ny}, {x1 - nx, y1 - ny}, {x2 - nx, y2 - ny}, {x2 + nx, y2 + ny}};
            for (int k = 0; k < 4; ++k) {
                BatchVertex& o = out[k];
                o.x = corners[k][0] * 2.0f / width - 1.0f;
                o.y = 1.0f - corners[k][1] * 2.0f / height;
                o.z = -1.0f;
                o.w = 1.0f;
                o.u = o.v = 0;
                SetColor(o, k < 2 ? c1 : c2);
            }
            for (uint32_t i : {0u, 1u, 2u, 0u, 2u, 3u}) frame.indices.push_back(base + i);
            frame.triangles += 2;
        };
        if (record.primitive == PrimitiveType::LineList)
            for (uint32_t i = 0; i + 1 < count; i += 2) segment(i, i + 1);
        else
            for (uint32_t i = 0; i + 1 < count; ++i) segment(i, i + 1);
    }

    void AddSprite(const DrawRecord& record) {
        const SpriteDraw& sprite = list.sprites[record.item];
        const ListTexture* texture = record.texture;
        const int scale = list.cameras[record.camera].screenScale;
        Open(Batch::Mode::Triangles, SpriteState, texture);
        const float w = float(sprite.source.right - sprite.source.left);
        const float h = float(sprite.source.bottom - sprite.source.top);
        const float u0 = float(sprite.source.left) / float(texture->width);
        const float v0 = float(sprite.source.top) / float(texture->height);
        const float u1 = float(sprite.source.right) / float(texture->width);
        const float v1 = float(sprite.source.bottom) / float(texture->height);
        // Scale, turn about the centre (given in scaled pixels), then place.
        const float c = std::cos(sprite.rotation), s = std::sin(sprite.rotation);
        const uint32_t base = uint32_t(frame.vertices.size());
        auto corner = [&](float px, float py, float u, float v) {
            float x = px * sprite.scaleX - sprite.centerX;
            float y = py * sprite.scaleY - sprite.centerY;
            float sx = (x * c - y * s + sprite.centerX + sprite.x) * float(scale);
            float sy = (x * s + y * c + sprite.centerY + sprite.y) * float(scale);
            BatchVertex& o = *frame.vertices.Grow(1);
            o.x = sx * 2.0f / width - 1.0f;
            o.y = 1.0f - sy * 2.0f / height;
            o.z = 0;
            o.w = 1;
            SetColor(o, sprite.color);
            o.u = u;
            o.v = v;
        };
        corner(0, 0, u0, v0);
        corner(0, h, u0, v1);
        corner(w, h, u1, v1);
        corner(w, 0, u1, v0);
        for (uint32_t i : {0u, 1u, 2u, 0u, 2u, 3u}) frame.indices.push_back(base + i);
        frame.triangles += 2;
    }

    const DrawList& list;
    const float width, height, halfWidth, halfHeight;
    BatchedFrame& frame;
    std::vector<CameraFrame> cameras;
    std::vector<bool> cameraReady;
    // Whether the last batch still takes draws.
    bool open = false;
    uint32_t lastWorld = UINT32_MAX, lastCamera = UINT32_MAX;
    Matrix worldViewProjection = MatrixIdentity();
};

} // namespace

Matrix DepthRangeFix() {
    Matrix m = MatrixIdentity();
    m.m[2][2] = 2.0f;
    m.m[3][2] = -1.0f;
    return m;
}

void BatchedFrame::Clear() {
    vertices.clear();
    indices.clear();
    batches.clear();
    culled = 0;
    triangles = 0;
}

void BuildBatches(const DrawList& list, int width, int height, BatchedFrame& frame) {
    Builder(list, width, height, frame).Build(0, list.records.size());
}

void BuildBatches(const DrawList& list, size_t first, size_t count, int width, int height, BatchedFrame& frame) {
    Builder(list, width, height, frame).Build(first, count);
}
