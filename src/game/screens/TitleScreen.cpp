#include "game/screens/TitleScreen.h"

#include "game/flow/GameContext.h"
#include "platform/App.h"
#include "render/Graphics.h"

namespace {
constexpr const char* CreditText =
    "Starmarch - battles among the stars\nEvery ship, sound and picture made in code";
} // namespace

uint32_t Blend(uint32_t a, uint32_t b, float t) {
    auto channel = [&](int shift) {
        float value = float((a >> shift) & 0xFF) * t + float((b >> shift) & 0xFF) * (1 - t);
        return uint32_t(int(value)) << shift;
    };
    return 0xFF000000u | channel(16) | channel(8) | channel(0);
}

TitleScreen::TitleScreen(GameContext& game)
    : game(game), chooseCountries{"Choose Countries", TitleLayout::ChooseCountries.At(game.x0, game.y0)},
      settings{"Settings", TitleLayout::Settings.At(game.x0, game.y0)}, quit{"Quit", TitleLayout::Quit.At(
                                                                                         game.x0, game.y0)} {}

void TitleScreen::Frame() {
    GameContext& g = game;
    if (!g.MenuFrameStart()) return;
    if (g.EscapePressed()) {
        g.PlayClick();
        g.Quit();
        return;
    }
    DrawTitle();
    g.DrawText(g.width - 230 - g.x0, g.y0 + 180, CreditText);
    if (ButtonUpdate(g, chooseCountries)) {
        g.CenterCursor();
        g.CreateDisplaySet();
        g.SwitchTo(SceneId::CountrySelect);
        return;
    }
    if (ButtonUpdate(g, settings)) {
        g.CenterCursor();
        g.CreateDisplaySet();
        g.SwitchTo(SceneId::Settings);
        return;
    }
    if (ButtonUpdate(g, quit)) {
        g.Quit();
        return;
    }
    g.DrawCursor();
    g.EndFrame();
}

void TitleScreen::DrawTitle() {
    GameContext& g = game;
    // A new colour wipes across the title strip by strip, then rests.
    if (++sweepStep > 119) {
        sweepStep = 0;
        oldColour = newColour;
        int r = g.app.random.Random(255), gr = g.app.random.Random(255), b = g.app.random.Random(255);
        if (r + gr + b < 384) {
            r = 255 - r;
            gr = 255 - gr;
            b = 255 - b;
        }
        newColour = 0xFF000000u + uint32_t(r) * 65536u + uint32_t(gr) * 256u + uint32_t(b);
    }
    Device* device = g.graphics.device();
    if (!device || !g.title.texture()) return;
    Sprite& strip = g.titleSprite;
    device->BeginSprites();
    for (int k = 0; k < 64; ++k) {
        strip.sourceRect = {8 * k, 0, 8 * k + 8, 127};
        strip.scalingX = strip.scalingY = 1.25f;
        strip.rotation = 0;
        strip.positionX = float(g.x0 + 10 * k);
        strip.positionY = float(g.y0 + 10);
        if (k > sweepStep) {
            strip.color = oldColour;
        } else if (k < sweepStep - 4) {
            strip.color = newColour;
        } else if (k == sweepStep - 4) {
            strip.scalingX = 1.875f;
            strip.color = Blend(newColour, oldColour, 0.75f);
        } else if (k < sweepStep) {
            strip.positionX += 4;
            strip.color = Blend(newColour, oldColour, 0.5f);
        } else {
            strip.positionX += 4;
            strip.scalingX = 0.75f;
            strip.color = Blend(newColour, oldColour, 0.25f);
        }
        strip.Draw(*device);
    }
    device->EndSprites();
}
