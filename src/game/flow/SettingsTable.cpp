#include "game/flow/SettingsTable.h"

#include "platform/PictureRate.h"

#include <algorithm>
#include <array>

namespace {

constexpr std::array<DisplaySizeRow, 8> Sizes = {{{640, 480, "640*480"},
                                                  {800, 600, "800*600"},
                                                  {1024, 768, "1024*768"},
                                                  {1280, 720, "1280*720"},
                                                  {1600, 900, "1600*900"},
                                                  {1920, 1080, "1920*1080"},
                                                  {2560, 1440, "2560*1440"},
                                                  {0, 0, "Desktop"}}};
static_assert(Sizes.size() == DesktopSize + 1, "the desktop's own size is the last row");

constexpr SettingChoice WindowChoices[] = {{0, "Fullscreen"}, {1, "Window"}};
constexpr SettingChoice SizeChoices[] = {{0, Sizes[0].label}, {1, Sizes[1].label}, {2, Sizes[2].label},
                                         {3, Sizes[3].label}, {4, Sizes[4].label}, {5, Sizes[5].label},
                                         {6, Sizes[6].label}, {7, Sizes[7].label}};
constexpr SettingChoice RateChoices[] = {{PictureRate::VSync, "VSync"},         {60, "60"},
                                         {120, "120"},                          {144, "144"},
                                         {PictureRate::Unlimited, "Unlimited"}, {PictureRate::Classic, "Classic"}};
constexpr SettingChoice UiScaleChoices[] = {{0, "Auto"}, {1, "1x"}, {2, "2x"}, {3, "3x"}};
constexpr SettingChoice OnOffChoices[] = {{0, "Off"}, {1, "On"}};

// Any window mode other than 0 is a window.
int ReadWindow(int value) { return value != 0 ? 1 : 0; }

const SettingRow Rows[] = {
    {"Window", &ControlSettings::windowed, &ControlSettings::windowModeChoice, WindowChoices, 0, ReadWindow},
    {"DispSize", &ControlSettings::displaySize, &ControlSettings::displaySizeChoice, SizeChoices, 0},
    {"FrameRate", &ControlSettings::frameRate, &ControlSettings::frameRate, RateChoices, PictureRate::VSync},
    {"UiScale", &ControlSettings::uiScale, &ControlSettings::uiScaleChoice, UiScaleChoices, 0},
    {"PadPointer", &ControlSettings::padPointer, &ControlSettings::padPointer, OnOffChoices, 1},
};

} // namespace

std::span<const DisplaySizeRow> DisplaySizes() { return Sizes; }

void ResolveDisplaySize(int displaySize, bool windowed, int desktopWidth, int desktopHeight, int roomWidth,
                        int roomHeight, int& width, int& height) {
    if (displaySize < 0 || displaySize > DesktopSize) displaySize = 0;
    width = Sizes[size_t(displaySize)].width;
    height = Sizes[size_t(displaySize)].height;
    // A wide size larger than this desktop (a configuration brought from a
    // larger one) becomes the desktop's own.
    if (displaySize > 2 && desktopWidth > 0 && !DisplaySizeFits(displaySize, desktopWidth, desktopHeight))
        displaySize = DesktopSize;
    if (displaySize != DesktopSize) return;
    width = windowed ? roomWidth : desktopWidth;
    height = windowed ? roomHeight : desktopHeight;
    // A desktop that can't be asked about gets the size the game was made for.
    if (width < 640 || height < 480) {
        width = 640;
        height = 480;
    }
}

bool DisplaySizeFits(int displaySize, int desktopWidth, int desktopHeight) {
    if (displaySize < 0 || displaySize > DesktopSize) return false;
    if (displaySize <= 2 || displaySize == DesktopSize) return true;
    return Sizes[size_t(displaySize)].width <= desktopWidth && Sizes[size_t(displaySize)].height <= desktopHeight;
}

int ChooseUiScale(int choice, int width, int height) {
    const int largest = std::max(1, std::min(width / 640, height / 480));
    return choice >= 1 && choice <= 3 ? std::min(choice, largest) : largest;
}

int SettingRow::Read(int value) const {
    if (read) return read(value);
    return IndexOf(value) >= 0 ? value : defaultValue;
}

int SettingRow::IndexOf(int value) const {
    for (size_t i = 0; i < choices.size(); ++i)
        if (choices[i].value == value) return int(i);
    return -1;
}

std::span<const SettingRow> SettingRows() { return Rows; }

const SettingRow& SettingRowFor(int ControlSettings::*field) {
    for (const SettingRow& row : Rows)
        if (row.stored == field || row.chosen == field) return row;
    return Rows[0];
}
