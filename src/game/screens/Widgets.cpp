#include "game/screens/Widgets.h"

#include "game/flow/GameContext.h"
#include "render/Draw2D.h"
#include "render/Graphics.h"

namespace {

// The frame of a button or box: top from the right, left downwards, right
// downwards, bottom from the right, shading c1 to c2 so the bottom right is brighter.
void DrawShadedFrame(Device& device, int x, int y, int w, int h, bool hovered) {
    uint32_t c1 = hovered ? 0x80FFFFFF : 0x00FFFFFF;
    uint32_t c2 = hovered ? 0xFFFFFFFF : 0x80FFFFFF;
    float l = float(x), t = float(y), r = float(x + w), b = float(y + h);
    DrawLine2D(device, r, t, l, t, c1, c1);
    DrawLine2D(device, l, t, l, b, c1, c2);
    DrawLine2D(device, r, t, r, b, c1, c2);
    DrawLine2D(device, r, b, l, b, c2, c1);
}

} // namespace

bool ButtonUpdate(GameContext& game, Button& button) {
    const ScreenRect& r = button.rect;
    bool inside = r.Contains(game.cursorX, game.cursorY);
    if (inside && !button.hovered) game.PlayHover();
    button.hovered = inside;
    bool clicked = inside && game.click;
    if (clicked) game.PlayClick();
    game.DrawText(r.x + 5, r.y + (r.h - 10) / 2, button.label);
    if (Device* device = game.graphics.device()) DrawShadedFrame(*device, r.x, r.y, r.w, r.h, button.hovered);
    return clicked;
}

void OptionButtonUpdate(GameContext& game, OptionButton& button) {
    const ScreenRect& r = button.rect;
    bool inside = r.Contains(game.cursorX, game.cursorY);
    if (inside && !button.hovered) game.PlayOptionHover();
    button.hovered = inside;
    if (inside && game.click && button.target) {
        *button.target = button.value == -1 ? (*button.target ? 0 : 1) : button.value;
        game.PlayOptionClick();
    }
    Device* device = game.graphics.device();
    if (!device) return;
    int h = r.h;
    DrawShadedFrame(*device, r.x, r.y, h, h, button.hovered);
    game.DrawText(r.x + h + 5, r.y + (h - 10) / 2, button.label);
    bool selected =
        button.target && (button.value == -1 ? *button.target != 0 : *button.target == button.value);
    if (selected) {
        float l = float(r.x), t = float(r.y), rt = float(r.x + h), b = float(r.y + h), d = float(h) / 2;
        float s = d * 0.7071f;
        DrawLine2D(*device, l, t, l + s, t + s, 0xFFFFFFFF);
        DrawLine2D(*device, rt, t, rt - s, t + s, 0xFFFFFFFF);
        DrawLine2D(*device, l, b, l + s, b - s, 0xFFFFFFFF);
        DrawLine2D(*device, rt, b, rt - s, b - s, 0xFFFFFFFF);
    }
}
