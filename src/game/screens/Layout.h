#pragma once

// Where things stand on the menu screens. Every screen is a 640 x 480 design
// placed at the screen origin (centred on larger screens); the rectangles
// below are in design pixels, and At(x0, y0) puts one on the screen. The
// screens draw and hit-test with them, and the tests aim with them.

// A rectangle of whole pixels: x, y the top-left corner, w x h its size.
struct ScreenRect {
    int x = 0, y = 0, w = 0, h = 0;

    // The one point-in-rectangle test of every screen: right and bottom edges excluded.
    constexpr bool Contains(int px, int py) const { return px >= x && px < x + w && py >= y && py < y + h; }
    // The same rectangle moved by (dx, dy): a design rectangle at the screen origin.
    constexpr ScreenRect At(int dx, int dy) const { return {x + dx, y + dy, w, h}; }
    // The last pixel column and row inside.
    constexpr int Right() const { return x + w - 1; }
    constexpr int Bottom() const { return y + h - 1; }
};

// The exits of the menus share the bottom-right corner.
constexpr ScreenRect UpperCornerButton{535, 430, 100, 20};
constexpr ScreenRect CornerButton{535, 455, 100, 20};

namespace TitleLayout {
constexpr ScreenRect ChooseCountries{535, 405, 100, 20};
constexpr ScreenRect Settings = UpperCornerButton;
constexpr ScreenRect Quit = CornerButton;
} // namespace TitleLayout

namespace CountrySelectLayout {
// The outlined row of the countries not placed yet; a flag dropped on it goes back.
constexpr ScreenRect AvailableRow{5, 20, 605, 40};
// Country i's flag in that row.
constexpr ScreenRect AvailableFlag(int i) {
    return {10 + 50 * i, 25, 45, 30};
}
// Team slot j: four rows in each of three columns. A flag dropped anywhere on
// it takes the slot.
constexpr ScreenRect TeamSlot(int j) {
    return {10 + 200 * (j / 4), 80 + 35 * (j % 4), 135, 30};
}
// The slot's flag (dragged away from here), its country's name (a click marks
// the player's own country) and its team number (left click up, right click down).
constexpr ScreenRect SlotFlag(int j) {
    return {TeamSlot(j).x, TeamSlot(j).y, 45, 30};
}
constexpr ScreenRect SlotName(int j) {
    return {TeamSlot(j).x + 50, TeamSlot(j).y, 85, 20};
}
constexpr ScreenRect SlotTeam(int j) {
    return {TeamSlot(j).x + 140, TeamSlot(j).y + 10, 50, 20};
}
// The number of fighters per country (left click up, right click down).
constexpr ScreenRect FightersNumber{410, 215, 190, 20};
constexpr ScreenRect Start = UpperCornerButton;
constexpr ScreenRect Cancel = CornerButton;
} // namespace CountrySelectLayout

namespace SettingsLayout {
// Fullscreen and Window, then the three display sizes.
constexpr ScreenRect WindowModeOption(int i) {
    return {10 + 105 * i, 20, 100, 20};
}
constexpr ScreenRect DisplaySizeOption(int i) {
    return {10 + 105 * i, 45, 100, 20};
}
// The sizes added since (1280 x 720 ... and the desktop's own), in the room
// right of the described rows: three to a row.
constexpr ScreenRect WideSizeOption(int i) {
    return {325 + 105 * (i % 3), 20 + 25 * (i / 3), 100, 20};
}
// The UI scale, one button that steps through its choices.
constexpr ScreenRect UiScaleButton{535, 45, 100, 20};
// Everything the display options added since may draw in (their frames'
// lines included).
constexpr ScreenRect AddedDisplayArea{325, 20, 315, 46};
// Control action i, two to a row; its key and pad button are named to its right.
constexpr ScreenRect ActionButton(int i) {
    return {10 + 320 * (i % 2), 85 + 25 * (i / 2), 300, 20};
}
// Below the controls, clear of the capture box and of "Done": three to a row.
constexpr ScreenRect FrameRateOption(int i) {
    return {10 + 105 * (i % 3), 390 + 25 * (i / 3), 100, 20};
}
// Right of the frame rates, above "Done": whether a controller's right stick
// moves the pointer (a check box with its label).
constexpr ScreenRect PadPointerToggle{330, 390, 195, 20};
// Everything the pad pointer's check box may draw in (its frame's lines included).
constexpr ScreenRect AddedPadPointerArea{325, 375, 205, 70};
// The red box that waits for a key while a control is being assigned.
constexpr ScreenRect CaptureBox{205, 335, 230, 30};
constexpr ScreenRect Done = CornerButton;
} // namespace SettingsLayout

namespace ResultLayout {
// Column k's header: a click sorts the table by it.
constexpr ScreenRect Header(int k) {
    return {50 + 58 * k, 20, 55, 20};
}
constexpr ScreenRect Back = CornerButton;
// Shown once a battle has a replay, above "Back" where the table never reaches.
constexpr ScreenRect WatchAgain = UpperCornerButton;
} // namespace ResultLayout
