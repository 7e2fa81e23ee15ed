#pragma once

#include "game/flow/Controls.h"

#include <span>

// The sizes the game can draw at (DispSize= in the configuration): the three
// it was made for, four wide ones, and the desktop's own size (the largest
// window that fits, in a window).
struct DisplaySizeRow {
    int width, height;
    const char* label;
};
constexpr int DesktopSize = 7;
std::span<const DisplaySizeRow> DisplaySizes();
// The back buffer of a DispSize value on a desktop of that size (its usable
// part, for a window): the Desktop row takes the desktop's, or the window's
// room; a value no row has reads as the first size.
void ResolveDisplaySize(int displaySize, bool windowed, int desktopWidth, int desktopHeight, int roomWidth,
                        int roomHeight, int& width, int& height);
// Whether a size is offered on a desktop of that size (the Desktop row and
// the sizes the game was made for always are).
bool DisplaySizeFits(int displaySize, int desktopWidth, int desktopHeight);

// The UI scale on a back buffer of that size: the choice (1..3), or for Auto
// (0) the largest whole k with 640 k <= width and 480 k <= height; never
// more than that largest, so the 640 x 480 menus always fit.
int ChooseUiScale(int choice, int width, int height);

// One setting of Starmarch.cfg kept as a number: its key, what the file
// reads into (stored) and what the settings screen changes and the file
// keeps (chosen: the same field unless the setting takes effect at the next
// start), the values it takes with their labels, and its default. The
// parser, the writer and the settings screen all read these rows; a value
// this build doesn't offer reads as the default.
struct SettingChoice {
    int value;
    const char* label;
};
struct SettingRow {
    const char* key;
    int ControlSettings::*stored;
    int ControlSettings::*chosen;
    std::span<const SettingChoice> choices;
    int defaultValue;
    // When set: what the file's number becomes (instead of default-if-unknown).
    int (*read)(int value) = nullptr;

    int Read(int value) const;
    // The choice's index among the choices; -1 when it has none.
    int IndexOf(int value) const;
};
// In the order the file has them: the two described lines that are settings
// (Window=, DispSize=), which the key and pad lines follow, then the ones
// added since.
std::span<const SettingRow> SettingRows();
const SettingRow& SettingRowFor(int ControlSettings::*field);
// Rows before the key and pad lines.
constexpr size_t SettingsBeforeControls = 2;
