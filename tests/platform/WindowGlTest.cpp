#include "platform/Log.h"
#include "platform/Window.h"

#include <SDL.h>
#include <gtest/gtest.h>

namespace {

void SendFocus(Window& window, Uint8 change) {
    SDL_Event event{};
    event.type = SDL_WINDOWEVENT;
    event.window.event = change;
    event.window.windowID = SDL_GetWindowID(window.Handle());
    SDL_PushEvent(&event);
    window.PumpMessages();
}

} // namespace

// The game refuses the screen saver only while it has the focus, and never
// lets an input method compose text, whatever the focus does.
TEST(WindowGl, ScreenSaverFollowsTheFocusAndTextInputStaysOff) {
    if (Window::OpenVideo() != Window::VideoStatus::Ready) GTEST_SKIP() << "no display";
    ScopedLogCapture log;
    Window window;
    ASSERT_TRUE(window.Create(320, 240));
    window.Show(false);
    window.PumpMessages();
    EXPECT_FALSE(SDL_IsTextInputActive());
    for (int round = 0; round < 2; ++round) {
        SendFocus(window, SDL_WINDOWEVENT_FOCUS_LOST);
        EXPECT_FALSE(window.Active());
        EXPECT_TRUE(SDL_IsScreenSaverEnabled()) << "in the background the desktop has its screen saver";
        SendFocus(window, SDL_WINDOWEVENT_FOCUS_GAINED);
        EXPECT_TRUE(window.Active());
        EXPECT_FALSE(SDL_IsScreenSaverEnabled()) << "with the focus the game refuses it";
        EXPECT_FALSE(SDL_IsTextInputActive());
    }
    window.Destroy();
    Window::CloseVideo();
}
