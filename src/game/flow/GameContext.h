#pragma once

#include "game/flow/BattleFactories.h"
#include "game/flow/Controls.h"
#include "game/flow/CountrySelection.h"
#include "game/world/BattleAssets.h"
#include "game/world/BattleSetup.h"
#include "game/world/BattleStats.h"
#include "platform/SoundPool.h"
#include "render/Math.h"
#include "render/Sprite.h"
#include "render/TextureCache.h"

#include <array>
#include <functional>
#include <memory>
#include <string>

class App;
class Graphics;
class ScreenshotWriter;
class Input;
class SoundSystem;
class Unit;
class World;

// The screens of the game, in the order the player meets them.
enum class SceneId { Loading, Title, CountrySelect, Settings, Battle, Result };

// How long the last picture of a screen stays before the next screen runs:
// leaving the loading screen takes no pause, every other screen this one.
constexpr int TransitionPauseMs = 500;
constexpr int TransitionPause(SceneId from) {
    return from == SceneId::Loading ? 0 : TransitionPauseMs;
}

// What every screen shares: the devices, the settings, what was loaded once,
// the country selection and statistics that outlive battles, and the world.
// Owned by the Game; screens get it by reference.
class GameContext {
public:
    GameContext(App& app, Graphics& graphics, SoundSystem& sound, ControlSettings& settings);
    ~GameContext();

    Input& input();
    int ActionState(int action) const;

    // The next screen runs from the next frame on, after the pause of leaving
    // this one. The transition's other work comes first.
    void SwitchTo(SceneId next);
    SceneId Scene() const { return scene; }
    // Asks the application to close, after the same pause as a transition.
    void Quit();
    // Pauses the game loop; counted in pauses.
    void Wait(int milliseconds);
    // Escape was just pressed this frame.
    bool EscapePressed();

    // The interface sounds at the camera: push buttons and the game use one
    // pair of pools, option buttons their own pair of the same two sounds.
    void PlayHover();
    void PlayClick();
    // Pictures between steps as the settings' frame rate asks, where the
    // device can draw them (otherwise one picture per frame, as always).
    void ApplyFrameRate();
    // A battle starts; when it ends the log says how many steps and pictures
    // it took and how long, the figures a player can quote.
    void StartBattlePace();
    void LogBattlePace();
    void PlayOptionHover();
    void PlayOptionClick();

    // Text in the bitmap font at (x, y) screen pixels, tinted.
    void DrawText(int x, int y, const std::string& text, uint32_t color = 0xFFFFFFFF);
    // The game's own mouse pointer at the cursor, with the battle's two marks.
    void DrawCursor(bool altMark = false, bool orderMark = false);
    // Moves the cursor by the mouse's motion since the last frame.
    void UpdateCursor();
    void CenterCursor();

    // F12 or Print Screen, at the start of a frame: the next picture shown
    // is saved (off the frame) into the screenshots folder. Also turns what
    // the saves came to into the notice.
    void UpdateScreenshots();
    // The notice of the last screenshot, for two seconds, one line below the
    // frame rate; left out of the picture being saved. Drawn last, just
    // before a picture is presented.
    void DrawNotice();
    static constexpr int NoticeX = 5, NoticeY = 15;
    static constexpr uint32_t NoticeMs = 2000;

    // The start of every menu screen's frame: cursor, black clear, light,
    // planet backdrop. False when the frame can't be drawn. Sets click (the
    // left button just pressed).
    bool MenuFrameStart();
    void EndFrame();

    // A fresh world for a battle (or the display set): deletes the old one.
    World& NewWorld();
    World* world() const { return worldPtr.get(); }
    // The world's reset, and the cursor back to the middle of the screen.
    void ResetWorld();
    // One station and one fighter of every type, for the country selection's
    // preview: plain units of a world that never runs, seen by the preview
    // camera. The next reset or battle removes them.
    void CreateDisplaySet();
    // Station type k + 1 and fighter type k + 1 (country k); null when absent.
    std::array<Unit*, CountryCount> displayStations{};
    std::array<Unit*, CountryCount> displayFighters{};

    App& app;
    Graphics& graphics;
    SoundSystem& sound;
    ControlSettings& settings;

    // Loaded once by the loading screen.
    Texture font, title, planet, flags, light;
    Sprite textSprite, planetSprite, flagSprite, lightSprite, titleSprite;
    // What the settings call each key and pad button.
    ControlNames names;
    SoundPool hoverSound, clickSound;
    SoundPool optionHoverSound, optionClickSound;
    BattleAssets battleAssets;
    BattleFamilies families;
    bool loaded = false;

    CountrySelection selection;
    BattleStats stats;
    BattleSetup setup;
    int participantCount = 0;

    // The 640 x 480 design's top-left corner on this screen.
    int x0 = 0, y0 = 0;
    int width = 640, height = 480;
    // The game's mouse pointer in back-buffer pixels.
    int cursorX = 320, cursorY = 240;
    bool click = false;
    // Transitions skip their pause (tests).
    bool instantTransitions = false;
    // The settings' frame rate changed: applied at the start of the next frame.
    bool frameRateChanged = false;
    // The application's counts when the battle's first frame began.
    uint64_t battleSteps = 0, battlePictures = 0;
    uint32_t battleStart = 0;
    bool battlePaceStarted = false;
    // Transition pauses asked for so far, taken or skipped.
    int pauses = 0;
    // Direction of the one light, normalised at start.
    Vector3 lightDirection{1, -2, 1};

    // Made by the first screenshot.
    std::unique_ptr<ScreenshotWriter> screenshots;
    // The notice's text and colour, and the clock's time it goes at.
    std::string notice;
    uint32_t noticeColor = 0xFFFFFFFF;
    uint32_t noticeUntil = 0;
    // A picture was asked for and not yet read back: no notice in it.
    bool capturePending = false;

private:
    // The log line adds the detail to the text.
    void ShowNotice(const std::string& text, bool failed, const std::string& logDetail = "");

    SceneId scene = SceneId::Loading;
    std::unique_ptr<World> worldPtr;
    uint32_t worldSeed = 1;
};

// Puts the sound listener at the camera of the view: at its eye, facing where
// it looks, its top the camera's up, so that what is left on the screen is
// heard on the left.
void PlaceListener(SoundSystem& sound, const Matrix& view);
