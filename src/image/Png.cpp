#include "image/Png.h"

#include <stb_image_write.h>

std::string EncodePng(int width, int height, int channels, std::span<const uint8_t> pixels) {
    if (width <= 0 || height <= 0 || (channels != 3 && channels != 4) ||
        pixels.size() != size_t(width) * size_t(height) * size_t(channels))
        return "";
    std::string out;
    auto append = [](void* context, void* data, int size) {
        static_cast<std::string*>(context)->append(static_cast<const char*>(data), size_t(size));
    };
    if (!stbi_write_png_to_func(append, &out, width, height, channels, pixels.data(), width * channels))
        return "";
    return out;
}
