#include "platform/InputDevices.h"
#include "platform/Log.h"
#include "platform/Window.h"
#include "support/TempDir.h"

#include <SDL.h>
#include <gtest/gtest.h>

// Drives the real SDL pad path with SDL's virtual joystick, one that has no
// controller mapping (a raw joystick): axis scaling, the strict
// half-deflection thresholds, buttons, and a pad plugged in and pulled out
// while the game runs.
TEST(InputDevicesGl, VirtualPadThroughTheRealReader) {
    if (Window::OpenVideo() != Window::VideoStatus::Ready) GTEST_SKIP() << "no display";
    std::string log;
    SetLogCapture(&log);
    Window window;
    ASSERT_TRUE(window.Create(320, 240));
    Input input;
    InputDevices devices;
    ASSERT_TRUE(devices.Init(window, input));
    EXPECT_NE(log.find("InitDirectInput\n"), std::string::npos);
    EXPECT_EQ(input.MouseX(), 160);
    EXPECT_EQ(input.MouseY(), 120);
    input.EnablePads(true);

    int device = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_UNKNOWN, 3, 10, 0);
    ASSERT_GE(device, 0) << SDL_GetError();
    window.PumpMessages();
    SDL_Joystick* pad = SDL_JoystickOpen(device);
    ASSERT_NE(pad, nullptr);

    SDL_JoystickSetVirtualAxis(pad, 0, 32767);
    SDL_JoystickSetVirtualAxis(pad, 1, -32768);
    // Exactly half deflection on Z: 16384 scales to 500, which is not a press.
    SDL_JoystickSetVirtualAxis(pad, 2, 16384);
    SDL_JoystickSetVirtualButton(pad, 3, 1);
    SDL_JoystickSetVirtualButton(pad, 9, 1);
    SDL_JoystickUpdate();
    window.PumpMessages();

    RawInput raw;
    devices.Read(raw);
    EXPECT_EQ(devices.PadCount(), 1);
    ASSERT_TRUE(raw.pads[0].connected);
    EXPECT_EQ(raw.pads[0].x, 1000);
    EXPECT_EQ(raw.pads[0].y, -1000);
    EXPECT_EQ(raw.pads[0].z, 500);
    EXPECT_EQ(raw.pads[0].buttons[3], 0x80);
    EXPECT_EQ(raw.pads[0].kind, RawInput::PadKind::Joystick);
    EXPECT_FALSE(devices.Rumble(0, 0xFFFF, 0xFFFF, 100)) << "a pad without rumble";

    input.Poll(raw);
    EXPECT_EQ(input.PadState(0, Input::StickRight), Input::Pressed);
    EXPECT_EQ(input.PadState(0, Input::StickUp), Input::Pressed);
    EXPECT_EQ(input.PadState(0, Input::ZPositive), Input::Up);
    EXPECT_EQ(input.PadState(0, Input::Button0 + 3), Input::Pressed);

    // Pulled out: the pad stops answering before SDL reports it gone. It reads
    // as let go, says so once however many polls find it silent, and its slot
    // frees up.
    const std::string silentLine = "ジョイスティック[0]の状態が取得できません.\n";
    auto silentCount = [&] {
        size_t count = 0;
        for (size_t at = log.find(silentLine); at != std::string::npos; at = log.find(silentLine, at + 1))
            ++count;
        return count;
    };
    SDL_JoystickClose(pad);
    SDL_JoystickDetachVirtual(device);
    devices.Read(raw);
    devices.Read(raw);
    EXPECT_FALSE(raw.pads[0].connected);
    EXPECT_EQ(silentCount(), 1u);
    window.PumpMessages();
    devices.Read(raw);
    EXPECT_EQ(devices.PadCount(), 0);
    EXPECT_EQ(silentCount(), 1u);
    input.Poll(raw);
    EXPECT_EQ(input.PadState(0, Input::StickRight), Input::Released);

    // Plugged in again, it answers; pulled out again, it says so again.
    device = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_UNKNOWN, 3, 10, 0);
    ASSERT_GE(device, 0) << SDL_GetError();
    window.PumpMessages();
    devices.Read(raw);
    EXPECT_TRUE(raw.pads[0].connected);
    SDL_JoystickDetachVirtual(device);
    window.PumpMessages();
    devices.Read(raw);
    EXPECT_EQ(silentCount(), 2u);

    EXPECT_EQ(InputDevices::ScaleAxis(-32768), -1000);
    EXPECT_EQ(InputDevices::ScaleAxis(0), 0);
    EXPECT_EQ(InputDevices::ScaleAxis(16383), 499);

    devices.Free();
    EXPECT_NE(log.find("FreeInput\n"), std::string::npos);
    window.Destroy();
    Window::CloseVideo();
    SetLogCapture(nullptr);
}

namespace {

// A window and the game's input devices on it, logging into a string.
struct Devices {
    Devices() {
        SetLogCapture(&log);
        ready = Window::OpenVideo() == Window::VideoStatus::Ready;
        if (!ready) return;
        window.Create(320, 240);
        devices.Init(window, input);
        input.EnablePads(true);
    }
    ~Devices() {
        if (ready) {
            devices.Free();
            window.Destroy();
            Window::CloseVideo();
        }
        SetLogCapture(nullptr);
    }
    // One frame: events, then the devices' reading through the game's rules.
    RawInput Frame() {
        SDL_JoystickUpdate();
        window.PumpMessages();
        RawInput raw;
        devices.Read(raw);
        input.Poll(raw);
        return raw;
    }

    std::string log;
    bool ready = false;
    Window window;
    Input input;
    InputDevices devices;
};

int rumbles = 0;
int CountRumble(void*, Uint16, Uint16) { return ++rumbles, 0; }

// A virtual pad as a player's controller, with a controller mapping whose raw
// numbering is nothing like the pad record's: face and shoulder buttons on
// raw buttons 7..0 backwards, the triggers on axes 5 and 4, the right stick on
// axes 2 and 3.
struct VirtualController {
    explicit VirtualController(Uint16 vendor = 0x1234, Uint16 product = 0x0001, bool mapped = true) {
        SDL_VirtualJoystickDesc desc{};
        desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        desc.type = SDL_JOYSTICK_TYPE_UNKNOWN;
        desc.naxes = 6;
        desc.nbuttons = 10;
        desc.vendor_id = vendor;
        desc.product_id = product;
        desc.name = "Test Pad";
        desc.Rumble = CountRumble;
        device = SDL_JoystickAttachVirtualEx(&desc);
        if (device < 0) return;
        char guid[64];
        SDL_JoystickGetGUIDString(SDL_JoystickGetDeviceGUID(device), guid, sizeof guid);
        mapping = std::string(guid) + ",Test Pad,a:b7,b:b6,x:b5,y:b4,leftshoulder:b3,rightshoulder:b2,back:b1,"
                                      "start:b0,leftstick:b8,rightstick:b9,leftx:a0,lefty:a1,rightx:a2,"
                                      "righty:a3,lefttrigger:a5,righttrigger:a4,";
        if (mapped) SDL_GameControllerAddMapping(mapping.c_str());
        id = SDL_JoystickGetDeviceInstanceID(device);
        handle = SDL_JoystickOpen(device);
        // Triggers at rest sit at the axis's negative end.
        Axis(4, -32768);
        Axis(5, -32768);
    }
    ~VirtualController() { Unplug(); }
    void Unplug() {
        if (!handle) return;
        SDL_JoystickClose(handle);
        handle = nullptr;
        for (int i = 0; i < SDL_NumJoysticks(); ++i)
            if (SDL_JoystickGetDeviceInstanceID(i) == id) SDL_JoystickDetachVirtual(i);
    }
    void Axis(int axis, int value) { SDL_JoystickSetVirtualAxis(handle, axis, Sint16(value)); }
    void Button(int button, bool down) { SDL_JoystickSetVirtualButton(handle, button, down ? 1 : 0); }

    int device = -1;
    SDL_JoystickID id = -1;
    SDL_Joystick* handle = nullptr;
    std::string mapping;
};

} // namespace

// A mapped controller fills the pad record the raw joystick fills: triggers
// at rest leave Z released, the face buttons land on buttons 0..7 whatever
// the raw numbering, and the pad is named as its face shows.
TEST(InputDevicesGl, MappedControllerFillsThePadRecord) {
    Devices d;
    if (!d.ready) GTEST_SKIP() << "no display";
    VirtualController pad;
    ASSERT_NE(pad.handle, nullptr) << SDL_GetError();
    RawInput raw = d.Frame();
    ASSERT_TRUE(raw.pads[0].connected);
    EXPECT_EQ(raw.pads[0].kind, RawInput::PadKind::Controller);
    const std::string guid = pad.mapping.substr(0, pad.mapping.find(','));
    EXPECT_NE(d.log.find("Pad 0: game controller \"Test Pad\", GUID " + guid + "\n"), std::string::npos) << d.log;
    for (int e = 0; e < Input::PadElementCount; ++e) EXPECT_EQ(d.input.PadState(0, e), Input::Up) << "element " << e;

    struct Trigger {
        int axis, element;
    };
    for (Trigger t : {Trigger{5, Input::ZNegative}, Trigger{4, Input::ZPositive}}) {
        pad.Axis(t.axis, 32767);
        d.Frame();
        EXPECT_EQ(d.input.PadState(0, t.element), Input::Pressed) << "axis " << t.axis;
        pad.Axis(t.axis, -32768);
        d.Frame();
        EXPECT_EQ(d.input.PadState(0, t.element), Input::Released) << "axis " << t.axis;
    }
    // A, B, X, Y, LB, RB, Back, Start sit on raw buttons 7..0.
    for (int button = 0; button < RawInput::PadButtons; ++button) {
        pad.Button(7 - button, true);
        raw = d.Frame();
        for (int other = 0; other < RawInput::PadButtons; ++other)
            EXPECT_EQ(raw.pads[0].buttons[size_t(other)] != 0, other == button) << button << " " << other;
        pad.Button(7 - button, false);
    }
    pad.Axis(0, -32768);
    pad.Axis(1, 32767);
    d.Frame();
    EXPECT_EQ(d.input.PadState(0, Input::StickLeft), Input::Pressed);
    EXPECT_EQ(d.input.PadState(0, Input::StickDown), Input::Pressed);

    rumbles = 0;
    EXPECT_TRUE(d.devices.Rumble(0, 0x8000, 0x8000, 100));
    EXPECT_EQ(rumbles, 1);
    EXPECT_FALSE(d.devices.Rumble(1, 0x8000, 0x8000, 100)) << "no pad there";

    // A controller SDL reports as a PlayStation pad is named so.
    VirtualController playStation(0x054c, 0x09cc), playStation5(0x054c, 0x0ce6);
    d.Frame();
    EXPECT_EQ(d.input.PadKindOf(1), RawInput::PadKind::PlayStation);
    EXPECT_EQ(d.input.PadKindOf(2), RawInput::PadKind::PlayStation5);
}

// The right stick moves the pointer and the right shoulder clicks, on top of
// what the shoulder does as button 5; switched off, only the button is left.
TEST(InputDevicesGl, PointerEmulationAddsToTheMouse) {
    Devices d;
    if (!d.ready) GTEST_SKIP() << "no display";
    VirtualController pad;
    ASSERT_NE(pad.handle, nullptr) << SDL_GetError();
    auto motion = [&](int x, int y) {
        pad.Axis(2, x);
        pad.Axis(3, y);
        d.Frame();
        SDL_Delay(30);
        RawInput raw = d.Frame();
        return std::pair{raw.mouseDx, raw.mouseDy};
    };
    auto [dx, dy] = motion(32767, 0);
    EXPECT_GT(dx, 0.0f);
    EXPECT_EQ(dy, 0.0f);
    std::tie(dx, dy) = motion(0, -32768);
    EXPECT_EQ(dx, 0.0f);
    EXPECT_LT(dy, 0.0f);
    // A stick resting a little off centre leaves the pointer alone.
    std::tie(dx, dy) = motion(3000, -3000);
    EXPECT_EQ(dx, 0.0f);
    EXPECT_EQ(dy, 0.0f);

    pad.Button(2, true); // right shoulder
    RawInput raw = d.Frame();
    EXPECT_EQ(raw.mouseButtons[0], 0x80);
    EXPECT_EQ(raw.pads[0].buttons[5], 0x80);
    pad.Button(2, false);
    pad.Button(8, true); // left stick's click
    raw = d.Frame();
    EXPECT_EQ(raw.mouseButtons[0], 0);
    EXPECT_EQ(raw.mouseButtons[1], 0x80);
    pad.Button(8, false);

    d.devices.SetPadPointer(false);
    pad.Button(2, true);
    std::tie(dx, dy) = motion(32767, 32767);
    EXPECT_EQ(dx, 0.0f);
    EXPECT_EQ(dy, 0.0f);
    raw = d.Frame();
    EXPECT_EQ(raw.mouseButtons[0], 0);
    EXPECT_EQ(raw.pads[0].buttons[5], 0x80);

    // Proportional to the deflection beyond the dead zone, scaled to the screen.
    const float full = InputDevices::PointerSpeed(-1000, 0.5f, 768);
    EXPECT_LT(full, 0.0f);
    EXPECT_FLOAT_EQ(InputDevices::PointerSpeed(-1000, 0.5f, 384), full / 2);
    EXPECT_FLOAT_EQ(InputDevices::PointerSpeed(-1000, 0.25f, 768), full / 2);
    EXPECT_FLOAT_EQ(InputDevices::PointerSpeed(-(1000 + InputDevices::PointerDeadZone) / 2, 0.5f, 768), full / 2);

    // A mouse moving one pixel a frame at UI scale 2 moves the pointer one
    // UI pixel every second frame, both ways; none of it is lost.
    float carry = 0, moved = 0;
    for (int frame = 0; frame < 10; ++frame) moved += InputDevices::TakeWholePixels(carry, 0.5f);
    EXPECT_EQ(moved, 5.0f);
    for (int frame = 0; frame < 10; ++frame) moved += InputDevices::TakeWholePixels(carry, -0.5f);
    EXPECT_EQ(moved, 0.0f);
}

// Pads plugged in and pulled out mid-run are opened and closed on the next
// frame, logged, and the earliest still connected is pad 0.
TEST(InputDevicesGl, HotPlugKeepsTheConnectionOrder) {
    Devices d;
    if (!d.ready) GTEST_SKIP() << "no display";
    SDL_JoystickID stickId = -1;
    {
        int device = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_UNKNOWN, 3, 8, 0);
        ASSERT_GE(device, 0) << SDL_GetError();
        stickId = SDL_JoystickGetDeviceInstanceID(device);
    }
    RawInput raw = d.Frame();
    EXPECT_EQ(raw.pads[0].kind, RawInput::PadKind::Joystick);
    auto pad = std::make_unique<VirtualController>();
    raw = d.Frame();
    EXPECT_EQ(d.devices.PadCount(), 2);
    EXPECT_EQ(raw.pads[1].kind, RawInput::PadKind::Controller);
    EXPECT_NE(d.log.find("Pad 1: game controller"), std::string::npos);

    // The joystick goes: the controller becomes pad 0.
    for (int i = 0; i < SDL_NumJoysticks(); ++i)
        if (SDL_JoystickGetDeviceInstanceID(i) == stickId) SDL_JoystickDetachVirtual(i);
    raw = d.Frame();
    EXPECT_NE(d.log.find("Pad 0: disconnected\n"), std::string::npos);
    EXPECT_EQ(d.devices.PadCount(), 1);
    EXPECT_TRUE(raw.pads[0].connected);
    EXPECT_EQ(raw.pads[0].kind, RawInput::PadKind::Controller);
    EXPECT_FALSE(raw.pads[1].connected);
    pad->Unplug();
    raw = d.Frame();
    EXPECT_EQ(d.devices.PadCount(), 0);
    EXPECT_FALSE(raw.pads[0].connected);
}

// Mappings from the player's gamecontrollerdb.txt make a pad SDL didn't know
// a controller; a file SDL can't read is logged and changes nothing.
TEST(InputDevicesGl, MappingsFromTheConfigurationFolder) {
    Devices d;
    if (!d.ready) GTEST_SKIP() << "no display";
    TempDir dir;
    EXPECT_EQ(InputDevices::LoadMappings(dir.path + "/gamecontrollerdb.txt"), 0) << "no file, no error";
    EXPECT_EQ(d.log.find("gamecontrollerdb.txt"), std::string::npos);

    auto pad = std::make_unique<VirtualController>(0x1234, 0x0077, false);
    ASSERT_NE(pad->handle, nullptr) << SDL_GetError();
    const std::string mapping = pad->mapping;
    dir.Write("broken.txt", std::string("\xff\xfe not a mapping\n"));
    EXPECT_EQ(InputDevices::LoadMappings(dir.path + "/broken.txt"), 0);
    EXPECT_NE(d.log.find("broken.txt: "), std::string::npos) << d.log;
    RawInput raw = d.Frame();
    EXPECT_EQ(raw.pads[0].kind, RawInput::PadKind::Joystick);

    dir.Write("gamecontrollerdb.txt", "# a comment\n" + mapping + "platform:Linux,\n");
    EXPECT_EQ(InputDevices::LoadMappings(dir.path + "/gamecontrollerdb.txt"), 1);
    EXPECT_NE(d.log.find("gamecontrollerdb.txt: 1 controller mappings\n"), std::string::npos) << d.log;
    // Plugged in again, the same pad is a controller.
    pad.reset();
    d.Frame();
    pad = std::make_unique<VirtualController>(0x1234, 0x0077, false);
    raw = d.Frame();
    EXPECT_EQ(raw.pads[0].kind, RawInput::PadKind::Controller);
}
