#pragma once

#include "render/Device.h"

class Graphics;
class RandomGenerator;

// Screen-space lines and rectangles in pixels (y down), and small flat shapes
// in the plane of the current world transform. Colours are ARGB.

// A line from colour1 to colour2; colour2 = 0 means colour1 throughout.
void DrawLine2D(Device& device, float x1, float y1, float x2, float y2, uint32_t color1, uint32_t color2 = 0);
void DrawRect2D(Device& device, float left, float top, float right, float bottom, uint32_t color);
void FillRect2D(Device& device, float left, float top, float right, float bottom, uint32_t color);

// A textured quad centred on (x, y) at depth z: texture (0, 0) at its top left.
void DrawQuad(Device& device, float x, float y, float z, float width, float height, uint32_t color);
// A six-sided and a 36-sided fan with a radial colour gradient.
void DrawHexagon(Device& device, float x, float y, float z, float radius, uint32_t centerColor, uint32_t rimColor);
void DrawDisc(Device& device, float x, float y, float z, float radius, uint32_t centerColor, uint32_t rimColor);

// Alpha blending on or off; the factors only matter when on.
void SetAlphaBlend(Device& device, bool enable, uint32_t src, uint32_t dest);
// Makes the world transform face the camera at (x, y, z).
void SetBillboardWorld(Graphics& graphics, float x, float y, float z);

// The sun at its world position and, when the camera looks close enough
// towards it, a chain of flare rings. The caller sets the sun's texture.
void DrawSunAndFlare(Graphics& graphics, RandomGenerator& random, const Vector3& sun, const Vector3& eye,
                     const Vector3& viewDirection, float size);
