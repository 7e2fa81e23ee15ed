#include "assetgen/Countries.h"

#include <array>

namespace assetgen {

namespace {

constexpr Colour Rgb(int rgb) {
    return {float((rgb >> 16) & 0xFF) / 255.0f, float((rgb >> 8) & 0xFF) / 255.0f, float(rgb & 0xFF) / 255.0f,
            1.0f};
}

constexpr CountryStyle Styles[] = {
    {"Japan", Rgb(0xF2F2F0), Rgb(0xC8CCD2), Rgb(0xC8102E), Rgb(0xFF3030)},
    {"United States", Rgb(0x2E4E8F), Rgb(0xE8E8EC), Rgb(0xB22234), Rgb(0x3C64FF)},
    {"United Kingdom", Rgb(0x283A6E), Rgb(0xB8BCC4), Rgb(0xC8102E), Rgb(0x9A5CFF)},
    {"France", Rgb(0xDDE3EA), Rgb(0x2B5DA8), Rgb(0xE1343F), Rgb(0x4AB4FF)},
    {"Germany", Rgb(0x5C6066), Rgb(0x2A2A2E), Rgb(0xFFCE00), Rgb(0xFFC21E)},
    {"Italy", Rgb(0x1E8A4C), Rgb(0xEDEDE6), Rgb(0xCE2B37), Rgb(0x30E060)},
    {"Russia", Rgb(0x8C9499), Rgb(0x2D4E9E), Rgb(0xD52B1E), Rgb(0xF0F0F4)},
    {"China", Rgb(0xB8232B), Rgb(0x6E6A66), Rgb(0xFFDE00), Rgb(0xFF7A14)},
    {"South Korea", Rgb(0xF0F0F2), Rgb(0x2A3A8C), Rgb(0xCD2E3A), Rgb(0xFF44C8)},
    {"Australia", Rgb(0x1F3A7A), Rgb(0x2E7D46), Rgb(0xFFCD00), Rgb(0xB4FF30)},
    {"Canada", Rgb(0xE8E4E0), Rgb(0xD01C1C), Rgb(0x3A3A3A), Rgb(0xFF8C96)},
    {"United Nations", Rgb(0xEEF4F8), Rgb(0x4B92DB), Rgb(0x9AA4AE), Rgb(0x30F0F0)},
};
static_assert(std::size(Styles) == CountryCount, "paints for every country");

} // namespace

const CountryStyle& Country(int index) {
    return Styles[size_t(index)];
}

std::string TwoDigits(int number) {
    return std::string(1, char('0' + number / 10)) + char('0' + number % 10);
}

Material Matte(Colour colour, float emissive) {
    Material m;
    m.diffuse = colour;
    m.power = 5.0f;
    m.specular = {0.1f, 0.1f, 0.1f, 1.0f};
    m.emissive = {colour.r * emissive, colour.g * emissive, colour.b * emissive, 1.0f};
    return m;
}

Material Shiny(Colour colour, float emissive) {
    Material m = Matte(colour, emissive);
    m.power = 30.0f;
    m.specular = {0.6f, 0.6f, 0.6f, 1.0f};
    return m;
}

Material Glow(Colour colour, float alpha) {
    Material m;
    m.diffuse = {colour.r, colour.g, colour.b, alpha};
    m.emissive = {colour.r, colour.g, colour.b, 1.0f};
    return m;
}

Material FlagMaterial(int country) {
    Material m = Matte({1.0f, 1.0f, 1.0f, 1.0f}, 0.25f);
    m.texture = "flag" + TwoDigits(country + 1);
    return m;
}

} // namespace assetgen
