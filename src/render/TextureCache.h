#pragma once

#include <cstdint>
#include <list>
#include <memory>
#include <string>

class DeviceTexture;
class Graphics;

// Textures shared between meshes: one per bitmap name, counted by its users.
// The first entry stays first; new ones go in right after it.
class TextureCache {
public:
    explicit TextureCache(Graphics& graphics) : graphics(graphics) {}
    ~TextureCache();

    // The texture of the bitmap resource (a new reference), or null when it
    // can't be loaded. The name is compared exactly.
    DeviceTexture* GetTexture(const std::string& name, uint32_t colorKey, int mipLevels);
    // Drops one reference; the last one frees the texture. Null is ignored.
    void ReleaseTexture(DeviceTexture* texture);
    // Frees everything (the device is going away).
    void Clear();

    size_t Size() const { return entries.size(); }
    int References(const std::string& name) const;

private:
    struct Entry {
        std::unique_ptr<DeviceTexture> texture;
        std::string name;
        uint32_t references = 0;
    };

    Graphics& graphics;
    std::list<Entry> entries;
};

// A bitmap loaded as a texture of its own (sprite sources: title, font ...).
class Texture {
public:
    Texture() = default;
    Texture(const Texture&) = delete;
    Texture& operator=(const Texture&) = delete;
    ~Texture() { Release(); }

    bool Load(Graphics& graphics, const std::string& name, uint32_t colorKey, int mipLevels);
    void Release();

    DeviceTexture* texture() const { return loaded.get(); }
    int Width() const;
    int Height() const;
    const std::string& Name() const { return name; }

private:
    std::unique_ptr<DeviceTexture> loaded;
    std::string name;
};

// Decodes a bitmap resource into a device texture; null on failure.
std::unique_ptr<DeviceTexture> LoadBitmapTexture(Graphics& graphics, const std::string& name, uint32_t colorKey);
