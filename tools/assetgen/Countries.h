#pragma once

#include "assetgen/Mesh.h"
#include "game/types/Countries.h"

#include <string>

namespace assetgen {

// The game's countries: country k flies fighter k + 1, owns station k + 1 and
// has flag k + 1.
using ::CountryCount;

// The colours a country's craft are painted in.
struct CountryStyle {
    const char* name;
    // Main hull, second hull colour, small markings.
    Colour hull;
    Colour second;
    Colour marking;
    // Engine trails and the glow of its nozzles: twelve hues apart from each other.
    Colour trail;
};

const CountryStyle& Country(int index);

// "01" .. "12" for country 0 .. 11.
std::string TwoDigits(int number);

// Materials every model builder uses.
Material Matte(Colour colour, float emissive = 0.0f);
Material Shiny(Colour colour, float emissive = 0.0f);
Material Glow(Colour colour, float alpha = 1.0f);
// The country's flag laid on a white surface, a little self-lit so it reads in shadow.
Material FlagMaterial(int country);

} // namespace assetgen
