#include "game/flow/Game.h"

#include "game/flow/Config.h"
#include "platform/App.h"
#include "platform/Input.h"
#include "platform/KeyCodes.h"
#include "platform/Sound.h"
#include "render/Bitmap.h"
#include "render/Graphics.h"
#include "render/ResourceTable.h"

Game::Game(App& app, Graphics& graphics, SoundSystem& sound, ControlSettings& settings)
    : context(app, graphics, sound, settings), loadingScreen(context), titleScreen(context),
      countrySelectScreen(context), settingsScreen(context), battleScreen(context), resultScreen(context) {}

void Game::Init() {
    GameContext& g = context;
    // The game's emblem on the window, once the resources can be read.
    Bitmap icon;
    if (g.graphics.resources && DecodeBitmap(g.graphics.resources->Find("ICON", "starmarch"), 0, icon))
        g.app.window.SetIcon(icon.pixels.data(), icon.width, icon.height);
    // Escape belongs to the screens from now on; pads are read.
    g.input().SetQuitKey(Dik::None);
    g.input().EnablePads(true);
    // The pointer counts UI pixels: the mouse's motion is divided by the UI
    // scale and the pointer stays on the UI's screen.
    g.app.inputDevices.SetMotionDivisor(float(g.graphics.uiScale));
    g.input().SetClientSize(g.width, g.height);
    g.input().SetMousePosition(g.width / 2, g.height / 2);
    g.sound.SetListenerDistanceFactor(10);
    g.graphics.SetDirectionalLight(g.lightDirection.x, g.lightDirection.y, g.lightDirection.z, 1, 1, 1, 1);
    if (Device* device = g.graphics.device()) device->SetRenderState(RenderState::NormalizeNormals, 1);
    if (g.font.Load(g.graphics, "FONT", 0xFF000000, 1)) g.textSprite.SetTexture(&g.font);
    loadingScreen.LoadPieces();
    g.ApplyFrameRate();
    // The loading screen follows the same pause as a transition.
    g.Wait(TransitionPauseMs);
}

void Game::Shutdown() {
    // A battle cut short by closing the window is kept up to its last step.
    if (context.Scene() == SceneId::Battle) context.FinishRecording(nullptr);
    context.ResetWorld();
    // A per-user configuration folder is made on the first save.
    MakePrivateFolder(context.app.paths.config);
    SaveConfig(context.settings, context.app.paths.config);
}

void Game::Frame() {
    if (context.frameRateChanged) context.ApplyFrameRate();
    context.UpdateScreenshots();
    // Alt + Enter switched between window and full screen: the next start
    // opens the same way.
    if (context.app.window.TakeFullScreenToggle()) {
        context.settings.windowed = context.app.window.FullScreen() ? 0 : 1;
        context.settings.windowModeChoice = context.settings.windowed;
    }
    context.app.inputDevices.SetPadPointer(context.settings.padPointer != 0);
    Current().Frame();
}

Screen& Game::Current() {
    switch (context.Scene()) {
    case SceneId::Loading:
        return loadingScreen;
    case SceneId::Title:
        return titleScreen;
    case SceneId::CountrySelect:
        return countrySelectScreen;
    case SceneId::Settings:
        return settingsScreen;
    case SceneId::Battle:
        return battleScreen;
    case SceneId::Result:
        break;
    }
    return resultScreen;
}
