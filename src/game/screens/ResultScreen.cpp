#include "game/screens/ResultScreen.h"

#include "game/flow/GameContext.h"
#include "render/Graphics.h"

#include <algorithm>
#include <cstdio>

ResultScreen::ResultScreen(GameContext& game)
    : game(game), back{"Back", ResultLayout::Back.At(game.x0, game.y0)} {}

void ResultScreen::Frame() {
    GameContext& g = game;
    if (!g.MenuFrameStart()) return;
    bool leave = false;
    if (g.EscapePressed()) {
        g.PlayClick();
        leave = true;
    }
    static constexpr const char* headers[BattleStats::ColumnCount] = {
        "    team",        "stations\nkilled", "stations\nlost",   "panels\nkilled", "panels\nlost",
        "turrets\nkilled", "turrets\nlost",    "fighters\nkilled", "fighters\nlost", "total\nscore"};
    g.DrawText(g.x0 + 5, g.y0 + 5, "Battle Result:");
    bool resort = false;
    for (int k = 0; k < BattleStats::ColumnCount; ++k) {
        const ScreenRect header = ResultLayout::Header(k).At(g.x0, g.y0);
        bool under = header.Contains(g.cursorX, g.cursorY);
        uint32_t color = k == sortColumn ? 0xFFFF8000 : under ? 0xFFFFC080 : 0xFFFFFFFF;
        if (under && g.click && k != sortColumn) {
            sortColumn = k;
            g.PlayClick();
            resort = true;
        }
        g.DrawText(header.x, header.y, headers[k], color);
    }
    if (sortColumn < 0) {
        sortColumn = 0;
        resort = true;
    }
    if (resort) Sort();
    int playerCountry = g.selection.PlayerCountry(), playerTeam = g.selection.PlayerTeam();
    for (int r = 0; r < g.participantCount && r < CountryCount; ++r) {
        int c = order[size_t(r)];
        if (g.flags.texture()) {
            g.flagSprite.sourceRect = {(c % 3) * 48 + 1, (c / 3) * 32 + 1, (c % 3) * 48 + 46,
                                       (c / 3) * 32 + 31};
            g.flagSprite.positionX = float(g.x0 + 5);
            g.flagSprite.positionY = float(g.y0 + 33 * r + 45);
            g.flagSprite.color = g.stats.Get(c, BattleStats::StationsLost) > 0 ? 0xFF808080 : 0xFFFFFFFF;
            g.graphics.device()->BeginSprites();
            g.flagSprite.Draw(*g.graphics.device());
            g.graphics.device()->EndSprites();
        }
        uint32_t nameColor = c == playerCountry                                      ? 0xFF40C040
                             : g.stats.Get(c, BattleStats::TeamNumber) == playerTeam ? 0xFF40C0C0
                                                                                     : 0xFFC04040;
        g.DrawText(g.x0 + 55, g.y0 + 33 * r + 61, CountryName(c), nameColor);
        for (int k = 0; k < BattleStats::ColumnCount; ++k) {
            int value = g.stats.Get(c, BattleStats::Column(k));
            uint32_t color = (k == 0 || k == 9) ? 0xFFFFFFFF
                             : value == 0       ? 0xFF404040
                             : k % 2            ? 0xFF80FFFF
                                                : 0xFFFF8080;
            char text[16];
            std::snprintf(text, sizeof text, "%8d", value);
            // Each figure under its column's header.
            g.DrawText(ResultLayout::Header(k).x + g.x0, g.y0 + 33 * r + 49, text, color);
        }
    }
    if (ButtonUpdate(g, back) || leave) {
        sortColumn = -1;
        g.CenterCursor();
        g.SwitchTo(SceneId::Title);
        return;
    }
    g.DrawCursor();
    g.EndFrame();
}

void ResultScreen::Sort() {
    GameContext& g = game;
    int n = 0;
    for (int j = 0; j < CountryCount; ++j)
        if (g.selection.slotCountry[size_t(j)] >= 0) order[size_t(n++)] = g.selection.slotCountry[size_t(j)];
    int count = std::min(n, g.participantCount);
    auto column = BattleStats::Column(sortColumn);
    bool descending = sortColumn % 2 == 1;
    for (int p = count - 1; p >= 1; --p)
        for (int i = 0; i < p; ++i) {
            int a = g.stats.Get(order[size_t(i)], column), b = g.stats.Get(order[size_t(i + 1)], column);
            if (descending ? a < b : a > b) std::swap(order[size_t(i)], order[size_t(i + 1)]);
        }
}
