#pragma once

#include "game/flow/Controls.h"

#include <string>

class App;
class Graphics;

// The game's side of the application: its set-up before the loop, the current
// screen, and its clean-up after the loop.
class Game {
public:
    Game(App& app, Graphics& graphics, ControlSettings& settings);

    void Init();
    void Shutdown();

    // The first screen. Until the title and battle screens exist it shows an
    // empty deep-blue frame.
    void FirstScene();

    ControlNames names;

private:
    App& app;
    Graphics& graphics;
    ControlSettings& settings;
};
