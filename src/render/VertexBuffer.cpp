#include "render/VertexBuffer.h"

bool VertexBuffer::Create(const void* data, uint32_t format, uint32_t byteSize) {
    Release();
    fvf = format;
    stride = Fvf::Stride(format);
    if (!stride || !data) return false;
    vertices = data;
    vertexCount = byteSize / stride;
    return true;
}

void VertexBuffer::Release() {
    vertices = nullptr;
    stride = vertexCount = 0;
}

void VertexBuffer::Draw(Device& device, PrimitiveType type, uint32_t primitives) const {
    // Never draw more vertices than the buffer holds.
    if (!vertices || primitives == 0 || Device::VertexCount(type, primitives) > vertexCount) return;
    device.DrawPrimitive(type, fvf, vertices, primitives);
}

void VertexBuffer::DrawLineList(Device& device) const { Draw(device, PrimitiveType::LineList, vertexCount / 2); }
void VertexBuffer::DrawLineStrip(Device& device, uint32_t count) const { Draw(device, PrimitiveType::LineStrip, count); }
void VertexBuffer::DrawTriangleFan(Device& device, uint32_t count) const {
    Draw(device, PrimitiveType::TriangleFan, count);
}
