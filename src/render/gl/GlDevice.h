#pragma once

#include "render/Device.h"

#include <array>
#include <cstdint>

class Window;

// The device over OpenGL 2.1 (compatibility profile, fixed function). The game
// draws into a W x H framebuffer object; Present copies it into the window,
// 1:1 in a window and scaled with black bars when the window covers a larger
// desktop.
class GlDevice : public Device {
public:
    // Needs the window's OpenGL context to be current.
    GlDevice(Window& window, int width, int height);
    ~GlDevice() override;

    // False when the framebuffer could not be made (the device is unusable).
    bool Ready() const { return framebuffer != 0; }

    bool BeginScene() override;
    void EndScene() override {}
    void Clear(uint32_t flags, uint32_t color, float z) override;
    void Present() override;

    void SetTransform(TransformType type, const Matrix& matrix) override;
    void SetRenderState(RenderState state, uint32_t value) override;
    void SetLight(const DirectionalLight& light) override;
    void LightEnable(bool enable) override;
    void SetMaterial(const Material& material) override;
    void SetTexture(DeviceTexture* texture) override;

    std::unique_ptr<DeviceTexture> CreateTexture(int width, int height, std::span<const uint32_t> argb) override;
    std::unique_ptr<DeviceMesh> CreateMesh(std::span<const MeshVertex> vertices, std::span<const uint16_t> indices,
                                           std::span<const IndexRange> subsets) override;
    void DrawSubset(DeviceMesh& mesh, size_t subset) override;
    void DrawPrimitive(PrimitiveType type, uint32_t fvf, const void* vertices, uint32_t primitiveCount) override;

    void BeginSprites() override;
    void DrawSprite(const SpriteDraw& sprite) override;
    void EndSprites() override;

    std::string AdapterName() const override;
    bool IsSoftwareRenderer() const;
    // Limits for the start-up log.
    struct Caps {
        int maxLights = 0, maxTextureSize = 0, maxTextureUnits = 0, maxIndices = 0;
    };
    Caps QueryCaps() const;

    // One pixel of the back buffer as ARGB, in back-buffer pixels from the top
    // left (tests and screenshots).
    uint32_t ReadPixel(int x, int y) const;
    // The whole back buffer as ARGB rows from the top.
    void ReadPixels(std::span<uint32_t> argb) const;
    int Width() const { return width; }
    int Height() const { return height; }

private:
    void ApplyModelView();
    void ApplyLightDirection();
    void ApplyBlend();
    void ApplyCull();

    Window& window;
    int width, height;
    unsigned framebuffer = 0, colorBuffer = 0, depthBuffer = 0;

    Matrix world = MatrixIdentity(), view = MatrixIdentity(), projection = MatrixIdentity();
    std::array<uint32_t, size_t(RenderState::Count)> states{};
    DirectionalLight light;
    bool lighting = true;
    bool inSprites = false;
};
