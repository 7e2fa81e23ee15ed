#pragma once

#include "platform/Subsystem.h"
#include "render/Device.h"

#include <memory>
#include <string>

class CommandLine;
class Window;

// The graphics state: the device, the back-buffer size and the window mode.
// Started by the application after the window, freed before it.
class Graphics : public Subsystem {
public:
    Graphics(Window& window, const CommandLine& commandLine, int configuredWindowed, int width, int height);
    ~Graphics() override;

    bool Init() override;
    void Free() override;

    // Starts a frame. A colour of 0 keeps the previous image and clears only
    // depth. Returns false when the scene must skip drawing this frame.
    bool BeginFrame(uint32_t color);
    void EndFrame();

    // Whether the command line or the configuration asks for a window.
    static int ChooseWindowed(const CommandLine& commandLine, int configuredWindowed, std::string& logText);

    Device* device() const { return devicePtr.get(); }
    int windowed = 0;
    int displayWidth = 640;
    int displayHeight = 480;

private:
    Window& window;
    const CommandLine& commandLine;
    std::unique_ptr<Device> devicePtr;
    bool started = false;
};
