#pragma once

#include "game/flow/Controls.h"
#include "game/flow/GameContext.h"
#include "render/MeshResource.h"
#include "render/SceneNode.h"

#include <array>

class App;
class Graphics;
class SoundSystem;

// Places loading piece i (0..9) as the loading screen shows it on the given
// frame and sets its fade; false while the piece has not started yet.
bool PlaceLoadingPiece(SceneNode& node, int index, int frame);

// The game's side of the application: its set-up before the loop, the screen
// of every frame, and its clean-up after the loop.
class Game {
public:
    Game(App& app, Graphics& graphics, SoundSystem& sound, ControlSettings& settings);

    void Init();
    void Shutdown();
    // Runs the current screen's frame.
    void Frame();

    GameContext context;
    ControlNames names;

    // What the result table shows, in order, and the column it is sorted by.
    const std::array<int, CountryCount>& ResultOrder() const { return resultOrder; }
    int SortColumn() const { return sortColumn; }
    bool Capturing() const { return captureMode; }

private:
    void LoadingFrame();
    void LoadResources();
    void TitleFrame();
    void SettingsFrame();
    void CountrySelectFrame();
    void ResultFrame();

    // Loading: the ten pieces of the opening picture.
    std::array<MeshResource, 10> pieces;
    std::array<SceneNode, 10> pieceNodes;
    int loadFrames = 0;

    // Title: the colour sweep across the title picture.
    int sweepStep = 119;
    uint32_t newColour = 0xFFFFFFFF, oldColour = 0xFFFFFFFF;
    Sprite titleSprite;

    Button chooseCountries, settingsButton, quit, start, cancel, back, done;
    std::array<OptionButton, 5> graphicsOptions;
    // How often pictures are drawn: applies at once.
    std::array<OptionButton, 6> frameRateOptions;
    // Which of them is chosen (by position).
    int frameRateChoice = 0;
    std::array<Button, ActionCount> actionButtons;
    int captureAction = 0;
    bool captureMode = false;

    // Result: the column the table is sorted by (-1 until the first sort).
    int sortColumn = -1;
    std::array<int, CountryCount> resultOrder{};
};
