// The markers of meter mode 2, read back from the recording device: the
// triangle beside every fighter and the slanted frame around every station,
// sized by their distance and coloured by whose side they are on.
#include "game/fighters/Fighter.h"
#include "game/types/FighterType.h"
#include "game/stations/StationTestKit.h"

#include <gtest/gtest.h>

#include <algorithm>
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
