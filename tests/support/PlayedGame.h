#pragma once

// The whole game in a real window of the given size, driven frame by frame
// with scripted input: what the OpenGL screen tests share.
#include "game/flow/Game.h"
#include "game/screens/Layout.h"
#include "platform/App.h"
#include "platform/Clock.h"
#include "platform/Log.h"
#include "platform/PictureRate.h"
#include "platform/Sound.h"
#include "render/Graphics.h"
#include "render/ResourceTable.h"
#include "render/gl/GlDevice.h"

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

// A clock that never moves and never sleeps: the game's pauses are instant.
class StillClock : public Clock {
public:
    uint32_t Now() override { return 0; }
    void Sleep(uint32_t) override {}
};

struct PlayedGame {
    // Screenshots go to screenshotFolder when one is given.
    PlayedGame(int width, int height, int uiScale = 1, int frameRate = PictureRate::Classic,
               const std::string& screenshotFolder = {})
        : width(width), height(height), app(0, nullptr, clock) {
        SetLogCapture(&log);
        settings.frameRate = frameRate;
        if (!screenshotFolder.empty()) app.paths.screenshots = screenshotFolder;
        ready = app.window.Create(width, height);
        graphics = std::make_unique<Graphics>(app.window, commandLine, 1, width, height);
        graphics->resources = &ResourceTable::Embedded();
        graphics->SetUiScale(uiScale);
        ready = ready && graphics->Init();
        if (!ready) return;
        game = std::make_unique<Game>(app, *graphics, sound, settings);
        game->context.instantTransitions = true;
        // The result screen as described: no replay of the battle, no "Watch Again".
        game->context.recordBattles = false;
        app.input.SetClientSize(width / uiScale, height / uiScale);
        app.input.SetMousePosition(width / uiScale / 2, height / uiScale / 2);
        game->Init();
    }
    ~PlayedGame() {
        game.reset();
        graphics.reset();
        app.window.Destroy();
        SetLogCapture(nullptr);
    }
    void Frame(int dx = 0, int dy = 0, bool left = false, std::vector<int> keys = {}) {
        RawInput raw;
        raw.mouseDx = float(dx);
        raw.mouseDy = float(dy);
        raw.mouseButtons[0] = left ? 0x80 : 0;
        for (int key : keys) raw.keys[size_t(key)] = 0x80;
        app.input.Poll(raw);
        game->Frame();
    }
    void Keys(std::vector<int> keys) { Frame(0, 0, false, std::move(keys)); }
    // To (x, y) of the 640 x 480 design, in moves the game takes whole.
    void MoveTo(int x, int y, bool left = false) {
        GameContext& g = game->context;
        x += g.x0;
        y += g.y0;
        for (int i = 0; i < 10 && (g.cursorX != x || g.cursorY != y); ++i)
            Frame(std::clamp(x - g.cursorX, -300, 300), std::clamp(y - g.cursorY, -200, 200), left);
    }
    void Click(const ScreenRect& r) {
        MoveTo(r.x + r.w / 2, r.y + r.h / 2);
        Frame(0, 0, true);
        Frame();
    }
    void Drag(const ScreenRect& from, const ScreenRect& to) {
        MoveTo(from.x + from.w / 2, from.y + from.h / 2);
        Frame(0, 0, true);
        MoveTo(to.x + to.w / 2, to.y + to.h / 2, true);
        Frame();
    }
    // The back buffer as ARGB rows from the top.
    std::vector<uint32_t> Picture() {
        std::vector<uint32_t> argb(size_t(width) * size_t(height));
        static_cast<GlDevice*>(graphics->device())->ReadPixels(argb);
        return argb;
    }

    int width, height;
    std::string log;
    StillClock clock;
    App app;
    CommandLine commandLine{std::vector<std::string>{"-win"}};
    std::unique_ptr<Graphics> graphics;
    SoundSystem sound{commandLine, "./"};
    ControlSettings settings;
    std::unique_ptr<Game> game;
    bool ready = false;
};
