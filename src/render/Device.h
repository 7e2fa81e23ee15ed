#pragma once

#include <cstdint>

// The drawing device in the vocabulary of the fixed-function pipeline the game
// was designed around. GlDevice draws with OpenGL; tests use their own.
class Device {
public:
    enum ClearFlags : uint32_t { ClearTarget = 1, ClearZBuffer = 2 };

    virtual ~Device() = default;

    virtual bool BeginScene() = 0;
    virtual void EndScene() = 0;
    // Clears the back buffer: colour is ARGB, z the depth to fill.
    virtual void Clear(uint32_t flags, uint32_t color, float z) = 0;
    // Shows the finished back buffer.
    virtual void Present() = 0;
};
