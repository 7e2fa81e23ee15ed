#include "platform/App.h"
#include "platform/Log.h"
#include "platform/Sound.h"
#include "render/Graphics.h"
#include "support/ScopedEnv.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

// A refused second copy never started a device, yet its log ends like every
// run's: each subsystem's stop lines, once, in reverse order of start, however
// often the teardown is asked for.
TEST(App, RefusedStartStillWritesEveryStopLineOnce) {
    TempDir runtime;
    ScopedEnv lockFolder("XDG_RUNTIME_DIR", runtime.path.c_str());
    // The refusal's message box must not wait for a click on a real desktop.
    ScopedEnv display("DISPLAY", nullptr), wayland("WAYLAND_DISPLAY", nullptr);
    InstanceLock firstCopy;
    ASSERT_TRUE(firstCopy.Acquire(App::MutexName));
    ASSERT_TRUE(firstCopy.Held());

    ScopedLogCapture log;
    SystemClock clock;
    {
        App app(0, nullptr, clock);
        App::Devices devices{std::make_unique<Graphics>(app.window, app.commandLine, 1, 640, 480),
                             std::make_unique<SoundSystem>(app.commandLine, "./"),
                             std::make_unique<MusicLoader>()};
        EXPECT_FALSE(app.Initialize(640, 480, std::move(devices), [] {}));
        app.Teardown();
        app.Teardown();
    }
    const std::string separator = std::string(40, '-') + "\n";
    EXPECT_EQ(log.text, "多重起動を禁止します.\n" + separator + "FreeDirectMusic\n" + separator +
                            "FreeDirectSound\n" + separator + "FreeInput\n" + separator + "FreeDirect3D\n");
}
