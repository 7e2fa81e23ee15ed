#pragma once

#include <cstdint>

// The device's numbers (as the original API numbered them) in OpenGL terms.
unsigned GlCompare(uint32_t compare);
unsigned GlBlendFactor(uint32_t blend);
// The game's front faces wind clockwise as the player sees them; OpenGL
// names windings as seen too (y up in its window space), so culling
// counter-clockwise faces keeps the clockwise ones: GL_CW in front.
void GlApplyCull(uint32_t cull);
// Clears colour and depth as the original API does: the depth mask does not
// apply to clearing there, so it is opened first (the caller restores it).
void GlClear(uint32_t flags, uint32_t color, float z);
