#include "game/flow/BattleFrame.h"

#include "game/fighters/Fighter.h"
#include "game/flow/BattleInput.h"
#include "game/flow/Controls.h"
#include "game/world/Country.h"
#include "game/world/World.h"
#include "platform/Input.h"
#include "render/Draw2D.h"
#include "render/Graphics.h"
#include "render/SceneNode.h"

#include <algorithm>

static_assert(ActionCount <= World::MaxActions);

namespace {
constexpr float SunDistance = 100.0f;
constexpr float SunSize = 5.0f;

// The view matrix's third column: where the camera looks, in world space.
Vector3 ViewDirection(const Matrix& view) {
    return {view.m[0][2], view.m[1][2], view.m[2][2]};
}

void DrawSun(World& world, const BattleHost& host) {
    Graphics& graphics = world.graphics;
    Device* device = graphics.device();
    if (!device) return;
    Material material;
    material.diffuse = {1, 1, 1, 1};
    material.ambient = {0.5f, 0.5f, 0.5f, 1};
    device->SetMaterial(material);
    device->SetRenderState(RenderState::Lighting, 0);
    device->SetTexture(host.sunTexture);
    Vector3 eye = CameraEye(graphics.view);
    device->SetDrawTag(SunTag, nullptr);
    DrawSunAndFlare(graphics, world.random, eye - SunDistance * world.lightDirection, eye,
                    ViewDirection(graphics.view), SunSize);
    device->SetDrawTag(0, nullptr);
    device->SetTexture(nullptr);
    device->SetRenderState(RenderState::Lighting, 1);
}

// The player's part of the frame while nobody is flown. Returns the team of
// the unit under the cursor (-1 for none), read before anything can delete it.
int OrbitModeInput(World& world, const BattleInput& input, BattleHost& host) {
    auto action = [&](int a) { return input.Action(a); };
    const int left = input.left;
    const int right = input.right;
    const Graphics& graphics = world.graphics;

    if (world.cursorX != world.rightPressX || world.cursorY != world.rightPressY)
        world.rightClickArmed = false;
    Unit* picked = world.PickUnderCursor(world.cursorX, world.cursorY);

    if (IsPressed(left)) {
        if (input.alt) {
            if (picked) {
                world.pilotView = false;
                world.camera.SetFocus(picked);
                host.PlayHover();
            }
        } else {
            world.selectedUnit = picked;
            if (picked) host.PlayHover();
        }
    }
    if (IsReleased(right)) {
        if (world.rightClickArmed && world.selectedUnit && picked && world.selectedUnit->Order(picked))
            host.PlayClick();
    } else if (IsPressed(right)) {
        world.rightClickArmed = true;
        world.rightPressX = world.cursorX;
        world.rightPressY = world.cursorY;
    }
    // Picking happened before any order; an order never deletes a unit, so
    // the team is still readable here.
    const int pickedTeam = picked ? picked->team : -1;

    if (IsPressed(action(ResetCamera))) {
        world.camera.Reset();
        world.camera.SetFocus(nullptr);
        host.PlayClick();
    }
    if (IsPressed(action(ManualControl)) && world.selectedUnit && world.selectedUnit->TakeManualControl())
        host.PlayClick();
    if (IsPressed(action(FocusOnUnit)) && world.selectedUnit) {
        world.pilotView = false;
        world.camera.SetFocus(world.selectedUnit);
        host.PlayClick();
    }
    if (IsPressed(action(MyStation)) && world.playerStation) {
        world.pilotView = false;
        world.selectedUnit = world.playerStation;
        world.camera.SetFocus(world.playerStation);
        host.PlayClick();
    }
    if (IsPressed(action(MyFighter)) && world.playerCountryRecord) {
        if (Unit* fighter = world.playerCountryRecord->NextLivingFighter()) {
            world.pilotView = false;
            world.selectedUnit = fighter;
            host.PlayClick();
        }
    }
    if (IsPressed(action(StopOrder)) && world.selectedUnit && world.selectedUnit->Order(nullptr))
        host.PlayClick();

    world.camera.Rotate(input.dx, input.dy, graphics.uiWidth, graphics.uiHeight, left, right);
    world.camera.Zoom(input.dy, input.wheel, left, right);
    if (IsPressed(action(PilotView)) && world.camera.GetFocus()) {
        world.pilotView = !world.pilotView;
        host.PlayClick();
    }
    world.camera.Apply();
    return pickedTeam;
}

// The player's part of the frame while a fighter is flown.
void ManualModeInput(World& world, const BattleInput& input, BattleHost& host) {
    Unit* flown = world.FlownUnit();
    if (flown) {
        flown->GetCameraTarget(nullptr);
        if (auto* fighter = dynamic_cast<Fighter*>(flown)) fighter->DrawSight();
    }
    if (!IsPressed(input.Action(ManualControl))) return;
    if (flown) {
        world.pilotView = true;
        world.selectedUnit = flown;
        world.camera.SetFocus(flown);
    } else {
        world.camera.Reset();
    }
    world.ReleaseManualControl();
    host.PlayClick();
}
} // namespace

void SkipBattleFrame(World& world, const BattleInput& input) {
    const int width = std::max(world.graphics.uiWidth, 1);
    const int height = std::max(world.graphics.uiHeight, 1);
    world.cursorX = std::clamp(world.cursorX + input.dx, 0, width - 1);
    world.cursorY = std::clamp(world.cursorY + input.dy, 0, height - 1);
    world.previousSelected = world.selectedUnit;
}

BattleFrameEnd RunBattleFrame(World& world, const BattleInput& input, BattleHost& host) {
    Graphics& graphics = world.graphics;
    const int width = std::max(graphics.uiWidth, 1);
    const int height = std::max(graphics.uiHeight, 1);

    for (int a = 0; a < ActionCount; ++a) world.playerActions[size_t(a)] = uint8_t(input.Action(a));
    SkipBattleFrame(world, input);
    if (!graphics.BeginFrame(0xFF000000)) return BattleFrameEnd::Skipped;
    // Nothing has moved the camera since the frame began: the listener
    // stands at this frame's eye, turned with the view.
    host.PlaceListener(graphics.view);
    graphics.SetDirectionalLight(world.lightDirection.x, world.lightDirection.y, world.lightDirection.z, 1, 1,
                                 1, 1);
    if (Device* device = graphics.device()) {
        device->SetRenderState(RenderState::ZFunc, CmpLessEqual);
        device->SetRenderState(RenderState::Lighting, 1);
    }

    world.countries.UpdateAll();

    if (IsPressed(input.escape)) {
        host.PlayClick();
        host.Leave();
        return BattleFrameEnd::Left;
    }

    auto action = [&](int a) { return input.Action(a); };
    if (IsPressed(action(ToggleOverlay))) {
        world.overlayOn = !world.overlayOn;
        host.PlayClick();
    }
    if (IsPressed(action(ToggleMeter))) {
        world.meterMode = (world.meterMode + 1 + 3) % 3;
        host.PlayClick();
    }

    int pickedTeam = -1;
    if (world.NobodyFlown())
        pickedTeam = OrbitModeInput(world, input, host);
    else
        ManualModeInput(world, input, host);

    world.UpdateAndDrawAll();
    DrawSun(world, host);

    OverlayContext& overlay = host.overlay;
    overlay.width = width;
    overlay.height = height;
    overlay.cursorX = world.cursorX;
    overlay.cursorY = world.cursorY;
    overlay.leftPressed = IsPressed(input.left);
    if (world.overlayOn) {
        DrawCountryOverlay(world, overlay);
        if (world.playerCountryRecord) DrawFighterList(world, overlay, *world.playerCountryRecord);
    }

    if (world.NobodyFlown()) {
        if (world.overlayOn && world.selectedUnit) DrawUnitOverlay(world, overlay, *world.selectedUnit);
        const bool alt = input.alt;
        const Country* player = world.playerCountryRecord;
        bool order = player && world.selectedUnit && world.selectedUnit->country == player->countryIndex &&
                     pickedTeam >= 0 && pickedTeam != player->teamId;
        host.DrawCursor(world.cursorX, world.cursorY, alt, order);
    } else if (auto* fighter = dynamic_cast<Fighter*>(world.FlownUnit())) {
        fighter->DrawManualDisplay();
    }

    DrawFrameRate(overlay, host.fps);
    host.DrawNotices();
    graphics.EndFrame();
    return BattleFrameEnd::Presented;
}
