#include "game/flow/Game.h"

#include "game/flow/BattleScene.h"
#include "game/flow/Config.h"
#include "game/fighters/Fighter.h"
#include "game/stations/Station.h"
#include "game/world/World.h"
#include "platform/App.h"
#include "platform/Input.h"
#include "platform/KeyCodes.h"
#include "platform/Sound.h"
#include "render/Bitmap.h"
#include "render/Draw2D.h"
#include "render/Graphics.h"
#include "render/ResourceTable.h"

#include <cmath>
#include <cstdio>
#include <ctime>

namespace {

constexpr const char* CreditText = "Starmarch - battles among the stars\nEvery ship, sound and picture made in code";

// The frame rates the settings offer, where their buttons stand.
struct RateChoice {
    const char* label;
    int rate, x, y;
};
constexpr RateChoice FrameRateChoices[6] = {{"VSync", PictureRate::VSync, 10, 390},
                                            {"60", 60, 115, 390},
                                            {"120", 120, 220, 390},
                                            {"144", 144, 10, 415},
                                            {"Unlimited", PictureRate::Unlimited, 115, 415},
                                            {"Classic", PictureRate::Classic, 220, 415}};

bool EscapePressed(GameContext& game) { return game.input().KeyState(Dik::Escape) == Input::Pressed; }

} // namespace

bool PlaceLoadingPiece(SceneNode& node, int index, int frame) {
    int t = frame - 3 * index;
    if (t < 0) return false;
    float f = std::exp(-0.005f * float(t * t));
    node.SetPosition({index <= 6 ? float(index - 3) * 4.5f : float(index - 8) * 6.5f, index <= 6 ? 3.0f : -3.0f, 0});
    node.SetOrientation({0, 0, -1}, {0, 1, 0});
    node.RotateZ(15 * f);
    node.intensity = 1 - f;
    return true;
}

Game::Game(App& app, Graphics& graphics, SoundSystem& sound, ControlSettings& settings)
    : context(app, graphics, sound, settings) {}

void Game::Init() {
    GameContext& g = context;
    // The game's emblem on the window, once the resources can be read.
    Bitmap icon;
    if (g.graphics.resources && DecodeBitmap(g.graphics.resources->Find("ICON", "starmarch"), 0, icon))
        g.app.window.SetIcon(icon.pixels.data(), icon.width, icon.height);
    // Escape belongs to the screens from now on; pads are read.
    g.input().SetQuitKey(Dik::None);
    g.input().EnablePads(true);
    g.sound.SetListenerDistanceFactor(10);
    g.graphics.SetDirectionalLight(g.lightDirection.x, g.lightDirection.y, g.lightDirection.z, 1, 1, 1, 1);
    if (Device* device = g.graphics.device()) device->SetRenderState(RenderState::NormalizeNormals, 1);
    if (g.font.Load(g.graphics, "FONT", 0xFF000000, 1)) g.textSprite.SetTexture(&g.font);
    for (size_t i = 0; i < pieces.size(); ++i) {
        char name[8];
        std::snprintf(name, sizeof name, "OP_%02d", int(i));
        pieces[i].Load(g.graphics, name, 0, 1);
        pieceNodes[i].Init(&pieces[i], 0, 0, 0, 0.1f);
        pieceNodes[i].tag = LoadingPieceTag + i;
    }
    g.ApplyFrameRate();
    g.Wait(500);
}

void Game::Shutdown() {
    context.ResetWorld();
    // A per-user configuration folder is made on the first save.
    MakePrivateFolder(context.app.paths.config);
    SaveConfig(context.settings, context.app.paths.config);
}

void Game::Frame() {
    if (context.frameRateChanged) context.ApplyFrameRate();
    switch (context.Scene()) {
    case SceneId::Loading: LoadingFrame(); break;
    case SceneId::Title: TitleFrame(); break;
    case SceneId::Settings: SettingsFrame(); break;
    case SceneId::CountrySelect: CountrySelectFrame(); break;
    case SceneId::Battle: BattleSceneFrame(context); break;
    case SceneId::Result: ResultFrame(); break;
    }
}

void Game::LoadingFrame() {
    GameContext& g = context;
    SetCamera(g.graphics, {0, -10, -30}, {0, -2, 0}, {0, 1, 0});
    if (!g.graphics.BeginFrame(0xFF000000)) return;
    Device& device = *g.graphics.device();
    g.graphics.SetDirectionalLight(g.lightDirection.x, g.lightDirection.y, g.lightDirection.z, 1, 1, 1, 1);
    device.SetRenderState(RenderState::ZFunc, CmpLessEqual);
    device.SetRenderState(RenderState::Lighting, 1);
    // Each piece starts three frames after the one before, rolling and fading in.
    for (int i = 0; i < int(pieces.size()); ++i)
        if (PlaceLoadingPiece(pieceNodes[size_t(i)], i, loadFrames)) pieceNodes[size_t(i)].DrawFaded();
    device.SetRenderState(RenderState::Lighting, 0);
    if (++loadFrames < 90) {
        g.EndFrame();
        return;
    }
    g.DrawText(int(float(g.width) * 0.5f - 35), g.height - 30, "Now Loading...");
    g.EndFrame();
    for (MeshResource& piece : pieces) piece.Release();
    BuildKeyNames(names);
    LoadResources();
    g.app.random.Seed(uint32_t(std::time(nullptr)));
    g.ResetWorld();
    g.SetScene(SceneId::Title);
}

void Game::LoadResources() {
    GameContext& g = context;
    g.title.Load(g.graphics, "TITLE", 0, 1);
    if (g.planet.Load(g.graphics, "PLANET", 0, 1)) {
        g.planetSprite.SetTexture(&g.planet);
        g.planetSprite.sourceRect = {0, 0, 512, 256};
        g.planetSprite.scalingX = g.planetSprite.scalingY = 1.25f;
        g.planetSprite.positionX = float(g.x0);
        g.planetSprite.positionY = float(g.y0 + 160);
    }
    if (g.flags.Load(g.graphics, "FLAG", 0, 1)) g.flagSprite.SetTexture(&g.flags);
    if (g.light.Load(g.graphics, "LIGHT", 0, 1)) g.lightSprite.SetTexture(&g.light);
    g.battleAssets.LoadViewMeshes(g.graphics);
    g.hoverSound.Load("Data\\MouseOver.wav");
    g.clickSound.Load("Data\\MouseClick.wav");
    g.optionHoverSound.Load("Data\\MouseOver.wav");
    g.optionClickSound.Load("Data\\MouseClick.wav");
    g.battleAssets.LoadEffects(g.graphics, true);
    // Each type's own models and sounds: weapons, then panels, turrets and
    // stations, then fighters.
    g.battleAssets.LoadWeapons(g.graphics, true);
    g.families.Load(g.graphics);
    g.battleAssets.LoadFighterMeshes(g.graphics);
    if (g.title.texture()) titleSprite.SetTexture(&g.title);

    auto place = [&](Button& button, const char* label, int x, int y, int w = 100) {
        button = {label, g.x0 + x, g.y0 + y, w, 20, false};
    };
    place(chooseCountries, "Choose Countries", 535, 405);
    place(settingsButton, "Settings", 535, 430);
    place(quit, "Quit", 535, 455);
    place(start, "Start", 535, 430);
    place(cancel, "Cancel", 535, 455);
    place(back, "Back", 535, 455);
    place(done, "Done", 535, 455);
    const char* optionLabels[5] = {"Fullscreen", "Window", "640*480", "800*600", "1024*768"};
    const int optionX[5] = {10, 115, 10, 115, 220}, optionY[5] = {20, 20, 45, 45, 45}, values[5] = {0, 1, 0, 1, 2};
    for (int i = 0; i < 5; ++i) {
        graphicsOptions[size_t(i)] = {optionLabels[i], g.x0 + optionX[i], g.y0 + optionY[i], 100, 20, values[i],
                                      i < 2 ? &g.settings.windowModeChoice : &g.settings.displaySizeChoice, false};
    }
    for (int i = 0; i < ActionCount; ++i)
        place(actionButtons[size_t(i)], ActionName(i), 10 + (i % 2) * 320, 85 + (i / 2) * 25, 300);
    // Below the controls, clear of the capture box and of "Done".
    // The buttons choose by position: a rate of -1 would read as a toggle.
    for (size_t i = 0; i < std::size(FrameRateChoices); ++i)
        frameRateOptions[i] = {FrameRateChoices[i].label, g.x0 + FrameRateChoices[i].x, g.y0 + FrameRateChoices[i].y,
                               100, 20, int(i), &frameRateChoice, false};
}

void Game::TitleFrame() {
    GameContext& g = context;
    if (!g.MenuFrameStart()) return;
    if (EscapePressed(g)) {
        g.PlayClick();
        g.app.window.RequestClose();
        g.Wait(500);
        return;
    }
    // A new colour wipes across the title strip by strip, then rests.
    if (++sweepStep > 119) {
        sweepStep = 0;
        oldColour = newColour;
        int r = g.app.random.Random(255), gr = g.app.random.Random(255), b = g.app.random.Random(255);
        if (r + gr + b < 384) {
            r = 255 - r;
            gr = 255 - gr;
            b = 255 - b;
        }
        newColour = 0xFF000000u + uint32_t(r) * 65536u + uint32_t(gr) * 256u + uint32_t(b);
    }
    if (Device* device = g.graphics.device(); device && g.title.texture()) {
        device->BeginSprites();
        for (int k = 0; k < 64; ++k) {
            titleSprite.sourceRect = {8 * k, 0, 8 * k + 8, 127};
            titleSprite.scalingX = titleSprite.scalingY = 1.25f;
            titleSprite.rotation = 0;
            titleSprite.positionX = float(g.x0 + 10 * k);
            titleSprite.positionY = float(g.y0 + 10);
            if (k > sweepStep) {
                titleSprite.color = oldColour;
            } else if (k < sweepStep - 4) {
                titleSprite.color = newColour;
            } else if (k == sweepStep - 4) {
                titleSprite.scalingX = 1.875f;
                titleSprite.color = Blend(newColour, oldColour, 0.75f);
            } else if (k < sweepStep) {
                titleSprite.positionX += 4;
                titleSprite.color = Blend(newColour, oldColour, 0.5f);
            } else {
                titleSprite.positionX += 4;
                titleSprite.scalingX = 0.75f;
                titleSprite.color = Blend(newColour, oldColour, 0.25f);
            }
            titleSprite.Draw(*device);
        }
        device->EndSprites();
    }
    g.DrawText(g.width - 230 - g.x0, g.y0 + 180, CreditText);
    if (ButtonUpdate(g, chooseCountries)) {
        g.CenterCursor();
        g.SetScene(SceneId::CountrySelect);
        g.CreateDisplaySet();
        g.Wait(500);
        return;
    }
    if (ButtonUpdate(g, settingsButton)) {
        g.CenterCursor();
        g.SetScene(SceneId::Settings);
        g.CreateDisplaySet();
        g.Wait(500);
        return;
    }
    if (ButtonUpdate(g, quit)) {
        g.app.window.RequestClose();
        g.Wait(500);
        return;
    }
    g.DrawCursor();
    g.EndFrame();
}

void Game::SettingsFrame() {
    GameContext& g = context;
    // While waiting for a key the cursor stays where it is.
    if (captureMode) {
        g.input().SetMousePosition(g.width / 2, g.height / 2);
        if (!g.graphics.BeginFrame(0xFF000000)) return;
        g.click = false;
        if (g.planet.texture()) {
            g.graphics.device()->BeginSprites();
            g.planetSprite.Draw(*g.graphics.device());
            g.graphics.device()->EndSprites();
        }
    } else if (!g.MenuFrameStart()) {
        return;
    }
    if (EscapePressed(g)) {
        g.PlayClick();
        if (!captureMode) {
            g.CenterCursor();
            g.SetScene(SceneId::Title);
            g.Wait(500);
            return;
        }
        // Escape while waiting erases both of the action's assignments.
        captureMode = false;
        g.settings.actionKey[size_t(captureAction)] = -1;
        g.settings.actionPadButton[size_t(captureAction)] = -1;
    }
    g.DrawText(g.x0 + 5, g.y0 + 5, "Graphics (need restart):");
    for (OptionButton& option : graphicsOptions) OptionButtonUpdate(g, option);
    g.DrawText(g.x0 + 5, g.y0 + 375, "Pictures per second:");
    const int rateBefore = g.settings.frameRate;
    frameRateChoice = 0;
    for (size_t i = 0; i < std::size(FrameRateChoices); ++i)
        if (FrameRateChoices[i].rate == rateBefore) frameRateChoice = int(i);
    for (OptionButton& option : frameRateOptions) OptionButtonUpdate(g, option);
    g.settings.frameRate = FrameRateChoices[size_t(frameRateChoice)].rate;
    // From the next frame on: this one is drawn as it began.
    if (g.settings.frameRate != rateBefore) g.frameRateChanged = true;
    g.DrawText(g.x0 + 5, g.y0 + 70, "Controls:");
    for (int i = 0; i < ActionCount; ++i) {
        int x = g.x0 + 150 + 320 * (i % 2), y = g.y0 + 90 + 25 * (i / 2);
        int key = g.settings.actionKey[size_t(i)];
        if (key >= 0) g.DrawText(x, y, names.keyNames[size_t(key)]);
        int pad = g.settings.actionPadButton[size_t(i)];
        if (pad >= 0 && pad < PadButtonSlots) g.DrawText(x + 80, y, names.padButtonNames[size_t(pad)]);
        if (ButtonUpdate(g, actionButtons[size_t(i)])) {
            captureMode = true;
            captureAction = i;
        }
    }
    if (ButtonUpdate(g, done)) {
        g.CenterCursor();
        g.SetScene(SceneId::Title);
        g.Wait(500);
        return;
    }
    if (captureMode) {
        DrawRect2D(*g.graphics.device(), float(g.x0 + 205), float(g.y0 + 335), float(g.x0 + 434), float(g.y0 + 364),
                   0xFFFF0000);
        g.DrawText(g.x0 + 210, g.y0 + 340,
                   "Press a key or pad button to assign control.\nPress ESCAPE to erase the assignment.");
        // The highest key pressed this frame wins; then the pad's buttons.
        for (int code = 0; code < 256; ++code) {
            if (code == Dik::Escape || g.input().KeyState(code) != Input::Pressed) continue;
            g.settings.actionKey[size_t(captureAction)] = code;
            g.PlayClick();
            captureMode = false;
        }
        for (int button = 0; button < PadButtonSlots; ++button) {
            int element = PadElementForButton(button);
            if (element < 0 || g.input().PadState(0, element) != Input::Pressed) continue;
            g.settings.actionPadButton[size_t(captureAction)] = button;
            g.PlayClick();
            captureMode = false;
        }
    } else {
        g.DrawCursor();
    }
    g.EndFrame();
}

void Game::CountrySelectFrame() {
    GameContext& g = context;
    if (!g.MenuFrameStart()) return;
    CountrySelection& s = g.selection;
    if (EscapePressed(g)) {
        g.PlayClick();
        g.ResetWorld();
        g.SetScene(SceneId::Title);
        g.Wait(500);
        return;
    }
    auto inside = [&](int x, int y, int w, int h) {
        return g.cursorX - x >= 0 && g.cursorX - x < w && g.cursorY - y >= 0 && g.cursorY - y < h;
    };
    auto slotX = [&](int j) { return g.x0 + 10 + 200 * (j / 4); };
    auto slotY = [&](int j) { return g.y0 + 80 + 35 * (j % 4); };
    Input& in = g.input();

    // Drop what is dragged.
    if (in.MouseButtonState(0) == Input::Released && s.dragSource >= 0) {
        if (inside(g.x0 + 5, g.y0 + 20, 605, 40)) {
            if (s.dragSource >= 100) {
                int slot = s.dragSource - 100;
                s.countryAvailable[size_t(s.slotCountry[size_t(slot)])] = 0;
                s.slotCountry[size_t(slot)] = -1;
            }
        } else {
            for (int j = 0; j < CountryCount; ++j) {
                if (s.slotCountry[size_t(j)] != -1 || !inside(slotX(j), slotY(j), 135, 30)) continue;
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
            if (s.countryAvailable[size_t(i)] == 0 && inside(g.x0 + 10 + 50 * i, g.y0 + 25, 45, 30)) {
                s.dragSource = i;
                g.PlayHover();
                taken = true;
            }
        for (int j = 0; j < CountryCount && !taken; ++j) {
            if (s.slotCountry[size_t(j)] >= 0 && inside(slotX(j), slotY(j), 45, 30)) {
                s.dragSource = 100 + j;
                g.PlayHover();
                taken = true;
            } else if (inside(slotX(j) + 50, slotY(j), 85, 20)) {
                s.playerSlot = s.playerSlot == j ? -1 : j;
                g.PlayClick();
                taken = true;
            } else if (inside(slotX(j) + 140, slotY(j) + 10, 50, 20)) {
                s.slotTeam[size_t(j)] = WrapInt(s.slotTeam[size_t(j)] + 1, 1, MaxTeams);
                g.PlayClick();
                taken = true;
            }
        }
        if (!taken && inside(g.x0 + 410, g.y0 + 215, 190, 20)) {
            s.fightersPerTeam = WrapInt(s.fightersPerTeam + 1, 1, MaxFightersPerTeam);
            g.PlayClick();
        }
    }
    if (in.MouseButtonState(1) == Input::Pressed) {
        for (int j = 0; j < CountryCount; ++j)
            if (inside(slotX(j) + 140, slotY(j) + 10, 50, 20)) {
                s.slotTeam[size_t(j)] = WrapInt(s.slotTeam[size_t(j)] - 1, 1, MaxTeams);
                g.PlayClick();
            }
        if (inside(g.x0 + 410, g.y0 + 215, 190, 20)) {
            s.fightersPerTeam = WrapInt(s.fightersPerTeam - 1, 1, MaxFightersPerTeam);
            g.PlayClick();
        }
    }

    Device& device = *g.graphics.device();
    auto drawFlag = [&](int country, int x, int y, uint32_t color) {
        if (!g.flags.texture() || country < 0) return;
        g.flagSprite.sourceRect = {(country % 3) * 48 + 1, (country / 3) * 32 + 1, (country % 3) * 48 + 46,
                                   (country / 3) * 32 + 31};
        g.flagSprite.scalingX = g.flagSprite.scalingY = 1;
        g.flagSprite.positionX = float(x);
        g.flagSprite.positionY = float(y);
        g.flagSprite.color = color;
        device.BeginSprites();
        g.flagSprite.Draw(device);
        device.EndSprites();
    };
    g.DrawText(g.x0 + 5, g.y0 + 5, "Countries Available:");
    DrawRect2D(device, float(g.x0 + 5), float(g.y0 + 20), float(g.x0 + 609), float(g.y0 + 59), 0xFF808080);
    for (int i = 0; i < CountryCount; ++i)
        if (s.countryAvailable[size_t(i)] == 0)
            drawFlag(i, g.x0 + 10 + 50 * i, g.y0 + 25, s.dragSource == i ? 0xFF808080 : 0xFFFFFFFF);
    g.DrawText(g.x0 + 5, g.y0 + 65, "Participating Teams:");
    for (int j = 0; j < CountryCount; ++j) {
        int x = slotX(j), y = slotY(j), country = s.slotCountry[size_t(j)];
        uint32_t frame1 = country < 0 ? 0x40FFFFFF : 0xFFFFFFFF, frame2 = country < 0 ? 0x40FF0000 : 0xFFFF0000;
        if (j == s.playerSlot)
            FillRect2D(device, float(x + 50), float(y), float(x + 134), float(y + 19), frame2);
        if (country < 0) {
            g.DrawText(x + 55, y + 5, "No Entry", 0xFF404040);
            FillRect2D(device, float(x), float(y), float(x + 45), float(y + 30), 0xFF404040);
        } else {
            g.DrawText(x + 55, y + 5, CountryName(country));
            drawFlag(country, x, y, s.dragSource == 100 + j ? 0xFF808080 : 0xFFFFFFFF);
        }
        char team[16];
        std::snprintf(team, sizeof team, "Team: %d", s.slotTeam[size_t(j)]);
        g.DrawText(x + 145, y + 15, team);
        DrawLine2D(device, float(x + 189), float(y), float(x + 189), float(y + 29), frame1, frame2);
        DrawLine2D(device, float(x + 189), float(y + 29), float(x + 45), float(y + 29), frame1, frame2);
    }
    char fighters[32];
    std::snprintf(fighters, sizeof fighters, "Number of fighters: %d", s.fightersPerTeam);
    g.DrawText(g.x0 + 415, g.y0 + 220, fighters);
    int playerCountry = s.PlayerCountry();
    std::string yours = std::string("Your Country: ") + (playerCountry >= 0 ? CountryName(playerCountry) : "Not Selected");
    // The chosen country's station and fighter turn slowly beside their numbers.
    if (playerCountry >= 0 && g.displayStations[size_t(playerCountry)]) {
        static_cast<Station*>(g.displayStations[size_t(playerCountry)])->Showcase(yours);
        if (Unit* fighter = g.displayFighters[size_t(playerCountry)]) static_cast<Fighter*>(fighter)->Showcase(yours);
    }
    g.DrawText(g.x0 + 5, g.y0 + 220, yours);
    if (s.dragSource >= 0) {
        int country = s.dragSource < 100 ? s.dragSource : s.slotCountry[size_t(s.dragSource - 100)];
        drawFlag(country, g.cursorX - 22, g.cursorY - 15, 0xFFFFFFFF);
    }
    if (ButtonUpdate(g, start) && s.AnyPlaced()) {
        s.FillSetup(g.setup);
        World& world = g.NewWorld();
        g.stats.Clear();
        CreateCountryRecords(world, s);
        g.participantCount = StartBattle(world);
        world.camera.Reset();
        g.battlePaceStarted = false;
        g.SetScene(SceneId::Battle);
        g.Wait(500);
        return;
    }
    if (ButtonUpdate(g, cancel)) {
        g.ResetWorld();
        g.SetScene(SceneId::Title);
        g.Wait(500);
        return;
    }
    g.DrawCursor();
    g.EndFrame();
}

void Game::ResultFrame() {
    GameContext& g = context;
    if (!g.MenuFrameStart()) return;
    bool leave = false;
    if (EscapePressed(g)) {
        g.PlayClick();
        leave = true;
    }
    static constexpr const char* headers[BattleStats::ColumnCount] = {
        "    team",        "stations\nkilled", "stations\nlost", "panels\nkilled",   "panels\nlost",
        "turrets\nkilled", "turrets\nlost",    "fighters\nkilled", "fighters\nlost", "total\nscore"};
    g.DrawText(g.x0 + 5, g.y0 + 5, "Battle Result:");
    bool resort = false;
    for (int k = 0; k < BattleStats::ColumnCount; ++k) {
        int x = g.x0 + 50 + 58 * k, y = g.y0 + 20;
        bool under = g.cursorX >= x && g.cursorX < x + 55 && g.cursorY >= y && g.cursorY < y + 20;
        uint32_t color = k == sortColumn ? 0xFFFF8000 : under ? 0xFFFFC080 : 0xFFFFFFFF;
        if (under && g.click && k != sortColumn) {
            sortColumn = k;
            g.PlayClick();
            resort = true;
        }
        g.DrawText(x, y, headers[k], color);
    }
    if (sortColumn < 0) {
        sortColumn = 0;
        resort = true;
    }
    int n = 0;
    if (resort) {
        for (int j = 0; j < CountryCount; ++j)
            if (g.selection.slotCountry[size_t(j)] >= 0) resultOrder[size_t(n++)] = g.selection.slotCountry[size_t(j)];
        int count = std::min(n, g.participantCount);
        auto column = BattleStats::Column(sortColumn);
        bool descending = sortColumn % 2 == 1;
        for (int p = count - 1; p >= 1; --p)
            for (int i = 0; i < p; ++i) {
                int a = g.stats.Get(resultOrder[size_t(i)], column), b = g.stats.Get(resultOrder[size_t(i + 1)], column);
                if (descending ? a < b : a > b) std::swap(resultOrder[size_t(i)], resultOrder[size_t(i + 1)]);
            }
    }
    int playerCountry = g.selection.PlayerCountry(), playerTeam = g.selection.PlayerTeam();
    for (int r = 0; r < g.participantCount && r < CountryCount; ++r) {
        int c = resultOrder[size_t(r)];
        if (g.flags.texture()) {
            g.flagSprite.sourceRect = {(c % 3) * 48 + 1, (c / 3) * 32 + 1, (c % 3) * 48 + 46, (c / 3) * 32 + 31};
            g.flagSprite.positionX = float(g.x0 + 5);
            g.flagSprite.positionY = float(g.y0 + 33 * r + 45);
            g.flagSprite.color = g.stats.Get(c, BattleStats::StationsLost) > 0 ? 0xFF808080 : 0xFFFFFFFF;
            g.graphics.device()->BeginSprites();
            g.flagSprite.Draw(*g.graphics.device());
            g.graphics.device()->EndSprites();
        }
        uint32_t nameColor = c == playerCountry                                                 ? 0xFF40C040
                             : g.stats.Get(c, BattleStats::TeamNumber) == playerTeam ? 0xFF40C0C0
                                                                                         : 0xFFC04040;
        g.DrawText(g.x0 + 55, g.y0 + 33 * r + 61, CountryName(c), nameColor);
        for (int k = 0; k < BattleStats::ColumnCount; ++k) {
            int value = g.stats.Get(c, BattleStats::Column(k));
            uint32_t color = (k == 0 || k == 9) ? 0xFFFFFFFF : value == 0 ? 0xFF404040 : k % 2 ? 0xFF80FFFF : 0xFFFF8080;
            char text[16];
            std::snprintf(text, sizeof text, "%8d", value);
            g.DrawText(g.x0 + 50 + 58 * k, g.y0 + 33 * r + 49, text, color);
        }
    }
    if (ButtonUpdate(g, back) || leave) {
        sortColumn = -1;
        g.CenterCursor();
        g.SetScene(SceneId::Title);
        g.Wait(500);
        return;
    }
    g.DrawCursor();
    g.EndFrame();
}
