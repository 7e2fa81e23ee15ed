#include "game/screens/BattleScreen.h"

#include "game/flow/CountrySelection.h"
#include "game/flow/GameContext.h"
#include "game/replay/ReplayFormat.h"
#include "platform/App.h"
#include "platform/Input.h"
#include "platform/KeyCodes.h"
#include "platform/PictureRate.h"
#include "render/Graphics.h"

#include <algorithm>

namespace {
constexpr int MaxWatchSpeed = 8;
// The bitmap font's advance.
constexpr int CharWidth = 5;
bool Pressed(const Input& input, int key) {
    return input.KeyState(key) == Input::Pressed;
}
} // namespace

BattleScreen::BattleScreen(GameContext& game) : game(game) {
    overlay.drawText = [&game](int x, int y, const std::string& text, uint32_t color) {
        game.DrawText(x, y, text, color);
    };
    overlay.countryName = [](int country) {
        const char* name = CountryName(country);
        return std::string(name ? name : "");
    };
}

void BattleScreen::Frame() {
    World* world = game.world();
    if (!world) return;
    if (!game.battlePaceStarted) game.StartBattlePace();
    sunTexture = game.light.texture();
    fps = game.app.Fps();
    overlay.participantCount = game.participantCount;
    if (game.watching)
        WatchFrame(*world);
    else
        LiveFrame(*world);
}

void BattleScreen::SetPaused(bool paused) {
    // Pictures between steps keep the last step unseen: it is shown once,
    // with its notice, and stays.
    if (paused && !game.app.PicturesHeld() && game.app.PictureRateInForce() != PictureRate::Classic)
        game.graphics.PresentPicture(1.0f, 0.0f, 0.0f);
    game.paused = paused;
    game.app.HoldPictures(paused);
}

void BattleScreen::LiveFrame(World& world) {
    Input& input = game.input();
    const int width = game.graphics.uiWidth, height = game.graphics.uiHeight;
    const bool pauseKey = Pressed(input, Dik::Pause) || Pressed(input, Dik::F3);
    if (game.paused) {
        // No step passes and nothing is recorded; the pointer's motion while
        // paused is dropped. The same key, or Escape, goes on.
        if (!pauseKey && !Pressed(input, Dik::Escape)) {
            input.SetMousePosition(std::max(width, 1) / 2, std::max(height, 1) / 2);
            return;
        }
        SetPaused(false);
    } else if (pauseKey) {
        // This step still runs, with the notice; the next ones wait.
        game.paused = true;
    }
    step = ReadBattleInput(input, game.settings, width, height);
    const BattleFrameEnd end = RunBattleFrame(world, step, *this);
    if (end == BattleFrameEnd::Left) return;
    if (game.recording) {
        game.recording->Step({step, end == BattleFrameEnd::Skipped});
        game.recording->AfterStep(world);
    }
    if (game.paused) SetPaused(true);
}

void BattleScreen::WatchFrame(World& world) {
    Input& input = game.input();
    const int width = game.graphics.uiWidth, height = game.graphics.uiHeight;
    // The player's pointer plays no part; it stays in the middle.
    input.SetMousePosition(std::max(width, 1) / 2, std::max(height, 1) / 2);
    if (Pressed(input, Dik::Escape)) {
        PlayClick();
        ToResults();
        return;
    }
    if (Pressed(input, Dik::Equals) || Pressed(input, Dik::Add))
        game.watchSpeed = std::min(game.watchSpeed * 2, MaxWatchSpeed);
    if (Pressed(input, Dik::Minus) || Pressed(input, Dik::Subtract))
        game.watchSpeed = std::max(game.watchSpeed / 2, 1);
    const bool pauseKey = Pressed(input, Dik::Space);
    if (game.paused) {
        if (!pauseKey) return;
        SetPaused(false);
    } else if (pauseKey) {
        game.paused = true;
    }
    const int steps = game.paused ? 1 : game.watchSpeed;
    for (int i = 0; i < steps; ++i) {
        ReplayStep next;
        if (!game.watchSteps || !game.watchSteps->Next(next)) {
            // A replay that ends without Escape (the game was closed): its table.
            ToResults();
            return;
        }
        if (next.skipped) {
            SkipBattleFrame(world, next.input);
            continue;
        }
        if (RunBattleFrame(world, next.input, *this) == BattleFrameEnd::Left) return;
    }
    if (game.paused) SetPaused(true);
}

void BattleScreen::DrawNotices() {
    // Text of nobody's: between steps it stays where it is.
    if (Device* device = game.graphics.device()) device->SetDrawTag(0, nullptr);
    if (game.paused) {
        const std::string notice = "Paused";
        game.DrawText(game.width / 2 - int(notice.size()) * CharWidth / 2, 5, notice);
    }
    if (game.watching) {
        const std::string speed = "Replay x" + std::to_string(game.watchSpeed);
        game.DrawText(game.width - 5 - int(speed.size()) * CharWidth, game.height - 15, speed, 0xFFFFC000);
    }
    game.DrawNotice();
}

void BattleScreen::PlayHover() {
    game.PlayHover();
}
void BattleScreen::PlayClick() {
    game.PlayClick();
}

void BattleScreen::Leave() {
    if (!game.watching) game.FinishRecording(&step);
    ToResults();
}

void BattleScreen::ToResults() {
    SetPaused(false);
    game.StopWatching();
    game.LogBattlePace();
    game.ResetWorld();
    // The result screen's backdrop: the preview models and their camera.
    game.CreateDisplaySet();
    game.SwitchTo(SceneId::Result);
}

void BattleScreen::PlaceListener(const Matrix& view) {
    ::PlaceListener(game.sound, view);
}

void BattleScreen::DrawCursor(int x, int y, bool altMark, bool orderMark) {
    game.cursorX = x;
    game.cursorY = y;
    game.DrawCursor(altMark, orderMark);
}
