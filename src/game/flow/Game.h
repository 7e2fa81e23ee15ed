#pragma once

#include "game/flow/GameContext.h"
#include "game/screens/BattleScreen.h"
#include "game/screens/CountrySelectScreen.h"
#include "game/screens/LoadingScreen.h"
#include "game/screens/ResultScreen.h"
#include "game/screens/SettingsScreen.h"
#include "game/screens/TitleScreen.h"

class App;
class Graphics;
class SoundSystem;

// The game's side of the application: its set-up before the loop, the
// current screen's frame every frame, and its clean-up after the loop.
class Game {
public:
    Game(App& app, Graphics& graphics, SoundSystem& sound, ControlSettings& settings);

    void Init();
    void Shutdown();
    // Runs the current screen's frame.
    void Frame();

    // What the screens share; declared before them, which hold on to it.
    GameContext context;

    const SettingsScreen& Settings() const { return settingsScreen; }
    const ResultScreen& Result() const { return resultScreen; }

private:
    Screen& Current();

    LoadingScreen loadingScreen;
    TitleScreen titleScreen;
    CountrySelectScreen countrySelectScreen;
    SettingsScreen settingsScreen;
    BattleScreen battleScreen;
    ResultScreen resultScreen;
};
