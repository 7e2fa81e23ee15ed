#include "game/flow/BattleScene.h"

#include "game/flow/CountrySelection.h"
#include "game/flow/GameContext.h"
#include "game/world/World.h"
#include "platform/App.h"
#include "platform/Input.h"
#include "platform/Sound.h"

void BattleSceneFrame(GameContext& game) {
    World* world = game.world();
    if (!world) return;
    if (!game.battlePaceStarted) game.StartBattlePace();

    BattleFrameHooks hooks;
    hooks.actionState = [&game](int action) { return game.ActionState(action); };
    hooks.playHover = [&game] { game.PlayHover(); };
    hooks.playClick = [&game] { game.PlayClick(); };
    hooks.leave = [&game] {
        game.LogBattlePace();
        game.ResetWorld();
        game.SetScene(SceneId::Result);
        // The result screen's backdrop: the preview models and their camera.
        game.CreateDisplaySet();
        game.Wait(500);
    };
    hooks.placeListener = [&game](const Matrix& view) { PlaceListener(game.sound, view); };
    hooks.drawCursor = [&game](int x, int y, bool altMark, bool orderMark) {
        game.cursorX = x;
        game.cursorY = y;
        game.DrawCursor(altMark, orderMark);
    };
    hooks.endFrame = [&game] { game.EndFrame(); };
    hooks.sunTexture = game.light.texture();
    hooks.fps = game.app.Fps();
    hooks.overlay.drawText = [&game](int x, int y, const std::string& text, uint32_t color) {
        game.DrawText(x, y, text, color);
    };
    hooks.overlay.countryName = [](int country) {
        const char* name = CountryName(country);
        return std::string(name ? name : "");
    };
    hooks.overlay.participantCount = game.participantCount;

    RunBattleFrame(*world, game.input(), hooks);
}
