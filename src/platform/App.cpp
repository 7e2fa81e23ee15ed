#include "platform/App.h"

#include "platform/Log.h"
#include "platform/MessageBox.h"
#include "platform/ProgramDirectory.h"

#include <algorithm>
#include <ctime>

App::App(int argc, const char* const* argv, Clock& clock)
    : commandLine(argc, argv), moduleDirectory(FindProgramDirectory(argc > 0 ? argv[0] : nullptr)),
      paths(ResolvePaths(CurrentPathSources(moduleDirectory))), pacer(clock), clock(clock) {}

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

    InitDebugStream(commandLine, paths.log);
    Log("設定ファイル = %s\n", paths.ConfigFile().c_str());
    Log("サウンド = %sData/\n", paths.sounds.c_str());

    if (!window.Create(displayWidth, displayHeight)) return false;
    if (devices.graphics && !devices.graphics->Init()) return false;
    // The player's controller mappings live beside the configuration.
    InputDevices::LoadMappings(paths.config + "gamecontrollerdb.txt");
    if (!inputDevices.Init(window, input)) return false;
    if (devices.sound && !devices.sound->Init()) return false;
    if (devices.music && !devices.music->Init()) return false;

    pacer.Start();
    random.Seed(uint32_t(std::time(nullptr)));
    scene = std::move(firstScene);
    return true;
}

void App::Frame() {
    ++stepsRun;
    ++picturesShown;
    inputDevices.Poll(input);
    // Run a copy: the scene may replace itself while it runs.
    if (Scene current = scene) current();
    pacer.EndFrame();
}

int App::SetPictureRate(int rate) {
    pictureRate = PictureRate::Valid(rate);
    if (pictureRate == PictureRate::VSync && !window.WaitForRefresh(true)) {
        int refresh = window.RefreshRate();
        pictureRate = refresh > 0 ? refresh : 60;
    } else if (pictureRate != PictureRate::VSync) {
        window.WaitForRefresh(false);
    }
    return pictureRate;
}

void App::Run() {
    while (window.PumpMessages()) {
        if (!window.Active())
            window.WaitMessage();
        else if (pictureRate == PictureRate::Classic || !picture)
            Frame();
        else if (pacer.StepDue())
            Step();
        else if (picturesHeld)
            clock.Sleep(std::max<uint32_t>(pacer.UntilNextStep(), 1));
        else
            DrawPicture();
    }
}

void App::Step() {
    ++stepsRun;
    inputDevices.Poll(input);
    if (Scene current = scene) current();
    pacer.EndStep();
}

void App::DrawPicture() {
    const uint32_t start = clock.Now();
    float dx = 0, dy = 0;
    inputDevices.PendingMotion(dx, dy);
    picture(pacer.StepFraction(), dx, dy);
    ++picturesShown;
    pacer.CountPicture();
    // VSync: the swap waited for the display; Unlimited: nothing waits.
    if (pictureRate <= 0) return;
    // A cap: what is left of the picture's share of a second, or until the
    // next step, whichever is sooner.
    const uint32_t spent = clock.Now() - start;
    // Whole milliseconds a picture, the remainder carried so the shares add
    // up to a second (144 a second: 6, 7, 7, 7, ... ms).
    shareRemainder += 1000;
    const uint32_t share = shareRemainder / uint32_t(pictureRate);
    shareRemainder -= share * uint32_t(pictureRate);
    if (spent < share) clock.Sleep(std::min(share - spent, pacer.UntilNextStep()));
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
