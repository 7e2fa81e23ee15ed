#pragma once

#include "render/NullDevice.h"

#include <vector>

// A device that keeps a list of what was drawn, where and in which colour,
// for tests. State calls are remembered as the state in force at each draw.
class RecordingDevice : public NullDevice {
public:
    struct Draw {
        enum class Kind { Subset, Primitive, Sprite, Clear } kind = Kind::Subset;
        // State in force when the draw was made.
        Matrix world, view, projection;
        Material material;
        DeviceTexture* texture = nullptr;
        uint32_t alphaBlend = 0, srcBlend = 0, destBlend = 0, lighting = 0;
        // Subset draws.
        const DeviceMesh* mesh = nullptr;
        size_t subset = 0;
        // Primitive draws: the vertices copied as they were given.
        PrimitiveType primitive = PrimitiveType::TriangleList;
        uint32_t fvf = 0;
        uint32_t primitiveCount = 0;
        std::vector<unsigned char> vertices;
        // Sprite draws.
        SpriteDraw sprite;
        // Clears.
        uint32_t clearFlags = 0, clearColor = 0;

        // Position and colour of vertex i of a primitive draw.
        Vector3 Position(size_t i) const;
        uint32_t Color(size_t i) const;
        size_t VertexCount() const;
    };

    bool BeginScene() override;
    void Clear(uint32_t flags, uint32_t color, float z) override;
    void Present() override { ++presents; }
    void SetTransform(TransformType type, const Matrix& matrix) override;
    void SetRenderState(RenderState state, uint32_t value) override;
    void SetLight(const DirectionalLight& newLight) override { light = newLight; }
    void SetMaterial(const Material& newMaterial) override { material = newMaterial; }
    void SetTexture(DeviceTexture* newTexture) override { texture = newTexture; }
    void DrawSubset(DeviceMesh& mesh, size_t subset) override;
    void DrawPrimitive(PrimitiveType type, uint32_t fvf, const void* vertices, uint32_t primitiveCount) override;
    void BeginSprites() override { ++spriteBatches; }
    void DrawSprite(const SpriteDraw& sprite) override;

    std::vector<Draw> draws;
    int scenes = 0, presents = 0, spriteBatches = 0;
    Matrix world = MatrixIdentity(), view = MatrixIdentity(), projection = MatrixIdentity();
    uint32_t states[size_t(RenderState::Count)] = {};
    DirectionalLight light;
    Material material;
    DeviceTexture* texture = nullptr;

private:
    Draw Snapshot(Draw::Kind kind) const;
};
