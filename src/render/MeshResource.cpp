#include "render/MeshResource.h"

#include "platform/Log.h"
#include "render/Graphics.h"
#include "render/ResourceTable.h"
#include "render/TextureCache.h"

#include <optional>
#include <string_view>

bool MeshResource::Load(Graphics& target, const std::string& resourceName, uint32_t colorKey, int mipLevels) {
    if (!name.empty()) Release();
    graphics = &target;

    std::optional<std::string_view> text;
    if (target.resources) {
        std::span<const unsigned char> data = target.resources->Find("X", resourceName);
        if (!data.empty()) text = std::string_view(reinterpret_cast<const char*>(data.data()), data.size());
    }
    name = resourceName;
    // Optimised after the textures load, so its log line comes after theirs.
    if (!LoadMeshFromX(resourceName, text, geometry, false)) {
        name.clear();
        geometry.Clear();
        return false;
    }

    materials.clear();
    textures.clear();
    for (const MeshMaterial& source : geometry.materials) {
        Material material;
        material.diffuse = source.diffuse;
        material.ambient = source.diffuse;
        material.specular = source.specular;
        material.emissive = source.emissive;
        material.power = source.power;
        materials.push_back(material);
        DeviceTexture* texture = nullptr;
        if (!source.textureFilename.empty() && target.textureCache)
            texture = target.textureCache->GetTexture(source.textureFilename, colorKey, mipLevels);
        textures.push_back(texture);
    }
    OptimizeMesh(geometry);
    boxMin = geometry.boxMin;
    boxMax = geometry.boxMax;
    sphereCenter = geometry.sphereCenter;
    sphereRadius = geometry.sphereRadius;

    if (Device* device = target.device()) {
        std::vector<IndexRange> ranges;
        for (const MeshSubset& subset : geometry.subsets) ranges.push_back({subset.faceStart * 3, subset.faceCount * 3});
        deviceMesh = device->CreateMesh(geometry.vertices, geometry.indices, ranges);
    }
    return true;
}

void MeshResource::Release() {
    if (!name.empty()) {
        Log("release(%s)\n", name.c_str());
        name.clear();
    }
    if (graphics && graphics->textureCache)
        for (DeviceTexture* texture : textures) graphics->textureCache->ReleaseTexture(texture);
    textures.clear();
    materials.clear();
    deviceMesh.reset();
    geometry.Clear();
}

void MeshResource::Draw(const Matrix& world, uint64_t tag) const {
    if (!deviceMesh || !graphics || !graphics->device()) return;
    Device& device = *graphics->device();
    if (tag) device.SetDrawTag(tag, nullptr);
    device.SetTransform(TransformType::World, world);
    for (uint32_t k : geometry.drawOrder) {
        if (k >= materials.size()) continue;
        device.SetMaterial(materials[k]);
        device.SetTexture(textures[k]);
        device.DrawSubset(*deviceMesh, k);
    }
    if (tag) device.SetDrawTag(0, nullptr);
}

void MeshResource::DrawFaded(const Matrix& world, float alpha, uint64_t tag) const {
    if (!deviceMesh || !graphics || !graphics->device()) return;
    Device& device = *graphics->device();
    if (tag) device.SetDrawTag(tag, nullptr);
    device.SetTransform(TransformType::World, world);
    for (uint32_t k : geometry.drawOrder) {
        if (k >= materials.size()) continue;
        // Loading made ambient equal to diffuse; fade both from the ambient.
        Material faded = materials[k];
        faded.diffuse = faded.ambient;
        faded.diffuse.a = faded.ambient.a * alpha;
        faded.ambient.a = faded.diffuse.a;
        device.SetMaterial(faded);
        device.SetTexture(textures[k]);
        device.DrawSubset(*deviceMesh, k);
    }
    if (tag) device.SetDrawTag(0, nullptr);
}
