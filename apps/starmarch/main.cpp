#include "game/flow/Config.h"
#include "game/flow/Game.h"
#include "game/flow/SettingsTable.h"
#include "game/replay/ReplayFormat.h"
#include "platform/App.h"
#include "platform/HeapPolicy.h"
#include "platform/ProgramDirectory.h"
#include "platform/Sound.h"
#include "platform/Usage.h"
#include "render/Graphics.h"
#include "render/ResourceTable.h"

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
    // "--help" and "--version" are answered before anything opens.
    const std::string answer = AnswerToInfoSwitch(
        CommandLine(argc, argv),
        ResolvePaths(CurrentPathSources(FindProgramDirectory(argc > 0 ? argv[0] : nullptr))));
    if (!answer.empty()) {
        std::fputs(answer.c_str(), stdout);
        return 0;
    }
    KeepFreedMemoryForReuse();
    if (Window::OpenVideo() == Window::VideoStatus::NoDisplay) {
        std::fputs("starmarch: no graphical display found (DISPLAY is not set); "
                   "start the game from a desktop session.\n",
                   stderr);
        return 0;
    }

    SystemClock clock;
    App app(argc, argv, clock);
    EnterProgramDirectory(app.moduleDirectory);

    // Window mode and display size must be known before the window exists.
    ControlSettings settings;
    ReadConfig(settings, app.paths.config);
    // The desktop's own size (and a window's room on it) for the sizes that need it.
    const Window::DisplayMode desktop = Window::DesktopMode(0);
    int roomWidth = 0, roomHeight = 0, width = 0, height = 0;
    Window::WindowRoom(0, roomWidth, roomHeight);
    // "-win" wins over "-full", either over the configuration.
    const bool windowed =
        app.commandLine.HasSwitch("-win") || (!app.commandLine.HasSwitch("-full") && settings.windowed != 0);
    ResolveDisplaySize(settings.displaySize, windowed, desktop.width, desktop.height, roomWidth, roomHeight,
                       width, height);
    int uiScale = ChooseUiScale(settings.uiScale, width, height);
    // --replay FILE plays at the size and UI scale it was recorded at (the
    // picture scaled to the window or screen), so the pointer's pixels are
    // the recorded ones. An unreadable file is the game's to report.
    if (const std::string replay = app.commandLine.ValueOf("--replay"); !replay.empty()) {
        Replay header;
        std::string error;
        // Sizes the game could have recorded at: its menus need 640 x 480.
        if (LoadReplay(replay, header, error) && header.width >= 640 && header.height >= 480 &&
            header.width <= 7680 && header.height <= 4320 &&
            ChooseUiScale(header.uiScale, header.width, header.height) == header.uiScale) {
            width = header.width;
            height = header.height;
            uiScale = header.uiScale;
        }
    }

    auto graphics = std::make_unique<Graphics>(app.window, app.commandLine, settings.windowed, width, height);
    graphics->resources = &ResourceTable::Embedded();
    // Menus, overlays and text drawn k times larger on a large back buffer.
    graphics->SetUiScale(uiScale);
    // Pictures between steps, when the settings ask for them.
    app.picture = [shown = graphics.get()](float t, float dx, float dy) { shown->PresentPicture(t, dx, dy); };
    auto sound = std::make_unique<SoundSystem>(app.commandLine, app.paths.sounds);
    // The game's models, textures and sounds live on the devices: it goes
    // before they are freed.
    auto game = std::make_unique<Game>(app, *graphics, *sound, settings);
    // --replay FILE: the recorded battle, once loading is done.
    game->context.replayAtStart = app.commandLine.ValueOf("--replay");

    App::Devices devices{std::move(graphics), std::move(sound), std::make_unique<MusicLoader>()};
    if (!app.Initialize(width, height, std::move(devices), [&game] { game->Frame(); })) {
        game.reset();
        app.Teardown();
        Window::CloseVideo();
        return 0;
    }

    game->Init();
    app.Run();
    game->Shutdown();
    game.reset();
    app.Teardown();
    Window::CloseVideo();
    return 0;
}
