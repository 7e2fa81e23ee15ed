#include "assetgen/AssetSet.h"
#include "assetgen/Bitmaps.h"
#include "assetgen/Flags.h"
#include "assetgen/Font.h"
#include "assetgen/ModelKit.h"
#include "assetgen/Models.h"
#include "assetgen/Shapes.h"
#include "assetgen/Sounds.h"
#include "assetgen/XWriter.h"
#include "game/types/FighterType.h"
#include "game/types/StationTypes.h"
#include "support/TempDir.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <map>
#include <set>
#include <tuple>

#include <gtest/gtest.h>

// The game decodes bitmaps with stb_image; the test does the same, privately.
#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_BMP
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#endif
#include <stb/stb_image.h>
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

using namespace assetgen;

namespace {

// Everything is generated once for the whole suite (it takes a second or two
// under the sanitizers); the determinism test generates a second copy.
struct Generated {
    std::vector<OutputFile> files;
    std::map<std::string, Mesh> models;
    std::map<std::string, BitmapAsset> bitmaps;
    std::vector<Sound> sounds;
};

const Generated& Assets() {
    static const Generated generated = [] {
        Generated g;
        AssetSet all = BuildAll();
        g.files = Encode(all);
        for (ModelAsset& m : all.models) g.models.emplace(m.name, std::move(m.mesh));
        for (BitmapAsset& b : all.bitmaps) g.bitmaps.emplace(b.name, std::move(b));
        g.sounds = std::move(all.sounds);
        return g;
    }();
    return generated;
}

const Mesh& Model(const std::string& name) {
    auto it = Assets().models.find(name);
    if (it == Assets().models.end()) throw std::runtime_error("no model " + name);
    return it->second;
}

std::string Two(int n) {
    return std::string(1, char('0' + n / 10)) + char('0' + n % 10);
}

std::vector<std::string> ExpectedModelNames() {
    std::vector<std::string> names;
    for (int i = 1; i <= 12; ++i) names.push_back("FIGHTER_" + Two(i));
    for (int i = 1; i <= 12; ++i) names.push_back("STATION_" + Two(i));
    for (int i = 1; i <= 12; ++i) names.push_back("STATION_CD" + Two(i));
    for (const char* n : {"STATION_02R", "STATION_07R", "STATION_CD02R", "STATION_CD07R", "PANEL_A",
                          "PANEL_B", "PANEL_C", "PANEL_CDA", "PANEL_CDB", "PANEL_CDC"})
        names.push_back(n);
    for (char t = 'A'; t <= 'I'; ++t) names.push_back(std::string("TURRET_") + t + "M");
    for (char t = 'A'; t <= 'I'; ++t) names.push_back(std::string("TURRET_") + t + "B");
    for (const char* n : {"TURRET_GS", "MISSILE", "MISSILE_S", "PLASMA", "BARRAGE", "LASER"})
        names.push_back(n);
    for (int i = 1; i <= 12; ++i) names.push_back("TRAIL_" + Two(i));
    for (const char* n : {"EXPLOTION", "VAPOR", "SIGHT", "ARROW1", "ARROW2"}) names.push_back(n);
    for (int i = 0; i <= 9; ++i) names.push_back("OP_" + Two(i));
    return names;
}

bool IsTwin(const std::string& name) {
    return name.rfind("STATION_CD", 0) == 0 || name.rfind("PANEL_CD", 0) == 0;
}

Vec3 Corner(const Mesh& m, const Triangle& t, int k) {
    return m.vertices[t.v[k]].position;
}

// --- geometry helpers ----------------------------------------------------

Vec3 ClosestOnTriangle(Vec3 p, Vec3 a, Vec3 b, Vec3 c) {
    Vec3 ab = b - a, ac = c - a, ap = p - a;
    float d1 = Dot(ab, ap), d2 = Dot(ac, ap);
    if (d1 <= 0.0f && d2 <= 0.0f) return a;
    Vec3 bp = p - b;
    float d3 = Dot(ab, bp), d4 = Dot(ac, bp);
    if (d3 >= 0.0f && d4 <= d3) return b;
    float vc = d1 * d4 - d3 * d2;
    if (vc <= 0.0f && d1 >= 0.0f && d3 <= 0.0f) return a + ab * (d1 / (d1 - d3));
    Vec3 cp = p - c;
    float d5 = Dot(ab, cp), d6 = Dot(ac, cp);
    if (d6 >= 0.0f && d5 <= d6) return c;
    float vb = d5 * d2 - d1 * d6;
    if (vb <= 0.0f && d2 >= 0.0f && d6 <= 0.0f) return a + ac * (d2 / (d2 - d6));
    float va = d3 * d6 - d5 * d4;
    if (va <= 0.0f && (d4 - d3) >= 0.0f && (d5 - d6) >= 0.0f)
        return b + (c - b) * ((d4 - d3) / ((d4 - d3) + (d5 - d6)));
    float denom = 1.0f / (va + vb + vc);
    return a + ab * (vb * denom) + ac * (vc * denom);
}

// Distance along the ray to every triangle it passes through, either side.
std::vector<float> RayHits(const Mesh& m, Vec3 origin, Vec3 direction) {
    std::vector<float> hits;
    for (const Triangle& t : m.triangles) {
        Vec3 a = Corner(m, t, 0), b = Corner(m, t, 1), c = Corner(m, t, 2);
        Vec3 e1 = b - a, e2 = c - a, pv = Cross(direction, e2);
        float det = Dot(e1, pv);
        if (std::fabs(det) < 1e-9f) continue;
        Vec3 s = origin - a;
        float u = Dot(s, pv) / det;
        if (u < 0.0f || u > 1.0f) continue;
        Vec3 qv = Cross(s, e1);
        float v = Dot(direction, qv) / det;
        if (v < 0.0f || u + v > 1.0f) continue;
        float hit = Dot(e2, qv) / det;
        if (hit > 0.0f) hits.push_back(hit);
    }
    return hits;
}

// Points spread over a triangle: corners, edges and inside.
std::vector<Vec3> Samples(Vec3 a, Vec3 b, Vec3 c) {
    std::vector<Vec3> points;
    const int n = 6;
    for (int i = 0; i <= n; ++i)
        for (int j = 0; i + j <= n; ++j) {
            float u = float(i) / n, v = float(j) / n;
            points.push_back(a + (b - a) * u + (c - a) * v);
        }
    return points;
}

// Whether any part of the mesh reaches into the box (in the frame `place`).
bool Intrudes(const Mesh& m, const Frame& place, Vec3 lo, Vec3 hi) {
    // The frame is orthonormal here, so its transpose turns points back.
    for (const Triangle& t : m.triangles)
        for (Vec3 p : Samples(Corner(m, t, 0), Corner(m, t, 1), Corner(m, t, 2))) {
            Vec3 d = p - place.origin;
            Vec3 q{Dot(d, place.x), Dot(d, place.y), Dot(d, place.z)};
            if (q.x > lo.x && q.x < hi.x && q.y > lo.y && q.y < hi.y && q.z > lo.z && q.z < hi.z) return true;
        }
    return false;
}

// Whether a surface of the mesh passes within `reach` of p facing along `axis`.
bool SurfaceAt(const Mesh& m, Vec3 p, Vec3 axis, float reach) {
    for (const Triangle& t : m.triangles) {
        Vec3 a = Corner(m, t, 0), b = Corner(m, t, 1), c = Corner(m, t, 2);
        if (Length(ClosestOnTriangle(p, a, b, c) - p) > reach) continue;
        if (Dot(FaceNormal(a, b, c), Normalize(axis)) > 0.7f) return true;
    }
    return false;
}

float DistanceToSurface(const Mesh& m, Vec3 p) {
    float best = 1e9f;
    for (const Triangle& t : m.triangles)
        best = std::min(best,
                        Length(ClosestOnTriangle(p, Corner(m, t, 0), Corner(m, t, 1), Corner(m, t, 2)) - p));
    return best;
}

// Edges counted by position: a closed surface wound one way round walks each
// edge exactly as often in one direction as in the other.
bool ClosedAndConsistent(const Mesh& m) {
    auto key = [](Vec3 p) {
        return std::make_tuple(std::lround(p.x * 1e4), std::lround(p.y * 1e4), std::lround(p.z * 1e4));
    };
    using Key = decltype(key(Vec3{}));
    std::map<std::pair<Key, Key>, int> walks;
    for (const Triangle& t : m.triangles)
        for (int k = 0; k < 3; ++k) {
            Key a = key(Corner(m, t, k)), b = key(Corner(m, t, (k + 1) % 3));
            ++walks[{a, b}];
        }
    for (const auto& [edge, count] : walks) {
        auto reverse = walks.find({edge.second, edge.first});
        if (reverse == walks.end() || reverse->second != count) return false;
    }
    return true;
}

double SignedVolume(const Mesh& m) {
    double volume = 0.0;
    for (const Triangle& t : m.triangles)
        volume += double(Dot(Corner(m, t, 0), Cross(Corner(m, t, 1), Corner(m, t, 2)))) / 6.0;
    return volume;
}

// Within about 10 % of a size the game's bounds rely on.
void ExpectNear(float actual, float expected, const std::string& what) {
    EXPECT_NEAR(actual, expected, expected * 0.1f + 0.005f) << what;
}

std::string Where(Vec3 p) {
    return std::to_string(p.x) + ", " + std::to_string(p.y) + ", " + std::to_string(p.z);
}

struct BmpInfo {
    int width = 0, height = 0;
    std::vector<unsigned char> rgba;
};

BmpInfo Decode(const std::string& bytes) {
    BmpInfo info;
    int channels = 0;
    unsigned char* data = stbi_load_from_memory(reinterpret_cast<const unsigned char*>(bytes.data()),
                                                int(bytes.size()), &info.width, &info.height, &channels, 4);
    if (data) {
        info.rgba.assign(data, data + size_t(info.width) * size_t(info.height) * 4);
        stbi_image_free(data);
    }
    return info;
}

const OutputFile* FindFile(const std::string& path) {
    for (const OutputFile& f : Assets().files)
        if (f.path == path) return &f;
    return nullptr;
}

} // namespace

TEST(AssetGen, EveryResourceExistsUnderItsName) {
    std::set<std::string> paths;
    for (const OutputFile& f : Assets().files) {
        EXPECT_TRUE(paths.insert(f.path).second) << "written twice: " << f.path;
        EXPECT_FALSE(f.bytes.empty()) << f.path;
    }
    std::vector<std::string> names = ExpectedModelNames();
    ASSERT_EQ(names.size(), 97u);
    for (const std::string& n : names) EXPECT_TRUE(paths.count("resources/X/" + n + ".x")) << n;
    std::vector<std::string> bitmaps = {"FLAG", "FONT", "LIGHT", "PLANET", "TITLE"};
    for (int i = 1; i <= 12; ++i) bitmaps.push_back("FLAG" + Two(i));
    for (const std::string& b : bitmaps) EXPECT_TRUE(paths.count("resources/BITMAP/" + b + ".bmp")) << b;
    EXPECT_TRUE(paths.count("resources/ICON/starmarch.bmp"));
    for (const char* w :
         {"MouseClick.wav", "MouseOver.wav", "Explotion.wav", "BarrageShot.wav", "LaserHit.wav",
          "LaserShot.wav", "Missile.wav", "MissileS.wav", "PlasmaHit.wav", "PlasmaShot.wav"})
        EXPECT_TRUE(paths.count(std::string("Data/") + w)) << w;
    for (int size : {32, 48, 64, 128, 256})
        EXPECT_TRUE(paths.count("icons/starmarch-" + std::to_string(size) + ".png")) << size;
    EXPECT_EQ(paths.size(), 97u + 17u + 1u + 10u + 5u) << "nothing else is generated";
    EXPECT_EQ(Assets().models.size(), 97u);
}

TEST(AssetGen, GeneratesTheSameBytesEveryTime) {
    std::vector<OutputFile> again = GenerateAll();
    ASSERT_EQ(again.size(), Assets().files.size());
    for (size_t i = 0; i < again.size(); ++i) {
        EXPECT_EQ(again[i].path, Assets().files[i].path);
        EXPECT_TRUE(again[i].bytes == Assets().files[i].bytes) << again[i].path << " differs between runs";
    }
}

TEST(AssetGen, WritesOnlyFilesWhoseBytesChanged) {
    TempDir dir;
    std::vector<OutputFile> files = {{"resources/X/A.x", "one"}, {"Data/B.wav", "two"}};
    std::string error;
    ASSERT_TRUE(WriteChangedFiles(files, dir.path, error)) << error;
    EXPECT_EQ(dir.Read("resources/X/A.x"), "one");
    namespace fs = std::filesystem;
    fs::path a = fs::path(dir.path) / "resources/X/A.x", b = fs::path(dir.path) / "Data/B.wav";
    auto old = fs::file_time_type::clock::now() - std::chrono::hours(24);
    fs::last_write_time(a, old);
    fs::last_write_time(b, old);
    files[1].bytes = "three";
    ASSERT_TRUE(WriteChangedFiles(files, dir.path, error)) << error;
    EXPECT_EQ(fs::last_write_time(a), old) << "an unchanged file is left alone";
    EXPECT_NE(fs::last_write_time(b), old);
    EXPECT_EQ(dir.Read("Data/B.wav"), "three");
    EXPECT_FALSE(fs::exists(b.string() + ".tmp"));

    // A folder that cannot be made is reported by name, not a crash.
    dir.Write("blocker", "a file where a folder should be");
    EXPECT_FALSE(WriteChangedFiles(files, dir.path + "/blocker", error));
    EXPECT_NE(error.find("blocker"), std::string::npos) << error;
}

TEST(AssetGen, StationsWearTheirCountrysFlag) {
    for (int k = 1; k <= 12; ++k) {
        const std::string& text = FindFile("resources/X/STATION_" + Two(k) + ".x")->bytes;
        EXPECT_NE(text.find("TextureFilename {\n   \"flag" + Two(k) + "\";"), std::string::npos) << k;
        for (int other = 1; other <= 12; ++other)
            if (other != k) {
                EXPECT_EQ(text.find("\"flag" + Two(other) + "\""), std::string::npos) << k;
            }
        // Flag faces map the whole bitmap.
        const Mesh& m = Model("STATION_" + Two(k));
        float umax = 0.0f, vmax = 0.0f;
        for (const Vertex& v : m.vertices) {
            umax = std::max(umax, v.uv.u);
            vmax = std::max(vmax, v.uv.v);
        }
        EXPECT_EQ(umax, 1.0f);
        EXPECT_EQ(vmax, 1.0f);
    }
}

TEST(AssetGen, ModelSizesMatchTheTable) {
    struct Size {
        std::string name;
        Vec3 extent;
        float radius;
    };
    std::vector<Size> sizes = {
        {"PANEL_A", {1, 0.06f, 5}, 2.8f},         {"PANEL_B", {10, 0.36f, 2.5f}, 5.1f},
        {"PANEL_C", {1.4f, 0.06f, 6}, 3.0f},      {"PANEL_CDA", {1, 0, 4}, 2.1f},
        {"PANEL_CDB", {10, 0.25f, 2}, 5.1f},      {"PANEL_CDC", {1.4f, 0, 4}, 2.0f},
        {"STATION_02R", {7, 7, 1.5f}, 3.35f},     {"STATION_CD02R", {7, 7, 1.5f}, 3.35f},
        {"STATION_07R", {6, 1.7f, 6}, 3.35f},     {"STATION_CD07R", {6, 1.7f, 6}, 3.35f},
        {"MISSILE", {0.1f, 0.08f, 0.5f}, 0.28f},  {"MISSILE_S", {0.06f, 0.04f, 0.24f}, 0.16f},
        {"PLASMA", {0.06f, 0.06f, 0.08f}, 0.05f}, {"BARRAGE", {0.1f, 0.1f, 0.2f}, 0.12f},
        {"EXPLOTION", {1, 1, 1}, 0.5f},           {"VAPOR", {0.2f, 0.2f, 0.25f}, 0.16f},
        {"SIGHT", {0.6f, 0.6f, 3}, 1.55f},        {"ARROW1", {0.5f, 0.5f, 1}, 0.8f},
        {"ARROW2", {0.5f, 0.5f, 1}, 0.8f},        {"LASER", {1, 0, 1}, 0.71f},
    };
    for (int i = 1; i <= 12; ++i) sizes.push_back({"TRAIL_" + Two(i), {1, 0, 1}, 0.71f});
    for (const Size& s : sizes) {
        Bounds b = ComputeBounds(Model(s.name));
        ExpectNear(b.Extent().x, s.extent.x, s.name + " width");
        ExpectNear(b.Extent().y, s.extent.y, s.name + " height");
        ExpectNear(b.Extent().z, s.extent.z, s.name + " length");
        // The rotors are tabled as a range, 3.1 to 3.6.
        ExpectNear(b.radius, s.radius, s.name + " radius");
    }
    // Strips lie at y = 0 from z = 0 to 1; the sight and the puff start where the table puts them.
    for (const char* strip : {"LASER", "TRAIL_05"}) {
        Bounds b = ComputeBounds(Model(strip));
        EXPECT_NEAR(b.boxMin.z, 0.0f, 1e-6f);
        EXPECT_NEAR(b.boxMax.x, 0.5f, 1e-6f);
        EXPECT_EQ(b.boxMin.y, 0.0f);
        EXPECT_EQ(b.boxMax.y, 0.0f);
    }
    EXPECT_NEAR(ComputeBounds(Model("SIGHT")).boxMin.z, 3.0f, 0.01f);
    EXPECT_NEAR(ComputeBounds(Model("VAPOR")).boxMin.z, 0.0f, 0.01f);

    // Families the table sizes by a range: every extent and the radius within
    // 10 % of it.
    auto within = [](const std::string& name, Vec3 low, Vec3 high, float radiusLow, float radiusHigh) {
        Bounds b = ComputeBounds(Model(name));
        Vec3 e = b.Extent();
        EXPECT_TRUE(e.x >= 0.9f * low.x && e.y >= 0.9f * low.y && e.z >= 0.9f * low.z) << name;
        EXPECT_TRUE(e.x <= 1.1f * high.x && e.y <= 1.1f * high.y && e.z <= 1.1f * high.z) << name;
        EXPECT_TRUE(b.radius >= 0.9f * radiusLow && b.radius <= 1.1f * radiusHigh) << name << " radius";
        return b;
    };
    for (int i = 1; i <= 12; ++i) {
        Bounds fighter = within("FIGHTER_" + Two(i), {0.7f, 0.25f, 0}, {1.6f, 0.5f, 9}, 0.8f, 1.05f);
        // Nose and tail are where the flight code expects them.
        EXPECT_NEAR(fighter.boxMax.z, 0.75f, 0.03f) << i;
        EXPECT_NEAR(fighter.boxMin.z, -0.75f, 0.06f) << i;
        within("STATION_" + Two(i), {2, 2, 2}, {9, 9, 9}, 3.1f, 6.4f);
        within("STATION_CD" + Two(i), {2, 2, 2}, {9, 9, 9}, 3.1f, 6.4f);
    }
    for (char t = 'A'; t <= 'I'; ++t) {
        Bounds mount = within(std::string("TURRET_") + t + "M", {}, {0.9f, 0.4f, 0.9f}, 0.22f, 0.72f);
        EXPECT_NEAR(mount.boxMin.y, 0.0f, 1e-4f) << t << ": a mount stands on the hull";
        within(std::string("TURRET_") + t + "B", {}, {9, 9, 1.1f}, 0.22f, 0.72f);
    }
    for (int i = 0; i <= 9; ++i) within("OP_" + Two(i), {}, {60, 10, 60}, 22, 50);
}

TEST(AssetGen, FrontFacesWindClockwiseWithOutwardNormals) {
    // A box built by the shape kit: every face's cross(b - a, c - a) points
    // away from the centre and equals the stored normal.
    Mesh cube;
    AddBox(cube, {}, {-1, -1, -1}, {1, 1, 1}, 0);
    ASSERT_EQ(cube.triangles.size(), 12u);
    for (const Triangle& t : cube.triangles) {
        Vec3 a = Corner(cube, t, 0), b = Corner(cube, t, 1), c = Corner(cube, t, 2);
        Vec3 n = FaceNormal(a, b, c);
        EXPECT_GT(Dot(n, (a + b + c) / 3.0f), 0.9f);
        for (int k = 0; k < 3; ++k) EXPECT_GT(Dot(cube.vertices[t.v[k]].normal, n), 0.999f);
    }
    EXPECT_TRUE(ClosedAndConsistent(cube));
    EXPECT_NEAR(SignedVolume(cube), 8.0, 1e-4);

    // The same holds whichever way round a loft's rings run, and a mirrored
    // placement keeps the skin outside.
    for (float turn : {1.0f, -1.0f}) {
        Mesh loft;
        std::vector<Vec3> ring = Ring(0, 1, 1, 8), ring2 = Ring(2, 0.5f, 0.5f, 8);
        for (Vec3& p : ring) p.x *= turn;
        for (Vec3& p : ring2) p.x *= turn;
        AddLoft(loft, Frame::Scale(turn, 1, 1), {ring, ring2, Ring(3, 0, 0, 8)}, 0, 40.0f);
        EXPECT_TRUE(ClosedAndConsistent(loft));
        EXPECT_GT(SignedVolume(loft), 0.0);
    }

    // Every generated triangle agrees with the normals stored at its corners.
    for (const auto& [name, m] : Assets().models)
        for (const Triangle& t : m.triangles) {
            Vec3 n = FaceNormal(Corner(m, t, 0), Corner(m, t, 1), Corner(m, t, 2));
            for (int k = 0; k < 3; ++k) {
                Vec3 stored = m.vertices[t.v[k]].normal;
                ASSERT_NEAR(Length(stored), 1.0f, 1e-3f) << name;
                ASSERT_GT(Dot(stored, n), 0.2f) << name << ": a corner's normal disagrees with its face";
            }
        }
}

TEST(AssetGen, SolidModelsAreClosedAndOutward) {
    // Collision twins are closed, so an exact hit test meets a surface on the
    // way in and on the way out.
    for (const auto& [name, m] : Assets().models) {
        bool solid = IsTwin(name) || name == "EXPLOTION";
        if (!solid) continue;
        EXPECT_TRUE(ClosedAndConsistent(m)) << name;
        // Flat twins (a sheet with a face on each side) enclose nothing.
        Vec3 extent = ComputeBounds(m).Extent();
        bool flat = std::min({extent.x, extent.y, extent.z}) < 1e-4f;
        if (flat) {
            EXPECT_NEAR(SignedVolume(m), 0.0, 1e-4) << name;
        } else {
            EXPECT_GT(SignedVolume(m), 0.0) << name << " is wound inside out";
        }
    }
}

TEST(AssetGen, CollisionTwinsHugTheirModels) {
    std::vector<std::pair<std::string, std::string>> pairs = {{"STATION_CD02R", "STATION_02R"},
                                                              {"STATION_CD07R", "STATION_07R"},
                                                              {"PANEL_CDA", "PANEL_A"},
                                                              {"PANEL_CDB", "PANEL_B"},
                                                              {"PANEL_CDC", "PANEL_C"}};
    for (int i = 1; i <= 12; ++i) pairs.push_back({"STATION_CD" + Two(i), "STATION_" + Two(i)});
    for (const auto& [twinName, modelName] : pairs) {
        const Mesh& twin = Model(twinName);
        const Mesh& model = Model(modelName);
        Bounds t = ComputeBounds(twin), v = ComputeBounds(model);
        SCOPED_TRACE(twinName);
        Vec3 low = v.boxMin - Vec3{0.06f, 0.06f, 0.06f}, high = v.boxMax + Vec3{0.06f, 0.06f, 0.06f};
        EXPECT_TRUE(t.boxMin.x >= low.x && t.boxMin.y >= low.y && t.boxMin.z >= low.z) << "reaches past the model";
        EXPECT_TRUE(t.boxMax.x <= high.x && t.boxMax.y <= high.y && t.boxMax.z <= high.z) << "reaches past the model";
        // Every corner of the twin lies on (or just off) the visible surface.
        float worst = 0.0f;
        for (const Vertex& p : twin.vertices) worst = std::max(worst, DistanceToSurface(model, p.position));
        EXPECT_LT(worst, 0.12f);
    }
}

TEST(AssetGen, FighterOutletsSitOnTheModel) {
    for (const FighterType& type : FighterTypes()) {
        const Mesh& m = Model(type.meshName);
        SCOPED_TRACE(type.meshName);
        // A nozzle mouth at each engine and retro, facing the way the trail or
        // the puff leaves, with nothing of the craft in the way.
        for (float facing : {-1.0f, 1.0f})
            for (int i = 0; i < (facing < 0.0f ? type.engineCount : type.retroCount); ++i) {
                const TrailMount& outlet = (facing < 0.0f ? type.engines : type.retros)[size_t(i)];
                Vec3 at = FromTable(outlet.at);
                bool mouth = false;
                for (const Triangle& t : m.triangles) {
                    Vec3 a = Corner(m, t, 0), b = Corner(m, t, 1), c = Corner(m, t, 2);
                    Vec3 centre = (a + b + c) / 3.0f;
                    mouth = mouth ||
                            (FaceNormal(a, b, c).z * facing > 0.9f && std::fabs(centre.z - at.z) < 0.02f &&
                             std::hypot(centre.x - at.x, centre.y - at.y) < outlet.width * 0.6f);
                }
                EXPECT_TRUE(mouth) << "no mouth at " << Where(at);
                float w = outlet.width * 0.3f;
                Vec3 lo = facing < 0.0f ? Vec3{-w, -w, -0.5f} : Vec3{-w, -w, 0.01f};
                Vec3 hi = facing < 0.0f ? Vec3{w, w, -0.01f} : Vec3{w, w, 0.3f};
                EXPECT_FALSE(Intrudes(m, Frame::At(at), lo, hi)) << "blocked outlet at " << Where(at);
            }
        // Both gun barrels end at their muzzles and fire into open space.
        Vec3 muzzle = FromTable(type.muzzle);
        for (Vec3 end : {muzzle, Vec3{-muzzle.x, muzzle.y, muzzle.z}}) {
            float nearest = 1e9f;
            for (const Vertex& v : m.vertices) nearest = std::min(nearest, Length(v.position - end));
            EXPECT_LT(nearest, 0.025f) << "no barrel end at " << Where(end);
            EXPECT_FALSE(Intrudes(m, Frame::At(end), {-0.02f, -0.02f, 0.01f}, {0.02f, 0.02f, 0.6f}))
                << "a muzzle fires into the craft at " << Where(end);
        }
        // A missile starting at each launcher is clear of the craft (its body,
        // its tail fins and its canards, a little shrunk), and a rail is right
        // above it.
        Vec3 launcher = FromTable(type.launcherAt);
        std::vector<Vec3> launchers = {launcher};
        if (type.launcherMode != LauncherMode::Single)
            launchers.push_back({-launcher.x, launcher.y, launcher.z});
        for (Vec3 l : launchers) {
            Frame missile = Frame::Oriented(Normalize(Vec3{0.0f, type.launchTilt, 1.0f}), {0, 1, 0}, l);
            bool inside = Intrudes(m, missile, {-0.025f, -0.025f, -0.23f}, {0.025f, 0.025f, 0.23f}) ||
                          Intrudes(m, missile, {-0.045f, -0.036f, -0.23f}, {0.045f, 0.036f, -0.12f}) ||
                          Intrudes(m, missile, {-0.032f, -0.025f, 0.09f}, {0.032f, 0.025f, 0.15f});
            EXPECT_FALSE(inside) << "a missile would start inside the craft at " << Where(l);
            EXPECT_TRUE(Intrudes(m, missile, {-0.03f, 0.0f, -0.2f}, {0.03f, 0.08f, 0.2f}))
                << "no launch rail at " << Where(l);
        }
    }
}

TEST(AssetGen, FightersHaveTwelveDistinctShapes) {
    // Top views at a coarse grain differ for every pair of types.
    std::vector<std::vector<bool>> shadows;
    for (int i = 1; i <= 12; ++i) {
        const Mesh& m = Model("FIGHTER_" + Two(i));
        std::vector<bool> cells(32 * 32, false);
        for (const Triangle& t : m.triangles)
            for (Vec3 p : Samples(Corner(m, t, 0), Corner(m, t, 1), Corner(m, t, 2))) {
                int cx = std::clamp(int((p.x + 0.8f) / 1.6f * 32.0f), 0, 31);
                int cz = std::clamp(int((p.z + 0.8f) / 1.6f * 32.0f), 0, 31);
                cells[size_t(cz * 32 + cx)] = true;
            }
        shadows.push_back(cells);
    }
    for (size_t a = 0; a < 12; ++a)
        for (size_t b = a + 1; b < 12; ++b) {
            int differ = 0;
            for (size_t c = 0; c < shadows[a].size(); ++c) differ += shadows[a][c] != shadows[b][c];
            EXPECT_GT(differ, 60) << "fighters " << a + 1 << " and " << b + 1 << " look alike from above";
        }
}

TEST(AssetGen, StationMountsAndLaunchPathsFit) {
    for (int index = 0; index < CountryCount; ++index) {
        const StationType& type = StationTypeTable()[size_t(index)];
        const Mesh& hull = Model("STATION_" + Two(index + 1));
        const Mesh& twin = Model("STATION_CD" + Two(index + 1));
        SCOPED_TRACE("STATION_" + Two(index + 1));
        // Panels and turrets stand on a face that looks their way, with room
        // to stand out from it: 5 units for a panel, half a unit for a turret.
        auto standsClear = [&](Vec3 at, Vec3 axis, float lift, float room) {
            axis = Normalize(axis);
            EXPECT_TRUE(SurfaceAt(hull, at, axis, 0.03f)) << "mount at " << Where(at);
            std::vector<float> hits = RayHits(hull, at + axis * lift, axis);
            EXPECT_TRUE(std::none_of(hits.begin(), hits.end(), [&](float h) { return h < room; }))
                << "mount at " << Where(at) << " runs into the hull";
        };
        for (int i = 0; i < type.panelCount; ++i)
            standsClear(FromTable(type.panels[size_t(i)].position), FromTable(type.panels[size_t(i)].axis),
                        0.05f, 5.0f);
        for (int i = 0; i < type.turretCount; ++i)
            standsClear(FromTable(type.turrets[size_t(i)].position), FromTable(type.turrets[size_t(i)].up),
                        0.02f, 0.5f);
        // A fighter leaving the launch point flies into open space.
        Vec3 forward = Normalize(FromTable(type.launchForward));
        Vec3 start = FromTable(type.launchPoint) + forward * 0.05f;
        EXPECT_TRUE(RayHits(twin, start, forward).empty()) << "launch path blocked";
        EXPECT_TRUE(RayHits(hull, start, forward).empty()) << "launch path blocked";
    }
}

TEST(AssetGen, RotorsTurnClearOfTheirStations) {
    // 02's wheel turns about z, 07's about y, both about the station origin:
    // whatever angle they stand at, they never cut the hull.
    struct Rotor {
        std::string station, rotor;
        bool aboutZ;
    };
    for (const Rotor& r :
         {Rotor{"STATION_02", "STATION_CD02R", true}, Rotor{"STATION_07", "STATION_CD07R", false}}) {
        const Mesh& hull = Model(r.station);
        const Mesh& wheel = Model(r.rotor);
        for (int step = 0; step < 8; ++step) {
            float a = Pi * 2.0f * float(step) / 8.0f + 0.1f;
            Frame turn = r.aboutZ ? Frame::RotationZ(a) : Frame::RotationY(a);
            for (const Vertex& v : hull.vertices) {
                // Back into the wheel's own frame (the inverse turn).
                Vec3 p = v.position;
                Vec3 q{Dot(p, turn.x), Dot(p, turn.y), Dot(p, turn.z)};
                std::vector<float> hits = RayHits(wheel, q, {0.0f, 1e-3f, 1.0f});
                ASSERT_EQ(hits.size() % 2, 0u) << r.station << " reaches into its wheel";
            }
        }
    }
}

TEST(AssetGen, TurretBarrelsReachTheirMuzzles) {
    // Every muzzle the game fires from ends a barrel and fires into open space;
    // D's tubes show a missile instead (below).
    for (int kind = TurretA; kind <= TurretI; ++kind) {
        if (kind == TurretD) continue;
        const TurretType& type = GetTurretType(TurretKind(kind));
        const char letter = char('A' + kind);
        const Mesh& m = Model(std::string("TURRET_") + letter + "B");
        for (int i = 0; i < type.muzzleCount; ++i) {
            Vec3 at = FromTable(type.muzzles[size_t(i)]);
            float nearest = 1e9f;
            for (const Vertex& v : m.vertices)
                if (std::fabs(v.position.z - at.z) < 0.01f)
                    nearest = std::min(nearest, Length(v.position - at));
            EXPECT_LT(nearest, 0.06f) << letter << " muzzle at " << at.x << ", " << at.y;
            EXPECT_FALSE(Intrudes(m, Frame::At(at), {-0.015f, -0.015f, 0.01f}, {0.015f, 0.015f, 0.5f}))
                << letter << " fires into itself";
        }
    }
    // D shows a missile on each of its three tubes: they rest on the rack.
    const Mesh& rack = Model("TURRET_DB");
    const TurretType& d = GetTurretType(TurretD);
    for (int i = 0; i < d.muzzleCount; ++i) {
        Frame at = Frame::At(FromTable(d.muzzles[size_t(i)]));
        EXPECT_FALSE(Intrudes(rack, at, {-0.045f, -0.02f, -0.23f}, {0.045f, 0.036f, 0.23f}));
        EXPECT_TRUE(Intrudes(rack, at, {-0.02f, -0.07f, -0.2f}, {0.02f, -0.02f, 0.2f}));
    }
    // G's slide runs along the barrel: at rest and fully recoiled it sits round it.
    Bounds slide = ComputeBounds(Model("TURRET_GS"));
    EXPECT_GT(slide.boxMax.x, 0.045f);
    EXPECT_LT(slide.boxMin.z + 0.375f - 0.2f, 0.1f) << "recoiled, the slide reaches back over the breech";
}

TEST(AssetGen, BitmapsDecodeAsTheGameReadsThem) {
    struct Expect {
        std::string name;
        int width, height;
        bool alpha;
    };
    std::vector<Expect> expected = {{"FLAG", 256, 128, false},
                                    {"FONT", 128, 128, false},
                                    {"LIGHT", 128, 128, true},
                                    {"PLANET", 512, 256, true},
                                    {"TITLE", 512, 128, true}};
    for (int i = 1; i <= 12; ++i) expected.push_back({"FLAG" + Two(i), 128, 64, false});
    for (const Expect& e : expected) {
        const OutputFile* file = FindFile("resources/BITMAP/" + e.name + ".bmp");
        ASSERT_NE(file, nullptr) << e.name;
        BmpInfo decoded = Decode(file->bytes);
        ASSERT_EQ(decoded.width, e.width) << e.name;
        ASSERT_EQ(decoded.height, e.height) << e.name;
        const Image& image = Assets().bitmaps.at(e.name).image;
        bool clear = false, opaque = false;
        for (int y = 0; y < e.height; ++y)
            for (int x = 0; x < e.width; ++x) {
                const unsigned char* px = &decoded.rgba[size_t((y * e.width + x) * 4)];
                const Rgba& want = image.At(x, y);
                float a = e.alpha ? want.a : 1.0f;
                // Opaque files carry the picture over black; all rows come out top first.
                ASSERT_NEAR(px[3], std::lround(a * 255.0f), 1) << e.name;
                if (std::lround(a * 255.0f) > 0) {
                    ASSERT_NEAR(px[0], std::lround(want.r * (e.alpha ? 1.0f : want.a) * 255.0f), 1) << e.name;
                }
                clear = clear || px[3] == 0;
                opaque = opaque || px[3] == 255;
            }
        EXPECT_TRUE(opaque) << e.name;
        EXPECT_EQ(clear, e.alpha) << e.name << (e.alpha ? " has no clear pixel" : " has clear pixels");
    }
    BmpInfo icon = Decode(FindFile("resources/ICON/starmarch.bmp")->bytes);
    EXPECT_TRUE(icon.width == 32 || icon.width == 64);
    EXPECT_EQ(icon.width, icon.height);
    EXPECT_EQ(icon.rgba[3], 0) << "the icon's corner is clear";
    EXPECT_EQ(icon.rgba[size_t((icon.height / 2 * icon.width + icon.width / 2) * 4 + 3)], 255);
}

TEST(AssetGen, FontSheetHasAReadableGlyphPerPrintableCode) {
    const Image& font = Assets().bitmaps.at("FONT").image;
    std::set<std::vector<bool>> shapes;
    for (int code = 0; code < 128; ++code) {
        int left = (code % 16) * FontCellWidth, top = (code / 16) * FontCellHeight;
        std::vector<bool> glyph;
        int lit = 0, outside = 0;
        for (int y = 0; y < FontCellHeight; ++y)
            for (int x = 0; x < FontCellWidth; ++x) {
                const Rgba& p = font.At(left + x, top + y);
                ASSERT_EQ(p.a, 1.0f) << "the ground is opaque";
                bool on = p.r > 0.5f;
                ASSERT_TRUE(p.r == 0.0f || p.r == 1.0f) << "pure white on pure black";
                if (x < FontGlyphWidth && y < FontGlyphHeight) {
                    glyph.push_back(on);
                    lit += on;
                } else {
                    outside += on;
                }
                // The fifth column keeps neighbours apart at the 5-pixel pitch.
                if (x == FontGlyphWidth - 1) {
                    ASSERT_FALSE(on) << "code " << code;
                }
            }
        EXPECT_EQ(outside, 0) << "code " << code;
        bool printable = code > 32 && code < 127;
        EXPECT_EQ(lit > 0, printable) << "code " << code;
        if (printable) {
            EXPECT_TRUE(shapes.insert(glyph).second) << "code " << code << " looks like another";
        }
    }
}

TEST(AssetGen, FlagsAreTheTwelveCountriesInOrder) {
    const Image& sheet = Assets().bitmaps.at("FLAG").image;
    // Colour at a point of flag k, given in fractions of its width and height.
    auto at = [&](int k, float fx, float fy) {
        const Rgba& p = sheet.At(FlagLeft(k) + int(fx * FlagWidth), FlagTop(k) + int(fy * FlagHeight));
        return std::make_tuple(int(p.r * 255.0f + 0.5f), int(p.g * 255.0f + 0.5f), int(p.b * 255.0f + 0.5f));
    };
    auto near = [](std::tuple<int, int, int> c, int rgb) {
        return std::abs(std::get<0>(c) - ((rgb >> 16) & 255)) < 40 &&
               std::abs(std::get<1>(c) - ((rgb >> 8) & 255)) < 40 &&
               std::abs(std::get<2>(c) - (rgb & 255)) < 40;
    };
    struct Probe {
        int country;
        float x, y;
        int rgb;
    };
    const Probe probes[] = {
        {0, 0.5f, 0.5f, 0xBC002D},   {0, 0.05f, 0.1f, 0xFFFFFF}, // Japan: red disc on white
        {1, 0.8f, 0.03f, 0xB22234},  {1, 0.8f, 0.11f, 0xFFFFFF},
        {1, 0.9f, 0.97f, 0xB22234},                             // United States: stripes
        {2, 0.35f, 0.12f, 0x012169}, {2, 0.5f, 0.5f, 0xC8102E}, // United Kingdom: blue field, red cross
        {3, 0.1f, 0.5f, 0x0055A4},   {3, 0.5f, 0.5f, 0xFFFFFF},
        {3, 0.9f, 0.5f, 0xEF4135}, // France
        {4, 0.5f, 0.1f, 0x000000},   {4, 0.5f, 0.5f, 0xDD0000},
        {4, 0.5f, 0.9f, 0xFFCE00},                              // Germany
        {5, 0.1f, 0.5f, 0x009246},   {5, 0.9f, 0.5f, 0xCE2B37}, // Italy
        {6, 0.5f, 0.1f, 0xFFFFFF},   {6, 0.5f, 0.5f, 0x0039A6},
        {6, 0.5f, 0.9f, 0xD52B1E},                                // Russia
        {7, 0.9f, 0.9f, 0xEE1C25},   {7, 0.17f, 0.25f, 0xFFDE00}, // China: red, large yellow star
        {8, 0.05f, 0.5f, 0xFFFFFF},  {8, 0.5f, 0.38f, 0xCD2E3A},
        {8, 0.5f, 0.62f, 0x0047A0},                               // South Korea
        {9, 0.9f, 0.05f, 0x00008B},  {9, 0.25f, 0.75f, 0xFFFFFF}, // Australia: blue, Commonwealth star
        {10, 0.1f, 0.5f, 0xFF0000},  {10, 0.5f, 0.1f, 0xFFFFFF},
        {10, 0.5f, 0.55f, 0xFF0000}, // Canada
        {11, 0.1f, 0.1f, 0x009EDB},  // United Nations: light blue
    };
    for (const Probe& p : probes)
        EXPECT_TRUE(near(at(p.country, p.x, p.y), p.rgb))
            << "flag " << p.country + 1 << " at " << p.x << ", " << p.y;
    // The textures are the same flags: their average colours agree.
    auto average = [](const Image& image, int x0, int y0, int w, int h) {
        Vec3 sum{};
        for (int y = y0; y < y0 + h; ++y)
            for (int x = x0; x < x0 + w; ++x)
                sum += Vec3{image.At(x, y).r, image.At(x, y).g, image.At(x, y).b};
        return sum / float(w * h);
    };
    for (int k = 0; k < 12; ++k) {
        Vec3 texture = average(Assets().bitmaps.at("FLAG" + Two(k + 1)).image, 0, 0, 128, 64);
        Vec3 flag = average(sheet, FlagLeft(k), FlagTop(k), FlagWidth, FlagHeight);
        EXPECT_LT(Length(texture - flag), 0.08f) << "flag " << k + 1;
    }
}

TEST(AssetGen, ShapeKitTriangulatesConcaveOutlines) {
    // An L-shaped outline: its triangles cover exactly its area.
    std::vector<Vec2> l = {{0, 0}, {2, 0}, {2, 1}, {1, 1}, {1, 2}, {0, 2}};
    std::vector<int> tris = Triangulate(l);
    ASSERT_EQ(tris.size(), 12u);
    float area = 0.0f;
    for (size_t i = 0; i < tris.size(); i += 3) {
        Vec2 a = l[size_t(tris[i])], b = l[size_t(tris[i + 1])], c = l[size_t(tris[i + 2])];
        area += std::fabs((b.u - a.u) * (c.v - a.v) - (c.u - a.u) * (b.v - a.v)) * 0.5f;
    }
    EXPECT_NEAR(area, 3.0f, 1e-5f);
    // Extruded either way round, it is a closed solid of that area times its height.
    for (bool reversed : {false, true}) {
        std::vector<Vec2> outline = l;
        if (reversed) std::reverse(outline.begin(), outline.end());
        Mesh prism;
        AddPrism(prism, {}, outline, 0.0f, 0.5f, 0, 1);
        EXPECT_TRUE(ClosedAndConsistent(prism));
        EXPECT_NEAR(SignedVolume(prism), 1.5, 1e-4);
    }
}
