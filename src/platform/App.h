#pragma once

#include "platform/Clock.h"
#include "platform/CommandLine.h"
#include "platform/FramePacer.h"
#include "platform/Input.h"
#include "platform/InputDevices.h"
#include "platform/InstanceLock.h"
#include "platform/Paths.h"
#include "platform/PictureRate.h"
#include "platform/Random.h"
#include "platform/Subsystem.h"
#include "platform/Window.h"

#include <functional>
#include <memory>
#include <string>

// The per-frame function of the current screen. A scene switches by storing
// another one; the switch takes effect on the next frame.
using Scene = std::function<void()>;

// A picture between the last two steps, at fraction t (0..1) of the way from
// the older to the newer, with the pointer moved by the mouse's motion since
// the newer step (back-buffer pixels).
using Picture = std::function<void(float t, float pointerDx, float pointerDy)>;



// The application: owns everything that lives for the whole run, starts it in
// a fixed order, runs the paced loop, and stops it in reverse order.
class App {
public:
    // The devices the chain starts after the window and before the clock.
    struct Devices {
        std::unique_ptr<Subsystem> graphics;
        std::unique_ptr<Subsystem> sound;
        std::unique_ptr<Subsystem> music;
    };

    static constexpr const char* MutexName = "qrv mutex";

    App(int argc, const char* const* argv, Clock& clock);
    App(const App&) = delete;
    App& operator=(const App&) = delete;
    // Runs the teardown if nobody did.
    ~App();

    // The start-up chain. False when a step failed; that step has shown its
    // message (a window that can't be created fails silently).
    bool Initialize(int displayWidth, int displayHeight, Devices devices, Scene firstScene);

    // Pumps events and runs paced frames until a close request is taken.
    // With pictures between steps, the scene still runs 30 times a second (a
    // step), and pictures are drawn in between as the rate allows.
    void Run();
    // One frame: poll input, run the scene, keep the pace.
    void Frame();
    // Pictures between steps at this rate (Classic: none, every frame draws
    // its own). VSync falls back to the display's refresh rate, or 60, where
    // the driver won't wait for it. Returns the rate in force.
    int SetPictureRate(int rate);
    int PictureRateInForce() const { return pictureRate; }
    // Steps run and pictures shown since the start (one each per frame when
    // every frame draws its own), and the clock's time, for the log.
    uint64_t StepsRun() const { return stepsRun; }
    uint64_t PicturesShown() const { return picturesShown; }
    uint32_t Milliseconds() const { return clock.Now(); }
    // Draws the pictures between steps.
    Picture picture;
    // Stops everything in reverse order of start: every device writes its
    // stop lines whether or not start-up reached it, then the window and the
    // lock go. Runs once after Initialize; later calls do nothing.
    void Teardown();

    void SetScene(Scene next) { scene = std::move(next); }
    float Fps() const { return pacer.Fps(); }

    CommandLine commandLine;
    // The executable's folder, ending in a slash.
    std::string moduleDirectory;
    // Where the configuration, the log, the sounds, screenshots and replays are.
    GamePaths paths;
    Window window;
    Input input;
    InputDevices inputDevices;
    FramePacer pacer;
    RandomGenerator random;

private:
    // Pictures between steps: the scene as a step, and a picture.
    void Step();
    void DrawPicture();

    Clock& clock;
    int pictureRate = PictureRate::Classic;
    uint64_t stepsRun = 0, picturesShown = 0;
    uint32_t shareRemainder = 0;
    InstanceLock mutex;
    Devices devices;
    Scene scene;
    // True until Initialize starts, and again once the teardown has run.
    bool tornDown = true;
};
