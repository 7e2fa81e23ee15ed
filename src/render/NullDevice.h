#pragma once

#include "render/Device.h"

// A device that draws nothing: headless battles and tools. Textures and
// meshes are made (with their sizes) so everything that loads still works.
class NullDevice : public Device {
public:
    bool BeginScene() override { return true; }
    void EndScene() override {}
    void Clear(uint32_t, uint32_t, float) override {}
    void Present() override {}
    void SetTransform(TransformType, const Matrix&) override {}
    void SetRenderState(RenderState, uint32_t) override {}
    void SetLight(const DirectionalLight&) override {}
    void LightEnable(bool) override {}
    void SetMaterial(const Material&) override {}
    void SetTexture(DeviceTexture*) override {}
    std::unique_ptr<DeviceTexture> CreateTexture(int width, int height, std::span<const uint32_t> argb) override;
    std::unique_ptr<DeviceMesh> CreateMesh(std::span<const MeshVertex>, std::span<const uint16_t>,
                                           std::span<const IndexRange> subsets) override;
    void DrawSubset(DeviceMesh&, size_t) override {}
    void DrawPrimitive(PrimitiveType, uint32_t, const void*, uint32_t) override {}
    void BeginSprites() override {}
    void DrawSprite(const SpriteDraw&) override {}
    void EndSprites() override {}
    std::string AdapterName() const override { return "none"; }
};
