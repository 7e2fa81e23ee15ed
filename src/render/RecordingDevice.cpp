#include "render/RecordingDevice.h"

#include <cstring>

bool RecordingDevice::BeginScene() {
    ++scenes;
    return true;
}

RecordingDevice::Draw RecordingDevice::Snapshot(Draw::Kind kind) const {
    Draw draw;
    draw.kind = kind;
    draw.world = world;
    draw.view = view;
    draw.projection = projection;
    draw.material = material;
    draw.texture = texture;
    draw.alphaBlend = states[size_t(RenderState::AlphaBlendEnable)];
    draw.srcBlend = states[size_t(RenderState::SrcBlend)];
    draw.destBlend = states[size_t(RenderState::DestBlend)];
    draw.lighting = states[size_t(RenderState::Lighting)];
    return draw;
}

void RecordingDevice::Clear(uint32_t flags, uint32_t color, float) {
    Draw draw = Snapshot(Draw::Kind::Clear);
    draw.clearFlags = flags;
    draw.clearColor = color;
    draws.push_back(std::move(draw));
}

void RecordingDevice::SetTransform(TransformType type, const Matrix& matrix) {
    switch (type) {
    case TransformType::World: world = matrix; break;
    case TransformType::View: view = matrix; break;
    case TransformType::Projection: projection = matrix; break;
    }
}

void RecordingDevice::SetRenderState(RenderState state, uint32_t value) {
    if (state < RenderState::Count) states[size_t(state)] = value;
}

void RecordingDevice::DrawSubset(DeviceMesh& mesh, size_t subset) {
    Draw draw = Snapshot(Draw::Kind::Subset);
    draw.mesh = &mesh;
    draw.subset = subset;
    draws.push_back(std::move(draw));
}

void RecordingDevice::DrawPrimitive(PrimitiveType type, uint32_t fvf, const void* vertices, uint32_t primitiveCount) {
    uint32_t stride = Fvf::Stride(fvf);
    if (!stride || !vertices) return;
    Draw draw = Snapshot(Draw::Kind::Primitive);
    draw.primitive = type;
    draw.fvf = fvf;
    draw.primitiveCount = primitiveCount;
    const auto* bytes = static_cast<const unsigned char*>(vertices);
    draw.vertices.assign(bytes, bytes + size_t(stride) * Device::VertexCount(type, primitiveCount));
    draws.push_back(std::move(draw));
}

void RecordingDevice::DrawSprite(const SpriteDraw& sprite) {
    Draw draw = Snapshot(Draw::Kind::Sprite);
    draw.sprite = sprite;
    draw.texture = sprite.texture;
    draws.push_back(std::move(draw));
}

size_t RecordingDevice::Draw::VertexCount() const {
    uint32_t stride = Fvf::Stride(fvf);
    return stride ? vertices.size() / stride : 0;
}

Vector3 RecordingDevice::Draw::Position(size_t i) const {
    Vector3 p;
    std::memcpy(&p, vertices.data() + i * Fvf::Stride(fvf), sizeof p);
    return p;
}

uint32_t RecordingDevice::Draw::Color(size_t i) const {
    size_t offset = (fvf & Fvf::XyzRhw) ? 16 : 12;
    if (fvf & Fvf::Normal) offset += 12;
    uint32_t color = 0;
    std::memcpy(&color, vertices.data() + i * Fvf::Stride(fvf) + offset, sizeof color);
    return color;
}
