#pragma once

#include "render/Device.h"

class Window;

// The device over OpenGL 2.1 (fixed function), on the window's context.
class GlDevice : public Device {
public:
    explicit GlDevice(Window& window);

    bool BeginScene() override;
    void EndScene() override {}
    void Clear(uint32_t flags, uint32_t color, float z) override;
    void Present() override;

    // Reads one pixel of the back buffer as ARGB (tests).
    uint32_t ReadPixel(int x, int y) const;

private:
    Window& window;
};
