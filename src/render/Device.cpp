#include "render/Device.h"

uint32_t Fvf::Stride(uint32_t fvf) {
    switch (fvf) {
    case Xyz | Diffuse: return 16;
    case XyzRhw | Diffuse: return 20;
    case Xyz | Normal | Diffuse: return 28;
    case Xyz | Diffuse | Tex1: return 24;
    case XyzRhw | Diffuse | Tex1: return 28;
    case Xyz | Normal | Diffuse | Tex1: return 36;
    case Xyz | Diffuse | Tex2: return 32;
    case Xyz | Normal | Diffuse | Tex2: return 44;
    default: return 0;
    }
}

uint32_t Device::VertexCount(PrimitiveType type, uint32_t primitiveCount) {
    switch (type) {
    case PrimitiveType::LineList: return primitiveCount * 2;
    case PrimitiveType::LineStrip: return primitiveCount + 1;
    case PrimitiveType::TriangleList: return primitiveCount * 3;
    case PrimitiveType::TriangleFan: return primitiveCount + 2;
    }
    return 0;
}
