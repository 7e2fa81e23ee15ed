#include "game/screens/SettingsScreen.h"

#include "game/flow/GameContext.h"
#include "game/flow/SettingsTable.h"
#include "platform/Input.h"
#include "platform/KeyCodes.h"
#include "platform/Window.h"
#include "render/Draw2D.h"
#include "render/Graphics.h"

SettingsScreen::SettingsScreen(GameContext& game)
    : game(game), uiScaleButton{"", SettingsLayout::UiScaleButton.At(game.x0, game.y0)},
      done{"Done", SettingsLayout::Done.At(game.x0, game.y0)} {
    using namespace SettingsLayout;
    const int x0 = game.x0, y0 = game.y0;
    const SettingRow& window = SettingRowFor(&ControlSettings::windowModeChoice);
    for (size_t i = 0; i < window.choices.size(); ++i)
        graphicsOptions.push_back({window.choices[i].label, WindowModeOption(int(i)).At(x0, y0),
                                   window.choices[i].value, &game.settings.windowModeChoice});
    // The three sizes the game was made for in their row, the others to the right.
    const Window::DisplayMode desktop = Window::DesktopMode(0);
    const SettingRow& sizes = SettingRowFor(&ControlSettings::displaySizeChoice);
    for (size_t i = 0; i < sizes.choices.size(); ++i) {
        const int size = sizes.choices[i].value;
        if (!DisplaySizeFits(size, desktop.width, desktop.height)) continue;
        const ScreenRect rect = i < 3 ? DisplaySizeOption(int(i)) : WideSizeOption(int(i) - 3);
        graphicsOptions.push_back({sizes.choices[i].label, rect.At(x0, y0), size, &game.settings.displaySizeChoice});
    }
    for (int i = 0; i < ActionCount; ++i)
        actionButtons[size_t(i)] = {ActionName(i), ActionButton(i).At(x0, y0)};
    padPointer = {"Pad pointer", PadPointerToggle.At(x0, y0), -1, &game.settings.padPointer};
    // The buttons choose by position: a rate of -1 would read as a toggle.
    const SettingRow& rates = SettingRowFor(&ControlSettings::frameRate);
    for (size_t i = 0; i < frameRateOptions.size() && i < rates.choices.size(); ++i)
        frameRateOptions[i] = {rates.choices[i].label, FrameRateOption(int(i)).At(x0, y0), int(i), &frameRateChoice};
}

void SettingsScreen::Frame() {
    GameContext& g = game;
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
    if (g.EscapePressed()) {
        g.PlayClick();
        if (!captureMode) {
            g.CenterCursor();
            g.SwitchTo(SceneId::Title);
            return;
        }
        // Escape while waiting erases both of the action's assignments.
        captureMode = false;
        g.settings.actionKey[size_t(captureAction)] = -1;
        g.settings.actionPadButton[size_t(captureAction)] = -1;
    }
    g.DrawText(g.x0 + 5, g.y0 + 5, "Graphics (need restart):");
    for (OptionButton& option : graphicsOptions) OptionButtonUpdate(g, option);
    // The UI scale steps through its choices, one a click.
    const SettingRow& scales = SettingRowFor(&ControlSettings::uiScaleChoice);
    const int scale = std::max(scales.IndexOf(g.settings.uiScaleChoice), 0);
    uiScaleButton.label = std::string("UI scale: ") + scales.choices[size_t(scale)].label;
    if (ButtonUpdate(g, uiScaleButton))
        g.settings.uiScaleChoice = scales.choices[(size_t(scale) + 1) % scales.choices.size()].value;
    g.DrawText(g.x0 + 5, g.y0 + 375, "Pictures per second:");
    const SettingRow& rates = SettingRowFor(&ControlSettings::frameRate);
    const int rateBefore = g.settings.frameRate;
    frameRateChoice = std::max(rates.IndexOf(rateBefore), 0);
    for (OptionButton& option : frameRateOptions) OptionButtonUpdate(g, option);
    g.settings.frameRate = rates.choices[size_t(frameRateChoice)].value;
    // From the next frame on: this one is drawn as it began.
    if (g.settings.frameRate != rateBefore) g.frameRateChanged = true;
    OptionButtonUpdate(g, padPointer);
    g.DrawText(g.x0 + 5, g.y0 + 70, "Controls:");
    // Pad buttons are named as pad 0 (the one the actions read) shows them.
    const RawInput::PadKind padKind = g.input().PadKindOf(0);
    for (int i = 0; i < ActionCount; ++i) {
        // The key's and the pad button's names beside the action's button.
        const ScreenRect& button = actionButtons[size_t(i)].rect;
        int x = button.x + 140, y = button.y + 5;
        int key = g.settings.actionKey[size_t(i)];
        if (key >= 0) g.DrawText(x, y, g.names.keyNames[size_t(key)]);
        int pad = g.settings.actionPadButton[size_t(i)];
        if (pad >= 0 && pad < PadButtonSlots) g.DrawText(x + 80, y, g.names.PadButtonName(padKind, pad));
        if (ButtonUpdate(g, actionButtons[size_t(i)])) {
            captureMode = true;
            captureAction = i;
            // A pad's shoulder that clicked the button is no assignment.
            captureStarting = true;
        }
    }
    if (ButtonUpdate(g, done)) {
        g.CenterCursor();
        g.SwitchTo(SceneId::Title);
        return;
    }
    if (captureMode)
        Capture();
    else
        g.DrawCursor();
    g.EndFrame();
}

void SettingsScreen::Capture() {
    GameContext& g = game;
    const ScreenRect box = SettingsLayout::CaptureBox.At(g.x0, g.y0);
    DrawRect2D(*g.graphics.device(), float(box.x), float(box.y), float(box.Right()), float(box.Bottom()),
               0xFFFF0000);
    g.DrawText(box.x + 5, box.y + 5,
               "Press a key or pad button to assign control.\nPress ESCAPE to erase the assignment.");
    // Nothing is taken on the frame the button was clicked: the click may be
    // a pad button pressed that frame (the pointer's left button).
    if (captureStarting) {
        captureStarting = false;
        return;
    }
    // The highest key pressed this frame wins; then the pad's buttons.
    for (int code = 0; code < 256; ++code) {
        if (code == Dik::Escape || !IsPressed(g.input().KeyState(code))) continue;
        g.settings.actionKey[size_t(captureAction)] = code;
        g.PlayClick();
        captureMode = false;
    }
    for (int button = 0; button < PadButtonSlots; ++button) {
        int element = PadElementForButton(button);
        if (element < 0 || !IsPressed(g.input().PadState(0, element))) continue;
        g.settings.actionPadButton[size_t(captureAction)] = button;
        g.PlayClick();
        captureMode = false;
    }
}
