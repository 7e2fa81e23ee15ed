#include "game/flow/Game.h"

#include "game/flow/Config.h"
#include "platform/App.h"
#include "platform/ProgramDirectory.h"
#include "render/Graphics.h"

namespace {
constexpr uint32_t SpaceBlue = 0xFF0A1430;
}

Game::Game(App& app, Graphics& graphics, ControlSettings& settings)
    : app(app), graphics(graphics), settings(settings) {}

void Game::Init() {
    BuildKeyNames(names);
    app.input.EnablePads(true);
}

void Game::Shutdown() { SaveConfig(settings, app.moduleDirectory); }

void Game::FirstScene() {
    if (!graphics.BeginFrame(SpaceBlue)) return;
    graphics.EndFrame();
}
