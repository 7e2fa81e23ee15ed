// What the game carries, read back the way the game reads it: every model
// through the mesh loader, every bitmap through the texture decoder, every
// sound through the RIFF reader. Catches a generator and a loader that
// disagree, and a build that forgot to embed something.
#include "platform/Log.h"
#include "platform/ProgramDirectory.h"
#include "platform/WavReader.h"
#include "render/Bitmap.h"
#include "render/Graphics.h"
#include "render/MeshResource.h"
#include "render/NullDevice.h"
#include "render/ResourceTable.h"

#include <cstdio>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

std::string Numbered(const char* prefix, int i) {
    char name[32];
    std::snprintf(name, sizeof name, "%s%02d", prefix, i);
    return name;
}

// Bounding-sphere radius range and triangle budget of each model family.
struct Family {
    std::vector<std::string> names;
    float minRadius, maxRadius;
    size_t maxTriangles;
};

std::vector<Family> Families() {
    std::vector<Family> families;
    Family fighters{{}, 0.80f, 1.05f, 400}, stations{{}, 3.1f, 6.4f, 2000}, twins{{}, 3.1f, 6.4f, 300},
        trails{{"LASER"}, 0.71f, 0.71f, 60}, pieces{{}, 22, 50, 1000};
    for (int i = 1; i <= 12; ++i) {
        fighters.names.push_back(Numbered("FIGHTER_", i));
        stations.names.push_back(Numbered("STATION_", i));
        twins.names.push_back(Numbered("STATION_CD", i));
        trails.names.push_back(Numbered("TRAIL_", i));
    }
    for (int i = 0; i <= 9; ++i) pieces.names.push_back(Numbered("OP_", i));
    families = {fighters, stations, twins, trails, pieces};
    families.push_back({{"STATION_02R", "STATION_07R"}, 3.1f, 3.6f, 2000});
    families.push_back({{"STATION_CD02R", "STATION_CD07R"}, 3.1f, 3.6f, 300});
    families.push_back({{"PANEL_A"}, 2.8f, 2.8f, 60});
    families.push_back({{"PANEL_B"}, 5.1f, 5.1f, 60});
    families.push_back({{"PANEL_C"}, 3.0f, 3.0f, 60});
    families.push_back({{"PANEL_CDA"}, 2.1f, 2.1f, 60});
    families.push_back({{"PANEL_CDB"}, 5.1f, 5.1f, 60});
    families.push_back({{"PANEL_CDC"}, 2.0f, 2.0f, 60});
    Family turrets{{"TURRET_GS"}, 0.22f, 0.72f, 150};
    for (char t = 'A'; t <= 'I'; ++t) {
        turrets.names.push_back(std::string("TURRET_") + t + "M");
        turrets.names.push_back(std::string("TURRET_") + t + "B");
    }
    families.push_back(turrets);
    families.push_back({{"MISSILE"}, 0.28f, 0.28f, 60});
    families.push_back({{"MISSILE_S"}, 0.16f, 0.16f, 60});
    families.push_back({{"PLASMA"}, 0.05f, 0.05f, 60});
    families.push_back({{"BARRAGE"}, 0.12f, 0.12f, 60});
    families.push_back({{"EXPLOTION"}, 0.5f, 0.5f, 240});
    families.push_back({{"VAPOR"}, 0.16f, 0.16f, 60});
    families.push_back({{"SIGHT"}, 1.55f, 1.55f, 120});
    families.push_back({{"ARROW1", "ARROW2"}, 0.8f, 0.8f, 120});
    return families;
}

} // namespace

TEST(EmbeddedAssets, EveryModelLoadsWithinItsSizeAndBudget) {
    const ResourceTable& table = ResourceTable::Embedded();
    if (table.Find("X", "FIGHTER_01").empty()) GTEST_SKIP() << "this build embeds no generated models";
    std::string log;
    SetLogCapture(&log);
    Graphics graphics(std::make_unique<NullDevice>(), 640, 480);
    graphics.resources = &table;
    size_t count = 0;
    for (const Family& family : Families()) {
        for (const std::string& name : family.names) {
            ++count;
            MeshResource mesh;
            log.clear();
            ASSERT_TRUE(mesh.Load(graphics, name, 0, 1)) << name << ": " << log;
            EXPECT_EQ(log.find("failed"), std::string::npos) << name << ": " << log;
            EXPECT_GE(mesh.sphereRadius, family.minRadius * 0.9f) << name;
            EXPECT_LE(mesh.sphereRadius, family.maxRadius * 1.1f) << name;
            EXPECT_LE(mesh.Geometry().TriangleCount(), family.maxTriangles) << name;
        }
    }
    EXPECT_EQ(count, 97u);
    size_t models = 0;
    for (const ResourceTable::Entry& entry : table.Entries()) models += entry.type == "X";
    EXPECT_EQ(models, 97u) << "a model the game does not name is embedded";
    SetLogCapture(nullptr);
}

TEST(EmbeddedAssets, EveryBitmapDecodesAndEverySoundReads) {
    const ResourceTable& table = ResourceTable::Embedded();
    if (table.Find("BITMAP", "FONT").empty()) GTEST_SKIP() << "this build embeds no generated bitmaps";
    std::vector<std::string> names = {"FLAG", "FONT", "LIGHT", "PLANET", "TITLE"};
    for (int i = 1; i <= 12; ++i) names.push_back(Numbered("FLAG", i));
    for (const std::string& name : names) {
        Bitmap bitmap;
        ASSERT_TRUE(DecodeBitmap(table.Find("BITMAP", name), 0, bitmap)) << name;
        EXPECT_GT(bitmap.width, 0) << name;
    }
    Bitmap font;
    ASSERT_TRUE(DecodeBitmap(table.Find("BITMAP", "FONT"), 0xFF000000, font));
    EXPECT_EQ(font.width, 128) << "16 columns of 8-pixel cells";
    // The colour key turns the black background transparent; 'A' keeps white pixels.
    size_t opaque = 0;
    for (int y = 16 * 4; y < 16 * 4 + 10; ++y)
        for (int x = 8; x < 13; ++x) opaque += (font.pixels[size_t(y * font.width + x)] >> 24) != 0;
    EXPECT_GT(opaque, 5u) << "'A' has a glyph";
    EXPECT_EQ(font.pixels[size_t(16 * 4 * font.width + 8 + 7)] >> 24, 0u) << "outside the glyph is transparent";

    Bitmap planet;
    ASSERT_TRUE(DecodeBitmap(table.Find("BITMAP", "PLANET"), 0, planet));
    EXPECT_EQ(planet.width, 512);
    EXPECT_EQ(planet.height, 256);

    std::string data = FindProgramDirectory(nullptr) + "Data/";
    for (const char* sound : {"MouseClick", "MouseOver", "Explotion", "BarrageShot", "LaserHit", "LaserShot",
                              "Missile", "MissileS", "PlasmaHit", "PlasmaShot"}) {
        WavData wav;
        EXPECT_EQ(ReadWav(data + sound + ".wav", wav), WavStatus::Ok) << sound;
        EXPECT_EQ(wav.format.bitsPerSample, 16) << sound;
        EXPECT_GT(wav.FrameCount(), 0) << sound;
    }
}
