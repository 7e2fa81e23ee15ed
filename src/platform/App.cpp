#include "platform/App.h"

#include "platform/Log.h"
#include "platform/MessageBox.h"
#include "platform/ProgramDirectory.h"

#include <ctime>

App::App(int argc, const char* const* argv, Clock& clock)
    : commandLine(argc, argv), moduleDirectory(FindProgramDirectory(argc > 0 ? argv[0] : nullptr)), pacer(clock) {}

App::~App() { Teardown(); }

bool App::Initialize(int displayWidth, int displayHeight, Devices startDevices, Scene firstScene) {
    devices = std::move(startDevices);
    tornDown = false;

    // The log file is not chosen yet: this line always goes to standard error.
    Log("多重起動を禁止します.\n");
    if (!mutex.Acquire(MutexName)) {
        ShowErrorBox("", "このプログラムは既に起動しています.\n");
        input.ClearInput();
        return false;
    }

    InitDebugStream(commandLine, moduleDirectory);

    if (!window.Create(displayWidth, displayHeight)) return false;
    if (devices.graphics && !devices.graphics->Init()) return false;
    if (!inputDevices.Init(window, input)) return false;
    if (devices.sound && !devices.sound->Init()) return false;
    if (devices.music && !devices.music->Init()) return false;

    pacer.Start();
    random.Seed(uint32_t(std::time(nullptr)));
    scene = std::move(firstScene);
    return true;
}

void App::Frame() {
    inputDevices.Poll(input);
    // Run a copy: the scene may replace itself while it runs.
    if (Scene current = scene) current();
    pacer.EndFrame();
}

void App::Run() {
    while (window.PumpMessages()) {
        if (window.Active())
            Frame();
        else
            window.WaitMessage();
    }
}

void App::Teardown() {
    if (tornDown) return;
    tornDown = true;
    if (devices.music) devices.music->Free();
    if (devices.sound) devices.sound->Free();
    inputDevices.Free();
    if (devices.graphics) devices.graphics->Free();
    window.Destroy();
    mutex.Release();
}
