#include "game/world/Unit.h"

#include "game/world/World.h"
#include "platform/Log.h"
#include "render/Draw2D.h"
#include "render/Graphics.h"
#include "render/SceneNode.h"

#include <algorithm>

namespace {

constexpr uint32_t MeterGreen = 0x8000FF00;
constexpr uint32_t MeterRed = 0x80FF0000;
constexpr uint32_t MeterFrame = 0xC0FFFFFF;
constexpr uint32_t FocusDark = 0xFF004080;
constexpr uint32_t FocusLight = 0xFF0080FF;
constexpr uint32_t BarGreen = 0x4000FF00;
constexpr uint32_t BarRed = 0x40FF0000;
constexpr uint32_t TargetYellow = 0xFFFFFF00;

// A friendly kill costs this many times the victim's score value.
constexpr int FriendlyKillPenalty = 5;

} // namespace

Unit::Unit(World& world, int team, int country, int scoreValue, Unit** ownerSlot, int hitPoints, SceneNode* node,
           HitTest hitTest, float pickRadius)
    : world(world), serial(world.NewSerial()), team(team), country(country), hp(hitPoints), maxHp(hitPoints),
      scoreValue(scoreValue), pickRadius(pickRadius), node(node), ownerSlot(ownerSlot) {
    if (hitPoints < 1) {
        Log("ユニット: 耐久力 %d は使えません. 1 にします.\n", hitPoints);
        hp = maxHp = 1;
    }
    world.hitTable.Add(this, node, hitTest);
}

Unit::~Unit() { world.Forget(this); }

Vector3 Unit::GetAimPoint(const Vector3&, float) const { return GetWorldPosition(); }

bool Unit::GetCameraTarget(Vector3* out) {
    if (out) *out = GetWorldPosition();
    return true;
}

Vector3 Unit::GetWorldPosition() const { return node ? node->GetPosition() : Vector3{}; }

void Unit::Damage(int amount, int attackerCountry, int attackerTeam) {
    if (hp < 1 || amount < 1) return;
    hp -= amount;
    if (world.onFlownUnitHit && !world.NobodyFlown() && world.FlownUnit() == this) world.onFlownUnitHit(hp <= 0);
    if (hp > 0) return;
    hp = 0;
    world.hitTable.Remove(this);
    if (ownerSlot) *ownerSlot = nullptr;
    // Its owner no longer refers to it; nothing may write through this again.
    ownerSlot = nullptr;
    if (world.selectedUnit == this) world.selectedUnit = nullptr;
    if (world.onUnitDestroyed) {
        int points = attackerCountry < 0 ? 0 : attackerTeam == team ? -FriendlyKillPenalty * scoreValue : scoreValue;
        world.onUnitDestroyed(*this, attackerCountry < 0 ? -1 : attackerCountry, attackerCountry < 0 ? -1 : attackerTeam,
                              points);
    }
    if (attackerCountry >= 0) {
        bool friendly = attackerTeam == team;
        world.countries.AddScore(friendly ? -FriendlyKillPenalty * scoreValue : scoreValue, attackerCountry);
        // Nobody is credited with destroying a teammate.
        if (friendly) {
            OnDestroyed(-1);
            return;
        }
    }
    OnDestroyed(attackerCountry);
}

void Unit::Heal(int amount) {
    if (hp <= 0 || amount <= 0) return;
    hp = int(std::min<int64_t>(maxHp, int64_t(hp) + amount));
}

void Unit::Collide(Unit& other) {
    int fromOther = other.maxHp / 2;
    int fromThis = maxHp / 2;
    Damage(fromOther, other.country, other.team);
    other.Damage(fromThis, country, team);
}

void Unit::SelfDestruct() { Damage(hp, -1, -1); }

void Unit::DrawMeter() const {
    if (!node) return;
    Graphics& graphics = world.graphics;
    Device* device = graphics.device();
    if (!device) return;
    bool shown = world.meterMode != 0 || world.selectedUnit == this || world.FlownUnit() == this;
    if (!shown || !node->IsOnScreen(graphics)) return;

    Vector3 position = GetWorldPosition();
    float distance = Vec3Length(position - world.CameraEye());
    if (distance <= 0.0f) return;
    float width = float(graphics.uiWidth);
    float size = std::max(2.0f * width * pickRadius / distance, 4.0f);
    Vector3 screen = ProjectToScreen(graphics, position);
    float thickness = float(std::max(int(size * 0.04f), 2));
    float top = screen.y - 0.6f * size;
    float left = screen.x - size / 2;
    float right = screen.x + size / 2;
    float split = screen.x + (float(hp) / float(maxHp) - 0.5f) * size;

    // Between steps the meter moves with the unit.
    device->SetDrawTag(DrawTag(ScreenPart), &position);
    if (hp > 0) FillRect2D(*device, left, top, split, top + thickness, MeterGreen);
    if (hp < maxHp) FillRect2D(*device, std::max(split, left), top, right, top + thickness, MeterRed);
    if (world.selectedUnit == this) DrawRect2D(*device, left, top, right, top + thickness, MeterFrame);
    if (world.camera.GetFocus() == this) {
        // Two small squares just right of the bar, the second a little lower right.
        FillRect2D(*device, right + 2, top - 2, right + 7, top + 3, FocusDark);
        FillRect2D(*device, right + 4, top, right + 9, top + 5, FocusLight);
    }
    device->SetDrawTag(0, nullptr);
}

void Unit::DrawHpBar(int x, int y, int width, int height) const {
    Device* device = world.graphics.device();
    if (!device) return;
    int filled = hp > 0 ? int(int64_t(hp) * width / maxHp) : 0;
    if (hp > 0) FillRect2D(*device, float(x), float(y), float(x + filled), float(y + height), BarGreen);
    if (hp < maxHp) FillRect2D(*device, float(x + filled), float(y), float(x + width), float(y + height), BarRed);
}

void Unit::DrawTargetBox() const {
    if (!node) return;
    Graphics& graphics = world.graphics;
    Device* device = graphics.device();
    if (!device || !node->IsOnScreen(graphics)) return;
    Vector3 position = GetWorldPosition();
    float distance = Vec3Length(position - world.CameraEye());
    if (distance <= 0.0f) return;
    float half = float(graphics.uiWidth) * pickRadius / distance;
    Vector3 screen = ProjectToScreen(graphics, position);
    device->SetDrawTag(DrawTag(ScreenPart), &position);
    DrawRect2D(*device, screen.x - half, screen.y - half, screen.x + half, screen.y + half, TargetYellow);
    device->SetDrawTag(0, nullptr);
}
