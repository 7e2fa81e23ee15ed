#include "game/screens/BattleScreen.h"

#include "game/flow/CountrySelection.h"
#include "game/flow/GameContext.h"
#include "platform/App.h"

BattleScreen::BattleScreen(GameContext& game) : game(game) {
    overlay.drawText = [&game](int x, int y, const std::string& text, uint32_t color) {
        game.DrawText(x, y, text, color);
    };
    overlay.countryName = [](int country) {
        const char* name = CountryName(country);
        return std::string(name ? name : "");
    };
}

void BattleScreen::Frame() {
    World* world = game.world();
    if (!world) return;
    if (!game.battlePaceStarted) game.StartBattlePace();
    sunTexture = game.light.texture();
    fps = game.app.Fps();
    overlay.participantCount = game.participantCount;
    RunBattleFrame(*world, game.input(), *this);
}

int BattleScreen::ActionState(int action) const {
    return game.ActionState(action);
}
void BattleScreen::PlayHover() {
    game.PlayHover();
}
void BattleScreen::PlayClick() {
    game.PlayClick();
}

void BattleScreen::Leave() {
    game.LogBattlePace();
    game.ResetWorld();
    // The result screen's backdrop: the preview models and their camera.
    game.CreateDisplaySet();
    game.SwitchTo(SceneId::Result);
}

void BattleScreen::PlaceListener(const Matrix& view) {
    ::PlaceListener(game.sound, view);
}

void BattleScreen::DrawCursor(int x, int y, bool altMark, bool orderMark) {
    game.cursorX = x;
    game.cursorY = y;
    game.DrawCursor(altMark, orderMark);
}

void BattleScreen::DrawNotices() {
    game.DrawNotice();
}
