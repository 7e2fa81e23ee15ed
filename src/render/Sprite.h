#pragma once

#include "render/Device.h"

#include <string_view>

class Graphics;
class Texture;

// A picture cut from a texture and drawn in screen pixels: scaled, turned
// about a centre and tinted. Also draws text from the 16-column font sheet.
class Sprite {
public:
    virtual ~Sprite() = default;

    // Takes the whole texture, centres the rotation on it and makes it visible.
    void SetTexture(const Texture* texture);
    // Draws it when it has a texture and is visible (inside BeginSprites/EndSprites).
    virtual void Draw(Device& device);
    // Draws the text glyph by glyph: 5-pixel pitch, 10-pixel lines, tab stops
    // every 40 screen pixels. Brackets itself in a sprite batch.
    void DrawText(Device& device, std::string_view text);

    const Texture* texture = nullptr;
    Rect sourceRect;
    Rect fullRect;
    float scalingX = 1, scalingY = 1;
    // In unscaled source pixels.
    float rotationCenterX = 0, rotationCenterY = 0;
    // Screen pixels of the top-left corner before rotation.
    float positionX = 0, positionY = 0;
    float rotation = 0;
    uint32_t color = 0xFFFFFFFF;
    bool visible = false;
    bool textureSet = false;
};

// Sprite batch bracket on the device.
inline void BeginSprites(Device& device) { device.BeginSprites(); }
inline void EndSprites(Device& device) { device.EndSprites(); }
