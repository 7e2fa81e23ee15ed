// The markers of meter mode 2, read back from the recording device: the
// triangle beside every fighter and the slanted frame around every station,
// sized by their distance and coloured by whose side they are on.
#include "game/fighters/Fighter.h"
#include "game/types/FighterType.h"
#include "game/stations/StationTestKit.h"
#include "render/DrawList.h"
#include "support/WorldTestKit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <tuple>
#include <vector>

namespace {

constexpr uint32_t Green = 0xFF00FF00, Cyan = 0xFF00FFFF, Red = 0xFFFF0000;

// A line as drawn, its ends in either order, with its colour.
using Line = std::tuple<int, int, int, int, uint32_t>;

Line MakeLine(float x1, float y1, float x2, float y2, uint32_t color) {
    int a[2] = {int(x1), int(y1)}, b[2] = {int(x2), int(y2)};
    if (std::tie(b[0], b[1]) < std::tie(a[0], a[1])) std::swap(a, b);
    return {a[0], a[1], b[0], b[1], color};
}

std::vector<Line> Sorted(std::vector<Line> lines) {
    std::sort(lines.begin(), lines.end());
    return lines;
}

// The single lines drawn since the last ClearDraws.
std::vector<Line> DrawnLines(const WorldTestKit& kit) {
    std::vector<Line> lines;
    for (const auto& draw : kit.Primitives())
        if (draw.primitive == PrimitiveType::LineList)
            lines.push_back(MakeLine(draw.Position(0).x, draw.Position(0).y, draw.Position(1).x,
                                     draw.Position(1).y, draw.Color(0)));
    return Sorted(lines);
}

// Who the player is, who owns the marked unit, and the colour that gives.
struct Side {
    const char* what;
    int playerCountry, playerTeam;
    int country, team;
    uint32_t color;
};
const Side Sides[] = {
    {"the player's country", 0, 1, 0, 1, Green},
    {"another country of the player's team", 0, 1, 2, 1, Cyan},
    {"another team", 0, 1, 3, 2, Red},
    {"watching from an empty slot of team 2", -1, 2, 3, 2, Cyan},
};

} // namespace

// Meter mode 1 draws no marker; mode 2 draws them, coloured by side.
TEST(Markers, FighterTriangleAndStationFrameInMeterModeTwo) {
    StationTestKit kit;
    kit.assets->LoadFighterMeshes(*kit.graphics);
    World& world = *kit.world;
    const float W = 640;
    // What a marker draws in meter modes 1 and 2, from its unit's centre on the screen.
    auto marker = [&](Unit& unit, const std::function<void()>& draw, const char* what) {
        world.meterMode = 1;
        kit.ClearDraws();
        draw();
        EXPECT_TRUE(DrawnLines(kit).empty()) << "meter mode 1: " << what;
        world.meterMode = 2;
        kit.ClearDraws();
        draw();
        return ProjectToScreen(*kit.graphics, unit.GetWorldPosition());
    };
    for (const Side& side : Sides) {
        kit.setup.playerCountry = side.playerCountry;
        kit.setup.playerTeam = side.playerTeam;

        // Close enough for a triangle of some 60 pixels, so that every factor shows.
        kit.LookAt({2, 1, -8}, {0, 0, 0});
        auto* fighter = static_cast<Fighter*>(world.fighters.Add(
            std::make_unique<Fighter>(world, FighterTypes()[size_t(side.country)], side.team, nullptr,
                                      Vector3{1, -0.5f, 0}, Vector3{0, 0, 1}, Vector3{0, 1, 0})));
        ASSERT_NE(fighter, nullptr);
        Vector3 p = marker(
            *fighter, [&] { fighter->DrawFighterMarker(); }, side.what);
        float s =
            W * fighter->pickRadius * 1.25f / Vec3Length(fighter->GetWorldPosition() - world.CameraEye());
        // A triangle pointing right: its back edge, then the two sides to the tip.
        EXPECT_EQ(DrawnLines(kit), Sorted({
                                       MakeLine(p.x - 0.8f * s, p.y - s, p.x - 0.8f * s, p.y + s, side.color),
                                       MakeLine(p.x - 0.8f * s, p.y - s, p.x + 1.2f * s, p.y, side.color),
                                       MakeLine(p.x - 0.8f * s, p.y + s, p.x + 1.2f * s, p.y, side.color),
                                   }))
            << side.what;

        kit.LookAt({0, 20, -100}, {0, 0, 0});
        Station* station = DeployStation(world, kit.models, side.country, side.team, side.country, nullptr,
                                         {12, -6, 5}, {0, 0, 1}, {0, 1, 0});
        ASSERT_NE(station, nullptr);
        p = marker(
            *station, [&] { station->Update(); }, side.what);
        s = 0.75f * W * station->pickRadius / Vec3Length(station->GetWorldPosition() - world.CameraEye());
        // Corners: top left, top right, bottom right, bottom left; the top is shifted right.
        const float corners[4][2] = {{p.x - 0.75f * s, p.y - s},
                                     {p.x + 1.25f * s, p.y - s},
                                     {p.x + 0.75f * s, p.y + s},
                                     {p.x - 1.25f * s, p.y + s}};
        std::vector<Line> expected;
        for (int i = 0; i < 4; ++i)
            expected.push_back(MakeLine(corners[i][0], corners[i][1], corners[(i + 1) % 4][0],
                                        corners[(i + 1) % 4][1], side.color));
        EXPECT_EQ(DrawnLines(kit), Sorted(expected)) << side.what;
    }
}

namespace {
// A list device drawing pictures between steps; the test keeps each picture's list.
class PictureDevice : public DrawListDevice {
public:
    PictureDevice() { SetStepped(true); }
    std::vector<DrawList> pictures;

protected:
    void RenderList(const DrawList& list, DrawStats&) override { pictures.push_back(list); }
    void ShowPicture() override {}
};

// The first screen-space draw of a picture.
const DrawRecord* FirstPrimitive(const DrawList& picture) {
    for (const DrawRecord& record : picture.records)
        if (record.kind == DrawRecord::Kind::Primitive) return &record;
    return nullptr;
}

// Its first vertex.
Vector3 FirstCorner(const DrawList& picture) {
    const DrawRecord* record = FirstPrimitive(picture);
    if (!record) return {-1, -1, -1};
    float xy[2];
    std::memcpy(xy, picture.vertexBytes.data() + record->item, sizeof xy);
    return {xy[0], xy[1], 0};
}
} // namespace

// Between two steps a unit's meter stays on the unit: it is drawn where the
// unit's halfway position lands under the picture's halfway camera.
TEST(Markers, BetweenStepsAMeterStaysOnItsUnit) {
    auto owned = std::make_unique<PictureDevice>();
    PictureDevice& device = *owned;
    WorldTestKit kit(1, std::move(owned));
    TestUnit* unit = kit.Make(UnitFamily::Fighter, 1, 0, 100, {-6, 1, 0});
    ASSERT_NE(unit, nullptr);
    const Vector3 from{-6, 1, 0}, to{4, -2, 3};
    // The unit moves and the camera swings round between the two steps.
    kit.LookAt({0, 2, -30}, {0, 0, 0});
    unit->DrawMeter();
    kit.graphics->EndFrame();
    unit->body.SetPosition(to);
    kit.LookAt({-12, 6, -26}, {0, 0, 0});
    unit->DrawMeter();
    kit.graphics->EndFrame();

    device.PresentBetween(1.0f, 640, 480, 0, 0);
    device.PresentBetween(0.5f, 640, 480, 0, 0);
    ASSERT_EQ(device.pictures.size(), 2u);
    const Vector3 atStep = FirstCorner(device.pictures[0]), halfway = FirstCorner(device.pictures[1]);
    // Where the unit is seen at the step and halfway, through each picture's camera.
    auto seen = [&](const DrawList& picture, const Vector3& position) {
        kit.graphics->view = picture.cameras[FirstPrimitive(picture)->camera].view;
        kit.graphics->BeginFrame(0xFF000000);
        return ProjectToScreen(*kit.graphics, position);
    };
    const Vector3 unitAtStep = seen(device.pictures[0], to);
    const Vector3 unitHalfway = seen(device.pictures[1], from + (to - from) * 0.5f);
    EXPECT_NEAR(halfway.x - atStep.x, unitHalfway.x - unitAtStep.x, 1.0f);
    EXPECT_NEAR(halfway.y - atStep.y, unitHalfway.y - unitAtStep.y, 1.0f);
    // The unit moved across the screen meanwhile, so the test can tell.
    EXPECT_GT(std::abs(unitHalfway.x - unitAtStep.x), 20.0f);
}
