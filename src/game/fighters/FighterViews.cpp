#include "game/fighters/Fighter.h"

#include "game/world/BattleSetup.h"
#include "game/world/World.h"
#include "render/Device.h"
#include "render/Draw2D.h"
#include "render/Graphics.h"

namespace {

// The chase view: this far behind and above the fighter, along its own axes.
constexpr float ChaseBehind = 10.0f;
constexpr float ChaseAbove = 2.5f;
// The camera target leads the fighter by two frames of flight.
constexpr float CameraLeadFrames = 2.0f;
// The arrows float this far ahead of the camera, up and to either side.
constexpr float ArrowAhead = 10.0f;
constexpr float ArrowAbove = 3.0f;
constexpr float ArrowAside = 4.0f;
// The missile lock holds within about 25.8 degrees of the nose.
constexpr float LockCosine = 0.9f;

constexpr uint32_t OwnMarker = 0xFF00FF00;
constexpr uint32_t AllyMarker = 0xFF00FFFF;
constexpr uint32_t EnemyMarker = 0xFFFF0000;
constexpr float MarkerSize = 1.25f;

} // namespace

bool Fighter::GetCameraTarget(Vector3* out) {
    Vector3 position = body.GetPosition();
    Vector3 forward = body.GetForward();
    if (out) {
        *out = position + forward * (CameraLeadFrames * speedFactor * baseSpeed);
        if (!world.pilotView) return true;
    }
    // The view uses the pose stored on the previous call: one frame late.
    SetCamera(world.graphics, world.lastPosition - world.lastForward * ChaseBehind + world.lastUp * ChaseAbove,
              world.lastPosition, world.lastUp);
    // A wreck no longer moves the view: it stays where the fighter was last alive.
    if (hp >= 1) {
        world.lastForward = forward;
        world.lastUp = body.GetUp();
        world.lastPosition = position;
    }
    return false;
}

void Fighter::DrawSight() {
    if (hp <= 0) return;
    SceneNode& sight = world.sightBody;
    sight.SetPosition(body.GetPosition());
    sight.SetOrientation(body.GetForward(), body.GetUp());
    sight.Draw();
}

void Fighter::DrawManualDisplay() {
    Device* device = world.graphics.device();
    if (device) device->SetRenderState(RenderState::ZFunc, CmpAlways);
    // The lock holds only for the frame in which it is found.
    chosenTarget = nullptr;

    const Matrix& view = world.graphics.view;
    Vector3 eye = ::CameraEye(view);
    Vector3 cameraRight{view.m[0][0], view.m[1][0], view.m[2][0]};
    Vector3 cameraUp{view.m[0][1], view.m[1][1], view.m[2][1]};
    Vector3 cameraForward{view.m[0][2], view.m[1][2], view.m[2][2]};
    Vector3 position = body.GetPosition();
    Vector3 arrowBase = eye + cameraForward * ArrowAhead + cameraUp * ArrowAbove;

    if (Unit* enemy = world.fighters.Nearest(this, position)) {
        world.enemyFighterArrow.SetPosition(arrowBase + cameraRight * ArrowAside);
        world.enemyFighterArrow.LookAt(enemy->GetWorldPosition());
        world.enemyFighterArrow.Draw();
    }
    if (Unit* station = world.stations.Nearest(this, position)) {
        world.enemyStationArrow.SetPosition(arrowBase - cameraRight * ArrowAside);
        world.enemyStationArrow.LookAt(station->GetWorldPosition());
        world.enemyStationArrow.Draw();
    }

    if (Unit* locked = world.NearestAcrossFamilies(this, position, World::FighterFamily)) {
        Vector3 toLocked = locked->GetWorldPosition() - position;
        float distance = Vec3Length(toLocked);
        // The launcher's own range, without the fighter's speed or the AI's margin.
        if (subWeapon.Range() > distance && Vec3Dot(Vec3Normalize(toLocked), body.GetForward()) > LockCosine) {
            chosenTarget = locked;
            locked->DrawTargetBox();
        }
    }
    if (device) device->SetRenderState(RenderState::ZFunc, CmpLessEqual);
}

void Fighter::DrawFighterMarker() const {
    if (world.meterMode < 2) return;
    Graphics& graphics = world.graphics;
    Device* device = graphics.device();
    if (!device || !body.IsOnScreen(graphics)) return;
    uint32_t colour = country == world.setup.playerCountry ? OwnMarker
                      : team == world.setup.playerTeam     ? AllyMarker
                                                           : EnemyMarker;
    Vector3 position = body.GetPosition();
    float distance = Vec3Length(position - world.CameraEye());
    if (distance <= 0.0f) return;
    float s = float(graphics.uiWidth) * pickRadius * MarkerSize / distance;
    Vector3 screen = ProjectToScreen(graphics, position);
    // Pixel coordinates truncated toward zero.
    auto pixel = [](float v) { return float(int(v)); };
    float back = pixel(screen.x - 0.8f * s);
    float tip = pixel(screen.x + 1.2f * s);
    float top = pixel(screen.y - s);
    float bottom = pixel(screen.y + s);
    float middle = pixel(screen.y);
    device->SetDrawTag(DrawTag(MarkerPart), &position);
    DrawLine2D(*device, back, top, back, bottom, colour);
    DrawLine2D(*device, back, top, tip, middle, colour);
    DrawLine2D(*device, back, bottom, tip, middle, colour);
    device->SetDrawTag(0, nullptr);
}
