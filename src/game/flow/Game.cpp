#include "game/flow/Game.h"

#include "game/flow/Config.h"
#include "platform/App.h"
#include "platform/ProgramDirectory.h"
#include "render/Bitmap.h"
#include "render/Graphics.h"
#include "render/ResourceTable.h"

namespace {
constexpr uint32_t SpaceBlue = 0xFF0A1430;
}

Game::Game(App& app, Graphics& graphics, ControlSettings& settings)
    : app(app), graphics(graphics), settings(settings) {}

void Game::Init() {
    // The game's emblem on the window, once the resources can be read.
    Bitmap icon;
    if (graphics.resources && DecodeBitmap(graphics.resources->Find("ICON", "starmarch"), 0, icon))
        app.window.SetIcon(icon.pixels.data(), icon.width, icon.height);
    BuildKeyNames(names);
    app.input.EnablePads(true);
}

void Game::Shutdown() { SaveConfig(settings, app.moduleDirectory); }

void Game::FirstScene() {
    if (!graphics.BeginFrame(SpaceBlue)) return;
    graphics.EndFrame();
}
