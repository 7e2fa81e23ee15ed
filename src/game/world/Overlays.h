#pragma once

#include <cstdint>
#include <functional>
#include <string>

class Country;
class Unit;
class World;

// What the battle's 2D overlays need from the screen around them: the
// back-buffer size, the text drawer, the cursor and left button (their rows
// are clickable), the click sound and the country names.
struct OverlayContext {
    int width = 640;
    int height = 480;
    // Text in the bitmap font, top-left of its first line at (x, y).
    std::function<void(int x, int y, const std::string& text, uint32_t color)> drawText;
    int cursorX = 0;
    int cursorY = 0;
    // The left mouse button was just pressed this frame.
    bool leftPressed = false;
    std::function<void()> playClick;
    std::function<std::string(int country)> countryName;
    // Countries in the battle.
    int participantCount = 0;
};

// Every country with its station's health and its score, bottom left. A
// click on a station's bar selects it, a second click also focuses it.
void DrawCountryOverlay(World& world, const OverlayContext& context);
// The record's fighter slots with health or relaunch progress, top right;
// clickable like the country overlay.
void DrawFighterList(World& world, const OverlayContext& context, const Country& record);
// A text box about the unit, top left, as wide and tall as its text.
void DrawUnitOverlay(World& world, const OverlayContext& context, const Unit& unit);
// "FPS: x.y" at the top left.
void DrawFrameRate(const OverlayContext& context, float fps);

// The unit overlay's text (the unit's own lines appended by Describe).
std::string UnitOverlayText(const Unit& unit, const std::string& countryName);
