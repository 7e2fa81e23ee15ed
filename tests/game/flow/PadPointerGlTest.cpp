// The menus played with a controller alone: a virtual controller's right
// stick moves the game's pointer and its right shoulder clicks, through the
// real SDL reader and the real screens (drawn to a recording device).
#include "game/flow/Game.h"
#include "game/screens/Layout.h"
#include "game/world/World.h"
#include "platform/App.h"
#include "platform/Clock.h"
#include "platform/Log.h"
#include "platform/PictureRate.h"
#include "platform/Sound.h"
#include "render/Graphics.h"
#include "render/RecordingDevice.h"
#include "render/ResourceTable.h"

#include <SDL.h>
#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>

namespace {

class StillClock : public Clock {
public:
    uint32_t Now() override { return 0; }
    void Sleep(uint32_t) override {}
};

// Raw numbering of the virtual controller (SDL's own mapping of a virtual
// game controller).
constexpr int RightShoulder = SDL_CONTROLLER_BUTTON_RIGHTSHOULDER;
constexpr int LeftTriggerAxis = SDL_CONTROLLER_AXIS_TRIGGERLEFT;

struct CouchGame {
    CouchGame() : app(0, nullptr, clock), graphics(std::make_unique<RecordingDevice>(), 640, 480) {
        SetLogCapture(&log);
        ready = Window::OpenVideo() == Window::VideoStatus::Ready && app.window.Create(640, 480);
        if (!ready) return;
        SDL_VirtualJoystickDesc desc{};
        desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
        desc.naxes = SDL_CONTROLLER_AXIS_MAX;
        desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
        desc.name = "Couch Pad";
        int device = SDL_JoystickAttachVirtualEx(&desc);
        pad = device >= 0 ? SDL_JoystickOpen(device) : nullptr;
        if (!pad) return;
        SDL_JoystickSetVirtualAxis(pad, SDL_CONTROLLER_AXIS_TRIGGERLEFT, -32768);
        SDL_JoystickSetVirtualAxis(pad, SDL_CONTROLLER_AXIS_TRIGGERRIGHT, -32768);
        app.inputDevices.Init(app.window, app.input);
        graphics.resources = &ResourceTable::Embedded();
        game = std::make_unique<Game>(app, graphics, sound, settings);
        game->context.instantTransitions = true;
        game->Init();
        for (int i = 0; i < 91 && game->context.Scene() == SceneId::Loading; ++i) Frame();
    }
    ~CouchGame() {
        game.reset();
        if (pad) SDL_JoystickClose(pad);
        if (ready) {
            app.inputDevices.Free();
            app.window.Destroy();
            Window::CloseVideo();
        }
        SetLogCapture(nullptr);
    }

    // One frame of the game as the app runs it, a little time apart so that
    // the stick moves the pointer.
    void Frame() {
        SDL_Delay(8);
        SDL_JoystickUpdate();
        app.window.PumpMessages();
        app.inputDevices.Poll(app.input);
        game->Frame();
    }
    void Stick(int x, int y) {
        SDL_JoystickSetVirtualAxis(pad, SDL_CONTROLLER_AXIS_RIGHTX, Sint16(x));
        SDL_JoystickSetVirtualAxis(pad, SDL_CONTROLLER_AXIS_RIGHTY, Sint16(y));
    }
    void Button(int button, bool down) { SDL_JoystickSetVirtualButton(pad, button, down ? 1 : 0); }
    // Steers the cursor onto (x, y) with the right stick, deflecting it less
    // as the cursor comes near.
    bool MoveTo(int x, int y) {
        GameContext& g = game->context;
        auto deflect = [](int error) {
            if (error == 0) return 0;
            const double beyond = std::clamp(std::abs(error) / 60.0, 0.08, 1.0);
            const double amount = 0.16 + 0.84 * beyond;
            return int(std::copysign(amount * 32767.0, double(error)));
        };
        for (int i = 0; i < 600; ++i) {
            const int ex = x - g.cursorX, ey = y - g.cursorY;
            if (std::abs(ex) <= 2 && std::abs(ey) <= 2) break;
            Stick(deflect(ex), deflect(ey));
            Frame();
        }
        Stick(0, 0);
        Frame();
        return std::abs(x - g.cursorX) <= 3 && std::abs(y - g.cursorY) <= 3;
    }
    bool MoveTo(const ScreenRect& r) { return MoveTo(r.x + r.w / 2, r.y + r.h / 2); }
    void Click(const ScreenRect& r) {
        ASSERT_TRUE(MoveTo(r));
        Button(RightShoulder, true);
        Frame();
        Button(RightShoulder, false);
        Frame();
    }
    void Drag(const ScreenRect& from, const ScreenRect& to) {
        ASSERT_TRUE(MoveTo(from));
        Button(RightShoulder, true);
        Frame();
        ASSERT_TRUE(MoveTo(to));
        Button(RightShoulder, false);
        Frame();
    }

    std::string log;
    bool ready = false;
    StillClock clock;
    App app;
    Graphics graphics;
    CommandLine noSwitches;
    SoundSystem sound{noSwitches, "./"};
    ControlSettings settings;
    SDL_Joystick* pad = nullptr;
    std::unique_ptr<Game> game;
};

} // namespace

// Capture on the settings screen takes the trigger, not the shoulder that
// clicked the action's button, and names it as the controller shows it; then
// countries are dragged into their slots and the battle starts.
TEST(PadPointer, SettingsAndCountrySelectionFromTheCouch) {
    CouchGame s;
    if (!s.ready) GTEST_SKIP() << "no display";
    ASSERT_NE(s.pad, nullptr) << SDL_GetError();
    GameContext& g = s.game->context;
    ASSERT_EQ(g.Scene(), SceneId::Title);
    s.Click(TitleLayout::Settings);
    ASSERT_EQ(g.Scene(), SceneId::Settings);
    ASSERT_TRUE(s.MoveTo(SettingsLayout::ActionButton(MainWeapon)));
    s.Button(RightShoulder, true);
    s.Frame();
    s.Frame();
    EXPECT_TRUE(s.game->Settings().Capturing());
    s.Button(RightShoulder, false);
    SDL_JoystickSetVirtualAxis(s.pad, LeftTriggerAxis, 32767);
    s.Frame();
    EXPECT_FALSE(s.game->Settings().Capturing());
    const int slot = g.settings.actionPadButton[MainWeapon];
    EXPECT_EQ(g.names.PadButtonName(g.input().PadKindOf(0), slot), "LT");
    SDL_JoystickSetVirtualAxis(s.pad, LeftTriggerAxis, -32768);
    s.Click(SettingsLayout::Done);
    ASSERT_EQ(g.Scene(), SceneId::Title);

    s.Click(TitleLayout::ChooseCountries);
    ASSERT_EQ(g.Scene(), SceneId::CountrySelect);
    using namespace CountrySelectLayout;
    s.Drag(AvailableFlag(0), TeamSlot(0));
    EXPECT_EQ(g.selection.slotCountry[0], 0);
    s.Drag(AvailableFlag(1), TeamSlot(4));
    EXPECT_EQ(g.selection.slotCountry[4], 1);
    s.Click(SlotName(0));
    EXPECT_EQ(g.selection.PlayerCountry(), 0);
    s.Click(Start);
    EXPECT_EQ(g.Scene(), SceneId::Battle);
}
