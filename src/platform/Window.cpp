#include "platform/Window.h"

#include "platform/Log.h"

#include <SDL.h>
#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>

Window::VideoStatus Window::OpenVideo(std::string* driverName) {
    // Pads are read in the background like the keyboard: the game decides
    // what to do while it has no focus, not SDL.
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    // Game controllers (mapped pads) start the joysticks too; SDL reads
    // SDL_GAMECONTROLLERCONFIG as they start.
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS | SDL_INIT_GAMECONTROLLER) != 0 &&
        SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS | SDL_INIT_JOYSTICK) != 0) {
        // Pads are optional; retry without them before giving up on the display.
        if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) return VideoStatus::NoDisplay;
    }
    // The game reads keys, never text: no input method composes while it runs.
    SDL_StopTextInput();
    const char* driver = SDL_GetCurrentVideoDriver();
    if (driverName) *driverName = driver ? driver : "";
    const char* requested = std::getenv("SDL_VIDEODRIVER");
    bool asked = requested && *requested;
    if (!driver || (!asked && (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0))) {
        SDL_Quit();
        return VideoStatus::NoDisplay;
    }
    return VideoStatus::Ready;
}

void Window::CloseVideo() { SDL_Quit(); }

bool Window::Create(int width, int height) {
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 2);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 1);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
    window = SDL_CreateWindow(Title, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width, height,
                              SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN | SDL_WINDOW_RESIZABLE |
                                  SDL_WINDOW_ALLOW_HIGHDPI);
    if (!window) return false;
    SDL_StopTextInput();
    clientWidth = width;
    clientHeight = height;
    SetPlaceholderIcon();
    // The window starts as the active one; video start has already kept the
    // screen saver away for it.
    active = true;
    return true;
}

void Window::DestroyGlContext() {
    if (!glContext) return;
    SDL_GL_DeleteContext(static_cast<SDL_GLContext>(glContext));
    glContext = nullptr;
}

void Window::Destroy() {
    DestroyGlContext();
    if (window) {
        SDL_DestroyWindow(window);
        window = nullptr;
    }
}

void Window::SetPlaceholderIcon() {
    // Shown until the game sets its own icon: a pale ring on deep blue.
    constexpr int size = 32;
    std::array<uint32_t, size * size> pixels{};
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            int dx = 2 * x - size + 1, dy = 2 * y - size + 1;
            int d2 = dx * dx + dy * dy;
            uint32_t colour = 0xFF10244Au;
            if (d2 > 26 * 26 && d2 < 30 * 30) colour = 0xFFD8E4FFu;
            if (d2 < 8 * 8) colour = 0xFFFFC040u;
            pixels[size_t(y * size + x)] = colour;
        }
    }
    SetIcon(pixels.data(), size, size);
}

void Window::SetIcon(const uint32_t* argb, int width, int height) {
    if (!window || !argb || width <= 0 || height <= 0) return;
    SDL_Surface* icon = SDL_CreateRGBSurfaceWithFormatFrom(const_cast<uint32_t*>(argb), width, height, 32, width * 4,
                                                           SDL_PIXELFORMAT_ARGB8888);
    if (!icon) return;
    SDL_SetWindowIcon(window, icon);
    SDL_FreeSurface(icon);
}

namespace {

std::string FormatName(Uint32 format) {
    switch (format) {
    case SDL_PIXELFORMAT_RGB888: return "D3DFMT_X8R8G8B8";
    case SDL_PIXELFORMAT_ARGB8888: return "D3DFMT_A8R8G8B8";
    case SDL_PIXELFORMAT_RGB24: return "D3DFMT_R8G8B8";
    case SDL_PIXELFORMAT_RGB565: return "D3DFMT_R5G6B5";
    case SDL_PIXELFORMAT_RGB555: return "D3DFMT_X1R5G5B5";
    case SDL_PIXELFORMAT_ARGB1555: return "D3DFMT_A1R5G5B5";
    case SDL_PIXELFORMAT_ARGB4444: return "D3DFMT_A4R4G4B4";
    case SDL_PIXELFORMAT_RGB332: return "D3DFMT_R3G3B2";
    case SDL_PIXELFORMAT_RGB444: return "D3DFMT_X4R4G4B4";
    default: return "D3DFMT_UNKNOWN";
    }
}

} // namespace

int Window::DisplayCount() { return SDL_WasInit(SDL_INIT_VIDEO) ? std::max(SDL_GetNumVideoDisplays(), 0) : 0; }

std::vector<Window::DisplayMode> Window::DisplayModes(int display) {
    std::vector<DisplayMode> modes;
    int count = SDL_GetNumDisplayModes(display);
    for (int i = 0; i < count; ++i) {
        SDL_DisplayMode mode{};
        if (SDL_GetDisplayMode(display, i, &mode) == 0) modes.push_back({mode.w, mode.h, FormatName(mode.format)});
    }
    return modes;
}

void Window::WindowRoom(int display, int& width, int& height) {
    width = height = 0;
    SDL_Rect usable{};
    if (SDL_GetDisplayUsableBounds(display, &usable) != 0) return;
    // What the window manager's frame and title bar usually take.
    constexpr int FrameAllowance = 8, TitleAllowance = 40;
    width = std::max(usable.w - FrameAllowance, 0);
    height = std::max(usable.h - TitleAllowance, 0);
}

Window::DisplayMode Window::DesktopMode(int display) {
    SDL_DisplayMode mode{};
    if (SDL_GetDesktopDisplayMode(display, &mode) != 0) return {};
    return {mode.w, mode.h, FormatName(mode.format)};
}

std::string Window::DisplayName(int display) {
    const char* name = SDL_GetDisplayName(display);
    return name ? name : "";
}

void Window::CenterOnDisplay(int display) {
    if (window) SDL_SetWindowPosition(window, SDL_WINDOWPOS_CENTERED_DISPLAY(display), SDL_WINDOWPOS_CENTERED_DISPLAY(display));
}

void Window::Show(bool wantFullScreen) {
    if (!window) return;
    fullScreen = wantFullScreen;
    SDL_SetWindowFullscreen(window, fullScreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
    SDL_ShowWindow(window);
    SDL_RaiseWindow(window);
}

bool Window::CreateGlContext(GlProfile profile) {
    if (!window) return false;
    DestroyGlContext();
    const bool core = profile == GlProfile::Core33;
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, core ? 3 : 2);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, core ? 3 : 1);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, core ? SDL_GL_CONTEXT_PROFILE_CORE : 0);
    SDL_GLContext context = SDL_GL_CreateContext(window);
    if (!context) {
        Log("OpenGL: %s\n", SDL_GetError());
        return false;
    }
    glContext = context;
    // On a high-density display a window is measured in points of several
    // pixels: shrink it so that its drawable has the client size in pixels,
    // and the back buffer is copied 1:1 instead of blurred.
    if (float ratio = PixelsPerPoint(); ratio > 1.01f && !fullScreen)
        SDL_SetWindowSize(window, int(float(clientWidth) / ratio + 0.5f), int(float(clientHeight) / ratio + 0.5f));
    // The pacer keeps time; waiting for the display's refresh would fight it.
    SDL_GL_SetSwapInterval(0);
    return true;
}

bool Window::WaitForRefresh(bool wait) {
    if (!glContext) return false;
    // Late pictures may tear rather than wait a whole refresh, where the driver can.
    if (wait && SDL_GL_SetSwapInterval(-1) == 0) return true;
    return SDL_GL_SetSwapInterval(wait ? 1 : 0) == 0;
}

int Window::RefreshRate() const {
    SDL_DisplayMode mode{};
    if (!window || SDL_GetWindowDisplayMode(window, &mode) != 0) return 0;
    return mode.refresh_rate;
}

void Window::SwapBuffers() {
    if (window && glContext) SDL_GL_SwapWindow(window);
}

void Window::DrawableSize(int& width, int& height) const {
    width = clientWidth;
    height = clientHeight;
    if (window) SDL_GL_GetDrawableSize(window, &width, &height);
}

int Window::PumpMessages() {
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        switch (event.type) {
        case SDL_QUIT:
            return 0;
        case SDL_WINDOWEVENT:
            switch (event.window.event) {
            // The screen saver and display power-off are refused only while
            // the game has the focus; in the background the desktop has them.
            case SDL_WINDOWEVENT_FOCUS_GAINED:
                active = true;
                SDL_DisableScreenSaver();
                Log("<アクティブ>\n");
                break;
            case SDL_WINDOWEVENT_FOCUS_LOST:
                active = false;
                SDL_EnableScreenSaver();
                Log("<非アクティブ>\n");
                break;
            case SDL_WINDOWEVENT_SIZE_CHANGED:
                if (!fullScreen) Log("<クライアント領域 %d x %d>\n", event.window.data1, event.window.data2);
                break;
            default:
                break;
            }
            break;
        case SDL_DISPLAYEVENT:
            Log("<ディスプレイモードの変更>\n");
            break;
        case SDL_KEYDOWN:
            // Alt + Enter: window and full screen change places at once.
            if ((event.key.keysym.sym == SDLK_RETURN || event.key.keysym.sym == SDLK_KP_ENTER) &&
                (event.key.keysym.mod & KMOD_ALT) && !event.key.repeat) {
                Show(!fullScreen);
                fullScreenToggled = true;
            }
            break;
        case SDL_MOUSEWHEEL: {
            int notches = event.wheel.y;
            if (event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED) notches = -notches;
            wheel += notches * 120;
            break;
        }
        case SDL_JOYDEVICEADDED:
        case SDL_JOYDEVICEREMOVED:
        case SDL_CONTROLLERDEVICEADDED:
        case SDL_CONTROLLERDEVICEREMOVED:
            padChange = true;
            break;
        default:
            break;
        }
    }
    return 1;
}

void Window::WaitMessage() { SDL_WaitEvent(nullptr); }

void Window::RequestClose() {
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
}

int Window::TakeWheel() {
    int taken = wheel;
    wheel = 0;
    return taken;
}

bool Window::TakeFullScreenToggle() {
    bool taken = fullScreenToggled;
    fullScreenToggled = false;
    return taken;
}

float Window::PixelsPerPoint() const {
    if (!window) return 1.0f;
    int w = 0, h = 0, dw = 0, dh = 0;
    SDL_GetWindowSize(window, &w, &h);
    SDL_GL_GetDrawableSize(window, &dw, &dh);
    return w > 0 && dw > 0 ? float(dw) / float(w) : 1.0f;
}

bool Window::TakePadChange() {
    bool taken = padChange;
    padChange = false;
    return taken;
}
