#pragma once

#include "render/Device.h"

// User vertices in one of the game's vertex formats, drawn as lines or a fan.
// The vertices stay where the caller keeps them (usually on its stack); the
// buffer only checks the format and counts them.
class VertexBuffer {
public:
    // False, and nothing to draw, for a format outside the table.
    bool Create(const void* vertices, uint32_t fvf, uint32_t byteSize);
    void Release();

    void DrawLineList(Device& device) const;
    void DrawLineStrip(Device& device, uint32_t count) const;
    void DrawTriangleFan(Device& device, uint32_t count) const;

    uint32_t Fvf() const { return fvf; }
    uint32_t Stride() const { return stride; }
    uint32_t VertexCount() const { return vertexCount; }

private:
    void Draw(Device& device, PrimitiveType type, uint32_t primitives) const;

    const void* vertices = nullptr;
    uint32_t fvf = 0, stride = 0, vertexCount = 0;
};
