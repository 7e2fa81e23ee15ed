#include "game/screens/CountrySelectScreen.h"

#include "game/fighters/Fighter.h"
#include "game/flow/GameContext.h"
#include "game/stations/Station.h"
#include "game/world/World.h"
#include "platform/Input.h"
#include "render/Draw2D.h"
#include "render/Graphics.h"

#include <cstdio>

using namespace CountrySelectLayout;

namespace {

// Wraps an integer into lo..hi.
int WrapInt(int value, int lo, int hi) {
    int n = hi - lo + 1;
    return ((value - lo) % n + n) % n + lo;
}

} // namespace

CountrySelectScreen::CountrySelectScreen(GameContext& game)
    : game(game), start{"Start", Start.At(game.x0, game.y0)}, cancel{"Cancel", Cancel.At(game.x0, game.y0)} {}

void CountrySelectScreen::Frame() {
    GameContext& g = game;
    if (!g.MenuFrameStart()) return;
    if (g.EscapePressed()) {
        g.PlayClick();
        g.ResetWorld();
        g.SwitchTo(SceneId::Title);
        return;
    }
    Select();
    Draw();
    if (ButtonUpdate(g, start) && StartIfPlaced()) return;
    if (ButtonUpdate(g, cancel)) {
        g.ResetWorld();
        g.SwitchTo(SceneId::Title);
        return;
    }
    g.DrawCursor();
    g.EndFrame();
}

void CountrySelectScreen::Select() {
    GameContext& g = game;
    CountrySelection& s = g.selection;
    auto under = [&](const ScreenRect& design) {
        return design.At(g.x0, g.y0).Contains(g.cursorX, g.cursorY);
    };
    Input& in = g.input();

    // Drop what is dragged.
    if (IsReleased(in.MouseButtonState(0)) && s.dragSource >= 0) {
        if (under(AvailableRow)) {
            if (s.dragSource >= 100) {
                int slot = s.dragSource - 100;
                s.countryAvailable[size_t(s.slotCountry[size_t(slot)])] = 0;
                s.slotCountry[size_t(slot)] = -1;
            }
        } else {
            for (int j = 0; j < CountryCount; ++j) {
                if (s.slotCountry[size_t(j)] != -1 || !under(TeamSlot(j))) continue;
                if (s.dragSource < 100) {
                    s.countryAvailable[size_t(s.dragSource)] = -1;
                    s.slotCountry[size_t(j)] = s.dragSource;
                } else {
                    s.slotCountry[size_t(j)] = s.slotCountry[size_t(s.dragSource - 100)];
                    s.slotCountry[size_t(s.dragSource - 100)] = -1;
                }
                break;
            }
        }
        s.dragSource = -1;
        g.PlayHover();
    }
    if (g.click) {
        bool taken = false;
        for (int i = 0; i < CountryCount && !taken; ++i)
            if (s.countryAvailable[size_t(i)] == 0 && under(AvailableFlag(i))) {
                s.dragSource = i;
                g.PlayHover();
                taken = true;
            }
        for (int j = 0; j < CountryCount && !taken; ++j) {
            if (s.slotCountry[size_t(j)] >= 0 && under(SlotFlag(j))) {
                s.dragSource = 100 + j;
                g.PlayHover();
                taken = true;
            } else if (under(SlotName(j))) {
                s.playerSlot = s.playerSlot == j ? -1 : j;
                g.PlayClick();
                taken = true;
            } else if (under(SlotTeam(j))) {
                s.slotTeam[size_t(j)] = WrapInt(s.slotTeam[size_t(j)] + 1, 1, MaxTeams);
                g.PlayClick();
                taken = true;
            }
        }
        if (!taken && under(FightersNumber)) {
            s.fightersPerTeam = WrapInt(s.fightersPerTeam + 1, 1, MaxFightersPerTeam);
            g.PlayClick();
        }
    }
    if (IsPressed(in.MouseButtonState(1))) {
        for (int j = 0; j < CountryCount; ++j)
            if (under(SlotTeam(j))) {
                s.slotTeam[size_t(j)] = WrapInt(s.slotTeam[size_t(j)] - 1, 1, MaxTeams);
                g.PlayClick();
            }
        if (under(FightersNumber)) {
            s.fightersPerTeam = WrapInt(s.fightersPerTeam - 1, 1, MaxFightersPerTeam);
            g.PlayClick();
        }
    }
}

void CountrySelectScreen::DrawFlag(int country, int x, int y, uint32_t color) {
    GameContext& g = game;
    if (!g.flags.texture() || country < 0) return;
    g.flagSprite.sourceRect = {(country % 3) * 48 + 1, (country / 3) * 32 + 1, (country % 3) * 48 + 46,
                               (country / 3) * 32 + 31};
    g.flagSprite.scalingX = g.flagSprite.scalingY = 1;
    g.flagSprite.positionX = float(x);
    g.flagSprite.positionY = float(y);
    g.flagSprite.color = color;
    Device& device = *g.graphics.device();
    device.BeginSprites();
    g.flagSprite.Draw(device);
    device.EndSprites();
}

void CountrySelectScreen::Draw() {
    GameContext& g = game;
    const CountrySelection& s = g.selection;
    Device& device = *g.graphics.device();
    g.DrawText(g.x0 + 5, g.y0 + 5, "Countries Available:");
    const ScreenRect row = AvailableRow.At(g.x0, g.y0);
    DrawRect2D(device, float(row.x), float(row.y), float(row.Right()), float(row.Bottom()), 0xFF808080);
    for (int i = 0; i < CountryCount; ++i) {
        const ScreenRect flag = AvailableFlag(i).At(g.x0, g.y0);
        if (s.countryAvailable[size_t(i)] == 0)
            DrawFlag(i, flag.x, flag.y, s.dragSource == i ? 0xFF808080 : 0xFFFFFFFF);
    }
    g.DrawText(g.x0 + 5, g.y0 + 65, "Participating Teams:");
    for (int j = 0; j < CountryCount; ++j) {
        const ScreenRect name = SlotName(j).At(g.x0, g.y0), team = SlotTeam(j).At(g.x0, g.y0);
        const ScreenRect slot = TeamSlot(j).At(g.x0, g.y0);
        int x = slot.x, y = slot.y, country = s.slotCountry[size_t(j)];
        uint32_t frame1 = country < 0 ? 0x40FFFFFF : 0xFFFFFFFF,
                 frame2 = country < 0 ? 0x40FF0000 : 0xFFFF0000;
        if (j == s.playerSlot)
            FillRect2D(device, float(name.x), float(name.y), float(name.Right()), float(name.Bottom()),
                       frame2);
        if (country < 0) {
            g.DrawText(name.x + 5, name.y + 5, "No Entry", 0xFF404040);
            FillRect2D(device, float(x), float(y), float(x + 45), float(y + 30), 0xFF404040);
        } else {
            g.DrawText(name.x + 5, name.y + 5, CountryName(country));
            DrawFlag(country, x, y, s.dragSource == 100 + j ? 0xFF808080 : 0xFFFFFFFF);
        }
        char text[16];
        std::snprintf(text, sizeof text, "Team: %d", s.slotTeam[size_t(j)]);
        g.DrawText(team.x + 5, team.y + 5, text);
        // The slot's frame: down its right side, then along its bottom to the flag.
        DrawLine2D(device, float(team.Right()), float(y), float(team.Right()), float(slot.Bottom()), frame1,
                   frame2);
        DrawLine2D(device, float(team.Right()), float(slot.Bottom()), float(x + 45), float(slot.Bottom()),
                   frame1, frame2);
    }
    char fighters[32];
    std::snprintf(fighters, sizeof fighters, "Number of fighters: %d", s.fightersPerTeam);
    const ScreenRect number = FightersNumber.At(g.x0, g.y0);
    g.DrawText(number.x + 5, number.y + 5, fighters);
    int playerCountry = s.PlayerCountry();
    std::string yours =
        std::string("Your Country: ") + (playerCountry >= 0 ? CountryName(playerCountry) : "Not Selected");
    // The chosen country's station and fighter turn slowly beside their numbers.
    if (playerCountry >= 0 && g.displayStations[size_t(playerCountry)]) {
        static_cast<Station*>(g.displayStations[size_t(playerCountry)])->Showcase(yours);
        if (Unit* fighter = g.displayFighters[size_t(playerCountry)])
            static_cast<Fighter*>(fighter)->Showcase(yours);
    }
    g.DrawText(g.x0 + 5, g.y0 + 220, yours);
    if (s.dragSource >= 0) {
        int country = s.dragSource < 100 ? s.dragSource : s.slotCountry[size_t(s.dragSource - 100)];
        DrawFlag(country, g.cursorX - 22, g.cursorY - 15, 0xFFFFFFFF);
    }
}

bool CountrySelectScreen::StartIfPlaced() {
    GameContext& g = game;
    CountrySelection& s = g.selection;
    if (!s.AnyPlaced()) return false;
    s.FillSetup(g.setup);
    World& world = g.NewWorld();
    g.stats.Clear();
    g.participantCount = BeginBattle(world, s);
    g.StartRecording();
    g.battlePaceStarted = false;
    g.SwitchTo(SceneId::Battle);
    return true;
}
