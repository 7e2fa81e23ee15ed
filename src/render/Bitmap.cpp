#include "render/Bitmap.h"

#include <climits>
#include <stb_image.h>

bool DecodeBitmap(std::span<const unsigned char> data, uint32_t colorKey, Bitmap& out) {
    out = {};
    if (data.empty() || data.size() > size_t(INT_MAX)) return false;
    int width = 0, height = 0, channels = 0;
    stbi_uc* rgba = stbi_load_from_memory(data.data(), int(data.size()), &width, &height, &channels, 4);
    if (!rgba) return false;
    out.width = width;
    out.height = height;
    out.pixels.resize(size_t(width) * size_t(height));
    for (size_t i = 0; i < out.pixels.size(); ++i) {
        const stbi_uc* p = rgba + i * 4;
        uint32_t argb = uint32_t(p[3]) << 24 | uint32_t(p[0]) << 16 | uint32_t(p[1]) << 8 | p[2];
        out.pixels[i] = (colorKey != 0 && argb == colorKey) ? 0u : argb;
    }
    stbi_image_free(rgba);
    return true;
}
