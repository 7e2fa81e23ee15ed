#include "render/TextureCache.h"

#include "platform/Log.h"
#include "render/Bitmap.h"
#include "render/Device.h"
#include "render/Graphics.h"
#include "render/ResourceTable.h"

std::unique_ptr<DeviceTexture> LoadBitmapTexture(Graphics& graphics, const std::string& name, uint32_t colorKey) {
    if (!graphics.device() || !graphics.resources) return nullptr;
    Bitmap bitmap;
    if (!DecodeBitmap(graphics.resources->Find("BITMAP", name), colorKey, bitmap)) return nullptr;
    return graphics.device()->CreateTexture(bitmap.width, bitmap.height, bitmap.pixels);
}

TextureCache::~TextureCache() { Clear(); }

DeviceTexture* TextureCache::GetTexture(const std::string& name, uint32_t colorKey, int) {
    for (Entry& entry : entries) {
        if (entry.name == name) {
            ++entry.references;
            return entry.texture.get();
        }
    }
    Log("load(%s) ... ", name.c_str());
    std::unique_ptr<DeviceTexture> texture = LoadBitmapTexture(graphics, name, colorKey);
    if (!texture) {
        Log("failed.\n");
        return nullptr;
    }
    Log("ok.\n");
    auto at = entries.empty() ? entries.end() : std::next(entries.begin());
    auto inserted = entries.insert(at, Entry{std::move(texture), name, 1});
    return inserted->texture.get();
}

void TextureCache::ReleaseTexture(DeviceTexture* texture) {
    if (!texture) return;
    for (auto it = entries.begin(); it != entries.end(); ++it) {
        if (it->texture.get() != texture) continue;
        if (--it->references == 0) {
            Log("release(%s)\n", it->name.c_str());
            entries.erase(it);
        }
        return;
    }
}

void TextureCache::Clear() { entries.clear(); }

int TextureCache::References(const std::string& name) const {
    for (const Entry& entry : entries)
        if (entry.name == name) return int(entry.references);
    return 0;
}

bool Texture::Load(Graphics& graphics, const std::string& resourceName, uint32_t colorKey, int) {
    Release();
    Log("load(%s) ... ", resourceName.c_str());
    name = resourceName;
    loaded = LoadBitmapTexture(graphics, resourceName, colorKey);
    if (!loaded) {
        Log("failed.\n");
        return false;
    }
    Log("ok.\n");
    return true;
}

void Texture::Release() {
    if (!name.empty()) {
        Log("release(%s)\n", name.c_str());
        name.clear();
    }
    loaded.reset();
}

int Texture::Width() const { return loaded ? loaded->width : 0; }
int Texture::Height() const { return loaded ? loaded->height : 0; }
