#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct SDL_Window;

// The game's one window and its event pump. It carries the OpenGL context,
// reports focus changes (the game pauses while it has no focus, and the
// desktop's screen saver may start then) and close requests (close button,
// SIGTERM, SIGINT, the quit key, the title's "Quit"). Text input stays off:
// the game reads keys only.
class Window {
public:
    enum class VideoStatus { Ready, NoDisplay };

    // A mode a display offers, with its pixel format named as the log names
    // formats ("D3DFMT_X8R8G8B8").
    struct DisplayMode {
        int width = 0, height = 0;
        std::string formatName;
    };

    static constexpr const char* Title = "Starmarch Version 1.03";

    Window() = default;
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;
    ~Window() { Destroy(); }

    // Starts SDL's video and event services. A headless fallback driver that
    // nobody asked for counts as no display.
    static VideoStatus OpenVideo(std::string* driverName = nullptr);
    static void CloseVideo();

    // Creates the window, hidden, with a client area of exactly width x height,
    // centred on the desktop. False (and nothing logged) when it can't.
    bool Create(int width, int height);
    void Destroy();

    static int DisplayCount();
    static std::vector<DisplayMode> DisplayModes(int display);
    static DisplayMode DesktopMode(int display);
    // The room a window has on the display (its usable area less a frame's
    // allowance), in pixels; zero when unknown.
    static void WindowRoom(int display, int& width, int& height);
    static std::string DisplayName(int display);
    // Moves the window to the centre of the display.
    void CenterOnDisplay(int display);

    // The window's icon from ARGB pixels, rows from the top.
    void SetIcon(const uint32_t* argb, int width, int height);

    // Shows the window: 1:1 in a window, or covering the desktop.
    void Show(bool fullScreen);

    // Which OpenGL a context offers: 3.3 core (the batched renderer), or 2.1
    // with the compatibility profile (the fixed-function pipeline too).
    enum class GlProfile { Core33, Compatibility21 };
    // An OpenGL context on the window; false with the reason logged.
    bool CreateGlContext(GlProfile profile = GlProfile::Compatibility21);
    void DestroyGlContext();
    void SwapBuffers();
    // Whether a swap waits for the display's refresh; false when the driver
    // won't do it.
    bool WaitForRefresh(bool wait);
    // The display's refresh rate in pictures per second; 0 when unknown.
    int RefreshRate() const;
    // The window's drawable in pixels (larger than the client area in full screen).
    void DrawableSize(int& width, int& height) const;

    // Handles every pending event. Returns 0 once the quit request has been
    // taken, 1 to go on.
    int PumpMessages();
    // Blocks until the next event arrives (while the game has no focus).
    void WaitMessage();
    // Asks the loop to end; several requests end it once.
    void RequestClose();

    // Wheel notches (120 per notch, as the game counts them) since the last call.
    int TakeWheel();
    // True once after pads were plugged in or pulled out.
    bool TakePadChange();
    // True once after Alt + Enter switched between window and full screen.
    bool TakeFullScreenToggle();
    // Drawable pixels per window point (above 1 on a high-density display).
    float PixelsPerPoint() const;

    SDL_Window* Handle() const { return window; }
    bool Active() const { return active; }
    bool FullScreen() const { return fullScreen; }
    int ClientWidth() const { return clientWidth; }
    int ClientHeight() const { return clientHeight; }

private:
    void SetPlaceholderIcon();

    SDL_Window* window = nullptr;
    void* glContext = nullptr;
    // 1 while the game has the focus; frames run only then.
    bool active = false;
    bool fullScreen = false;
    int clientWidth = 0, clientHeight = 0;
    int wheel = 0;
    bool padChange = false;
    bool fullScreenToggled = false;
};
