#include "game/world/Overlays.h"

#include "game/screens/Layout.h"
#include "game/world/Country.h"
#include "game/world/World.h"
#include "render/Draw2D.h"
#include "render/Graphics.h"

#include <algorithm>
#include <cstdio>

namespace {
constexpr uint32_t FrameColor = 0x40808080;
constexpr uint32_t White = 0xFFFFFFFF;
constexpr uint32_t SelectedText = 0xFF00FFFF;
constexpr uint32_t LostText = 0xFF808080;
constexpr uint32_t LostStation = 0x40800000;
constexpr uint32_t RelaunchDone = 0x40C0C000;
constexpr uint32_t RelaunchLeft = 0x40404040;
constexpr int RelaunchFull = 300;

void Text(const OverlayContext& context, int x, int y, const std::string& text, uint32_t color = White) {
    if (context.drawText) context.drawText(x, y, text, color);
}

bool ClickedIn(const OverlayContext& context, const ScreenRect& rect) {
    return context.leftPressed && rect.Contains(context.cursorX, context.cursorY);
}

// A row of an overlay was clicked: the first click selects the unit, a click
// on the unit already selected also puts the camera on it.
void SelectFromRow(World& world, const OverlayContext& context, Unit* unit) {
    world.pilotView = false;
    if (context.playClick) context.playClick();
    if (unit == world.previousSelected) world.camera.SetFocus(unit);
    world.selectedUnit = unit;
}

std::string NameOf(const OverlayContext& context, int country) {
    return context.countryName ? context.countryName(country) : std::string();
}
} // namespace

void DrawCountryOverlay(World& world, const OverlayContext& context) {
    Device* device = world.graphics.device();
    if (!device) return;
    const int h = context.height;
    const int n = std::max(context.participantCount, 0);
    DrawRect2D(*device, 5, float(h - 10 * n - 35), 129, float(h - 6), FrameColor);
    const int line = h - (20 * n + 10) / 2 - 10;
    DrawLine2D(*device, 10, float(line), 125, float(line), FrameColor, 0);
    Text(context, 10, h - 10 * n - 30, "Country Overlay");

    // Row k (counting records from 0) sits k lines below the title, inside the outline.
    int k = 0;
    for (size_t i = 0; i < CountryRegistry::Capacity && k < n; ++i) {
        Country* record = world.countries[i];
        if (!record) continue;
        const int y = h - 10 * (n + 1 - k);
        ++k;
        uint32_t color = White;
        if (Unit* station = record->station) {
            station->DrawHpBar(23, y + 1, 74, 9);
            if (station == world.previousSelected) color = SelectedText;
            if (ClickedIn(context, {23, y + 1, 74, 9})) SelectFromRow(world, context, station);
        } else {
            FillRect2D(*device, 23, float(y + 1), 97, float(y + 10), LostStation);
            color = LostText;
        }
        char row[64];
        std::snprintf(row, sizeof row, "%02d %-15s:%4d", record->teamId, NameOf(context, record->countryIndex).c_str(),
                      record->score);
        Text(context, 10, y, row, color);
    }
}

void DrawFighterList(World& world, const OverlayContext& context, const Country& record) {
    Device* device = world.graphics.device();
    if (!device) return;
    const int w = context.width;
    const int slots = std::clamp(record.fightersPerTeam, 0, int(record.fighters.size()));
    DrawRect2D(*device, float(w - 75), 5, float(w - 6), float(10 * slots + 34), FrameColor);
    DrawLine2D(*device, float(w - 70), 25, float(w - 10), 25, FrameColor, 0);
    Text(context, w - 70, 10, "Fighter List");

    for (int i = 0; i < slots; ++i) {
        const int y = 31 + 10 * i;
        Unit* fighter = record.fighters[size_t(i)];
        if (fighter) {
            fighter->DrawHpBar(w - 67, y, 54, 9);
            if (ClickedIn(context, {w - 67, y, 54, 9})) SelectFromRow(world, context, fighter);
        } else {
            const int t = std::clamp(record.slotTimers[size_t(i)], 0, RelaunchFull + 1);
            const int filled = w - 67 + t * 54 / RelaunchFull;
            if (t > 0) FillRect2D(*device, float(w - 67), float(y), float(filled), float(y + 9), RelaunchDone);
            if (t < RelaunchFull) FillRect2D(*device, float(filled), float(y), float(w - 13), float(y + 9), RelaunchLeft);
        }
        char label[32];
        std::snprintf(label, sizeof label, "Fighter#%02d", i);
        bool selected = fighter && fighter == world.previousSelected;
        Text(context, w - 65, y - 1, label, selected ? SelectedText : White);
    }
}

std::string UnitOverlayText(const Unit& unit, const std::string& countryName) {
    char head[256];
    std::snprintf(head, sizeof head, "Unit Overlay\n\n  Country: %s\n  Team ID: %d\n\n  HP: %d/%d", countryName.c_str(),
                  unit.team, unit.hp, unit.maxHp);
    std::string text = head;
    unit.Describe(text);
    return text;
}

void DrawUnitOverlay(World& world, const OverlayContext& context, const Unit& unit) {
    Device* device = world.graphics.device();
    if (!device) return;
    std::string text = UnitOverlayText(unit, NameOf(context, unit.country));
    int lines = 1;
    int longest = 0;
    int current = 0;
    for (char c : text) {
        if (c == '\n') {
            ++lines;
            current = 0;
        } else {
            longest = std::max(longest, ++current);
        }
    }
    DrawRect2D(*device, 5, 20, float(5 * longest + 14), float(10 * lines + 29), FrameColor);
    DrawLine2D(*device, 10, 40, float(5 * longest + 10), 40, FrameColor, 0);
    Text(context, 10, 25, text);
}

void DrawFrameRate(const OverlayContext& context, float fps) {
    char text[48];
    std::snprintf(text, sizeof text, "FPS: %.1f", double(fps));
    Text(context, 5, 5, text);
}
