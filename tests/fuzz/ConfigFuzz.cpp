#include "game/flow/Config.h"
#include "game/flow/SettingsTable.h"
#include "platform/PictureRate.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

bool InTables(const ControlSettings& s) {
    if ((s.windowed != 0 && s.windowed != 1) || s.displaySize < 0 || s.displaySize > DesktopSize) return false;
    if (s.uiScale < 0 || s.uiScale > 3) return false;
    for (int key : s.actionKey)
        if (key < -1 || key > 255) return false;
    for (int button : s.actionPadButton)
        if (button < -1 || button >= PadButtonSlots) return false;
    if (s.padPointer != 0 && s.padPointer != 1) return false;
    return PictureRate::Valid(s.frameRate) == s.frameRate;
}

} // namespace

// Whatever the file holds, what is read indexes only inside the game's tables,
// and writing it back gives a file that reads back the same.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ControlSettings settings;
    ParseConfig(std::string_view(reinterpret_cast<const char*>(data), size), settings);
    if (!InTables(settings)) std::abort();
    settings.windowModeChoice = settings.windowed;
    settings.displaySizeChoice = settings.displaySize;
    settings.uiScaleChoice = settings.uiScale;
    ControlSettings again;
    ParseConfig(FormatConfig(settings), again);
    if (again.windowed != settings.windowed || again.displaySize != settings.displaySize ||
        again.actionKey != settings.actionKey || again.actionPadButton != settings.actionPadButton ||
        again.frameRate != settings.frameRate || again.uiScale != settings.uiScale ||
        again.padPointer != settings.padPointer)
        std::abort();
    return 0;
}
