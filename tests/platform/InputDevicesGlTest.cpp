#include "platform/InputDevices.h"
#include "platform/Log.h"
#include "platform/Window.h"

#include <SDL.h>
#include <gtest/gtest.h>

// Drives the real SDL pad path with SDL's virtual joystick: axis scaling,
// the strict half-deflection thresholds, buttons, and a pad plugged in and
// pulled out while the game runs.
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

    int device = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, 3, 10, 0);
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
    device = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, 3, 10, 0);
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
