#include "game/flow/GameContext.h"

#include "game/fighters/Fighter.h"
#include "game/flow/BattleInput.h"
#include "game/replay/ReplayFiles.h"
#include "game/replay/ReplayFormat.h"
#include "game/types/FighterType.h"
#include "game/stations/Station.h"
#include "game/world/World.h"
#include "platform/App.h"
#include "platform/Input.h"
#include "platform/KeyCodes.h"
#include "platform/Log.h"
#include "platform/PictureRate.h"
#include "platform/Screenshots.h"
#include "platform/Sound.h"
#include "render/Draw2D.h"
#include "render/Graphics.h"
#include "render/SceneNode.h"

#include <algorithm>
#include <chrono>
#include <thread>

GameContext::GameContext(App& app, Graphics& graphics, SoundSystem& sound, ControlSettings& settings)
    : app(app), graphics(graphics), sound(sound), settings(settings), hoverSound(sound, 4),
      clickSound(sound, 4), optionHoverSound(sound, 4), optionClickSound(sound, 4), battleAssets(sound) {
    width = graphics.uiWidth;
    height = graphics.uiHeight;
    x0 = (width - 640) / 2;
    y0 = (height - 480) / 2;
    cursorX = width / 2;
    cursorY = height / 2;
    lightDirection = Vec3Normalize(lightDirection);
}

GameContext::~GameContext() {
    recording.reset();
    watchSteps.reset();
    // The device must not call back into a context that is gone.
    if (capturePending && graphics.device()) graphics.device()->CaptureNextPicture(nullptr);
    worldPtr.reset();
}

Input& GameContext::input() {
    return app.input;
}

void GameContext::SwitchTo(SceneId next) {
    const int pause = TransitionPause(scene);
    scene = next;
    if (pause > 0) Wait(pause);
}

void GameContext::Quit() {
    app.window.RequestClose();
    Wait(TransitionPauseMs);
}

bool GameContext::EscapePressed() { return IsPressed(app.input.KeyState(Dik::Escape)); }

void GameContext::ApplyFrameRate() {
    frameRateChanged = false;
    const int rate = PictureRate::Valid(settings.frameRate);
    const bool between = rate != PictureRate::Classic && graphics.SetStepped(true);
    if (!between) graphics.SetStepped(false);
    app.SetPictureRate(between ? rate : PictureRate::Classic);
}

void GameContext::StartBattlePace() {
    battlePaceStarted = true;
    battleSteps = app.StepsRun();
    battlePictures = app.PicturesShown();
    battleStart = app.Milliseconds();
}

void GameContext::LogBattlePace() {
    const uint64_t steps = app.StepsRun() - battleSteps, pictures = app.PicturesShown() - battlePictures;
    const uint32_t ms = app.Milliseconds() - battleStart;
    const double seconds = ms ? double(ms) / 1000.0 : 1.0;
    Log("戦闘: %llu ステップ, %llu 枚, %u ms (%.2f ステップ/秒, %.1f 枚/秒)\n", (unsigned long long)steps,
        (unsigned long long)pictures, ms, double(steps) / seconds, double(pictures) / seconds);
}

void GameContext::Wait(int milliseconds) {
    ++pauses;
    if (!instantTransitions) std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

namespace {
// Interface sounds play a little above the camera, at full volume.
void PlayAtCamera(const Graphics& graphics, SoundPool& pool) {
    Vector3 at = CameraEye(graphics.view) + Vector3{0, 10, 0};
    pool.Play(at.x, at.y, at.z, 1);
}
} // namespace

void GameContext::PlayHover() {
    PlayAtCamera(graphics, hoverSound);
}
void GameContext::PlayClick() {
    PlayAtCamera(graphics, clickSound);
}
void GameContext::PlayOptionHover() {
    PlayAtCamera(graphics, optionHoverSound);
}
void GameContext::PlayOptionClick() {
    PlayAtCamera(graphics, optionClickSound);
}

void PlaceListener(SoundSystem& sound, const Matrix& view) {
    Vector3 eye = CameraEye(view);
    // The view's second and third columns: the camera's up and forward axes.
    Vector3 up{view.m[0][1], view.m[1][1], view.m[2][1]};
    Vector3 forward{view.m[0][2], view.m[1][2], view.m[2][2]};
    sound.SetListenerPosition(eye.x, eye.y, eye.z);
    sound.SetListenerOrientation(forward.x, forward.y, forward.z, up.x, up.y, up.z);
}

void GameContext::DrawText(int x, int y, const std::string& text, uint32_t color) {
    if (!graphics.device() || !font.texture()) return;
    textSprite.positionX = float(x);
    textSprite.positionY = float(y);
    textSprite.color = color;
    textSprite.DrawText(*graphics.device(), text);
}

void GameContext::DrawCursor(bool altMark, bool orderMark) {
    Device* device = graphics.device();
    if (!device) return;
    float x = float(cursorX), y = float(cursorY);
    // Between steps the pointer follows the mouse: its anchor is where it is.
    const Vector3 at{x, y, 0};
    device->SetDrawTag(PointerTag, &at);
    DrawLine2D(*device, x + 10, y + 19, x + 1, y, 0xFF806000, 0xFFFFC000);
    DrawLine2D(*device, x + 19, y + 10, x, y + 1, 0xFF806000, 0xFFFFC000);
    DrawLine2D(*device, x + 9, y + 19, x, y, 0xFFFFC000, 0xFFFFFFFF);
    DrawLine2D(*device, x + 19, y + 9, x, y, 0xFFFFC000, 0xFFFFFFFF);
    if (altMark) {
        FillRect2D(*device, x + 18, y + 1, x + 23, y + 6, 0xFF004080);
        FillRect2D(*device, x + 20, y + 3, x + 25, y + 8, 0xFF0080FF);
    }
    if (orderMark) {
        FillRect2D(*device, x + 1, y + 18, x + 6, y + 23, 0xFF804000);
        FillRect2D(*device, x + 3, y + 20, x + 8, y + 25, 0xFFFF8000);
    }
    device->SetDrawTag(0, nullptr);
}

void GameContext::UpdateCursor() {
    Input& in = app.input;
    // The platform's pointer moves with the mouse; the game keeps it at the
    // centre and moves its own cursor by the difference.
    cursorX = std::clamp(cursorX + in.MouseX() - width / 2, 0, width - 1);
    cursorY = std::clamp(cursorY + in.MouseY() - height / 2, 0, height - 1);
    in.SetMousePosition(width / 2, height / 2);
}

void GameContext::CenterCursor() {
    cursorX = width / 2;
    cursorY = height / 2;
}

bool GameContext::MenuFrameStart() {
    UpdateCursor();
    click = IsPressed(app.input.MouseButtonState(0));
    if (!graphics.BeginFrame(0xFF000000)) return false;
    PlaceListener(sound, graphics.view);
    graphics.SetDirectionalLight(lightDirection.x, lightDirection.y, lightDirection.z, 1, 1, 1, 1);
    Device& device = *graphics.device();
    device.SetRenderState(RenderState::ZFunc, CmpLessEqual);
    device.SetRenderState(RenderState::Lighting, 1);
    if (planet.texture()) {
        device.BeginSprites();
        planetSprite.Draw(device);
        device.EndSprites();
    }
    return true;
}

void GameContext::EndFrame() {
    DrawNotice();
    graphics.EndFrame();
}

void GameContext::ShowNotice(const std::string& text, bool failed, const std::string& logDetail) {
    notice = text;
    noticeColor = failed ? 0xFFFF8080 : 0xFFFFFFFF;
    noticeUntil = app.Milliseconds() + NoticeMs;
    Log("%s%s\n", text.c_str(), logDetail.c_str());
}

void GameContext::UpdateScreenshots() {
    if (screenshots)
        for (const ScreenshotResult& result : screenshots->TakeResults())
            ShowNotice(result.Notice(), !result.saved,
                       result.saved ? " (" + app.paths.screenshots + ")" : "");
    if (app.input.KeyState(Dik::F12) != Input::Pressed && app.input.KeyState(Dik::SysRq) != Input::Pressed)
        return;
    if (capturePending) return;
    if (!screenshots) screenshots = std::make_unique<ScreenshotWriter>(app.paths.screenshots);
    Device* device = graphics.device();
    ScreenshotWriter* writer = screenshots.get();
    auto take = [this, writer](CapturedPicture&& picture) {
        capturePending = false;
        if (!writer->Save(picture.width, picture.height, std::move(picture.argbBottomUp)))
            ShowNotice("Screenshot failed: the earlier ones are still being written", true);
    };
    capturePending = device && device->CaptureNextPicture(take);
    if (!capturePending) ShowNotice("Screenshot failed: this display's pictures can't be read back", true);
}

void GameContext::DrawNotice() {
    if (notice.empty() || capturePending) return;
    if (int32_t(noticeUntil - app.Milliseconds()) <= 0) {
        notice.clear();
        return;
    }
    // Text of nobody's: between steps it stays where it is.
    if (Device* device = graphics.device()) device->SetDrawTag(0, nullptr);
    DrawText(NoticeX, NoticeY, notice, noticeColor);
}

World& GameContext::NewWorld() {
    return NewWorld(uint32_t(app.random.Rand()));
}

World& GameContext::NewWorld(uint32_t seed) {
    worldPtr.reset();
    worldSeed = seed;
    worldPtr = std::make_unique<World>(graphics, battleAssets, stats, setup, seed);
    families.Install(*worldPtr);
    // The pad the actions are read from shakes when the flown fighter is
    // hit: a short pulse, or a long one when it is destroyed.
    worldPtr->onFlownUnitHit = [this](bool destroyed) {
        if (destroyed)
            app.inputDevices.Rumble(0, 0xFFFF, 0xFFFF, 700);
        else
            app.inputDevices.Rumble(0, 0x6000, 0xA000, 150);
    };
    worldPtr->ResetWorld();
    return *worldPtr;
}

void GameContext::ResetWorld() {
    CenterCursor();
    if (worldPtr) worldPtr->ResetWorld();
}

void GameContext::CreateDisplaySet() {
    World& world = worldPtr ? *worldPtr : NewWorld();
    world.ResetWorld();
    world.meterMode = 0;
    float s = float(width) * 0.0015625f;
    SetCamera(graphics, {5, 20 * s + 10, -40 * s}, {5, 10, 0}, {0, 1, 0});
    displayStations.fill(nullptr);
    displayFighters.fill(nullptr);
    for (int k = 0; k < CountryCount; ++k)
        DeployStation(world, families.stations, k, 0, k, &displayStations[size_t(k)], {}, {0, 0, 1},
                      {0, 1, 0});
    const auto& types = FighterTypes();
    for (int k = 0; k < CountryCount && k < int(types.size()); ++k)
        world.fighters.Add(std::make_unique<Fighter>(world, types[size_t(k)], 0, &displayFighters[size_t(k)],
                                                     Vector3{}, Vector3{0, 0, 1}, Vector3{0, 1, 0}));
}

void GameContext::StartRecording() {
    recording.reset();
    if (!recordBattles) return;
    recording = std::make_unique<ReplayWriter>(GameBuildId(), graphics.displayWidth, graphics.displayHeight,
                                               graphics.uiScale, worldSeed, selection);
}

void GameContext::FinishRecording(const BattleInput* lastStep) {
    if (!recording || !worldPtr) return;
    std::unique_ptr<ReplayWriter> writer = std::move(recording);
    if (lastStep) {
        writer->Step({*lastStep, false});
        writer->AfterStep(*worldPtr);
    }
    std::vector<uint8_t> bytes = writer->Finish(ResultRows(selection, stats));
    auto replay = std::make_shared<Replay>();
    std::string error;
    if (ParseReplay(bytes.data(), bytes.size(), *replay, error))
        lastReplay = std::move(replay);
    else
        Log("リプレイ: 記録が読めません: %s\n", error.c_str());
    const std::string path = SaveReplay(app.paths.replays, bytes, replay::KeptFiles, error);
    if (path.empty())
        Log("リプレイ: 保存できません: %s\n", error.c_str());
    else
        Log("リプレイ: %s (%u ステップ, %zu バイト)\n", path.c_str(), writer->Steps(), bytes.size());
}

bool GameContext::WatchReplay(std::shared_ptr<const Replay> replay) {
    if (!replay) return false;
    Log("リプレイ: 再生します (%dx%d, 種 %u, %u ステップ)\n", replay->width, replay->height, replay->seed,
        replay->steps);
    // The back buffer keeps its size while the game runs: "--replay" opens
    // the game at the replay's own size; one that could not (a size the game
    // cannot draw at) plays at this one, and may go its own way.
    if (replay->width != graphics.displayWidth || replay->height != graphics.displayHeight ||
        replay->uiScale != graphics.uiScale)
        Log("リプレイ: %dx%d (UI %d 倍) で記録され, %dx%d (UI %d 倍) で再生します\n", replay->width,
            replay->height, replay->uiScale, graphics.displayWidth, graphics.displayHeight, graphics.uiScale);
    recording.reset();
    selection = replay->selection;
    selection.FillSetup(setup);
    World& world = NewWorld(replay->seed);
    stats.Clear();
    participantCount = BeginBattle(world, selection);
    lastReplay = replay;
    watching = std::move(replay);
    watchSteps = std::make_unique<ReplaySteps>(*watching);
    watchSpeed = 1;
    paused = false;
    battlePaceStarted = false;
    CenterCursor();
    SwitchTo(SceneId::Battle);
    return true;
}

bool GameContext::WatchReplayFile(const std::string& path) {
    auto replay = std::make_shared<Replay>();
    std::string error;
    if (!LoadReplay(path, *replay, error)) {
        Log("リプレイ: %s\n", error.c_str());
        return false;
    }
    return WatchReplay(std::move(replay));
}

void GameContext::StopWatching() {
    watchSteps.reset();
    watching.reset();
    paused = false;
}
