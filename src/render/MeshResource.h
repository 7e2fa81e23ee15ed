#pragma once

#include "render/Device.h"
#include "render/MeshData.h"

#include <memory>
#include <string>
#include <vector>

class Graphics;

// One model: a mesh read from the game's built-in X data, with its materials,
// its shared textures and its bounds. Loaded once at start-up, drawn every
// frame under a world matrix. The CPU-side geometry stays for picking.
class MeshResource {
public:
    MeshResource() = default;
    MeshResource(const MeshResource&) = delete;
    MeshResource& operator=(const MeshResource&) = delete;
    ~MeshResource() { Release(); }

    // Loads the "X" resource of that name; a loaded model is released first.
    bool Load(Graphics& graphics, const std::string& name, uint32_t colorKey, int mipLevels);
    void Release();
    bool Loaded() const { return !name.empty() && !geometry.Empty(); }

    // Draws every subset in draw order (opaque before translucent), the draws
    // tagged as what they belong to (Device::SetDrawTag; 0 for nobody).
    void Draw(const Matrix& world, uint64_t tag = 0) const;
    // As Draw, with every material's alpha multiplied by alpha for this call.
    void DrawFaded(const Matrix& world, float alpha, uint64_t tag = 0) const;

    const std::string& Name() const { return name; }
    const MeshData& Geometry() const { return geometry; }
    size_t MaterialCount() const { return materials.size(); }
    const std::vector<uint32_t>& DrawOrder() const { return geometry.drawOrder; }

    // Bounds in model space: box, and the sphere around the mean vertex.
    Vector3 boxMin, boxMax, sphereCenter;
    float sphereRadius = 0;

private:
    Graphics* graphics = nullptr;
    std::string name;
    MeshData geometry;
    std::vector<Material> materials;
    // Null where the material names no texture; each other entry holds one
    // reference in the texture cache.
    std::vector<DeviceTexture*> textures;
    std::unique_ptr<DeviceMesh> deviceMesh;
};
