#include "render/Sprite.h"

#include "render/TextureCache.h"

void Sprite::SetTexture(const Texture* source) {
    texture = source;
    int width = source ? source->Width() : 0, height = source ? source->Height() : 0;
    sourceRect = fullRect = {0, 0, width, height};
    rotationCenterX = float(width) * 0.5f;
    rotationCenterY = float(height) * 0.5f;
    visible = true;
    textureSet = true;
}

void Sprite::Draw(Device& device) {
    if (!texture || !texture->texture() || !visible) return;
    SpriteDraw draw;
    draw.texture = texture->texture();
    draw.source = sourceRect;
    draw.scaleX = scalingX;
    draw.scaleY = scalingY;
    draw.centerX = rotationCenterX * scalingX;
    draw.centerY = rotationCenterY * scalingY;
    draw.rotation = rotation;
    draw.x = positionX;
    draw.y = positionY;
    draw.color = color;
    device.DrawSprite(draw);
}

void Sprite::DrawText(Device& device, std::string_view text) {
    int x0 = int(positionX), x = x0, y = int(positionY);
    BeginSprites(device);
    // At most 4097 bytes, as the game's texts never come near.
    size_t limit = std::min<size_t>(text.size(), 4097);
    for (size_t i = 0; i < limit && text[i] != '\0'; ++i) {
        char ch = text[i];
        if (ch == '\n') {
            x = x0;
            y += 10;
        } else if (ch == '\t') {
            x += 40 - (x % 40);
        } else {
            // The byte as a signed value: only 7-bit codes address the sheet.
            int code = static_cast<signed char>(ch);
            int column = code % 16, row = code / 16;
            sourceRect = {8 * column, 16 * row, 8 * column + 5, 16 * row + 10};
            positionX = float(x);
            positionY = float(y);
            Draw(device);
            x += 5;
        }
    }
    EndSprites(device);
}
