#include "render/NullDevice.h"

std::unique_ptr<DeviceTexture> NullDevice::CreateTexture(int width, int height, std::span<const uint32_t> argb) {
    if (width <= 0 || height <= 0 || argb.size() < size_t(width) * size_t(height)) return nullptr;
    return std::make_unique<DeviceTexture>(width, height);
}

std::unique_ptr<DeviceMesh> NullDevice::CreateMesh(std::span<const MeshVertex>, std::span<const uint16_t>,
                                                   std::span<const IndexRange> subsets) {
    auto mesh = std::make_unique<DeviceMesh>();
    mesh->subsetCount = subsets.size();
    return mesh;
}
