#include "assetgen/AssetSet.h"
#include "platform/Log.h"
#include "platform/WavReader.h"
#include "render/MeshData.h"
#include "support/TempDir.h"

#include <cmath>
#include <map>

#include <gtest/gtest.h>
#include <stb_image.h>

using namespace assetgen;

namespace {

using LogCapture = ScopedLogCapture;

} // namespace

// What the generator writes is what the game reads: every model through the
// game's own X loader, every sound through its own RIFF reader.
TEST(AssetGenLoad, EveryModelLoadsWithTheGamesLoader) {
    AssetSet assets = BuildAll();
    std::vector<OutputFile> files = Encode(assets);
    ASSERT_EQ(files.size(),
              assets.models.size() + assets.bitmaps.size() + 1 + assets.sounds.size() + assets.desktopIcons.size());
    for (size_t i = 0; i < assets.models.size(); ++i) {
        const ModelAsset& model = assets.models[i];
        SCOPED_TRACE(model.name);
        LogCapture log;
        MeshData loaded;
        ASSERT_TRUE(LoadMeshFromX(model.name, files[i].bytes, loaded)) << log.text;
        EXPECT_EQ(log.text, "load(" + model.name + ") ... ok.\n");
        EXPECT_EQ(loaded.TriangleCount(), model.mesh.triangles.size());
        EXPECT_EQ(loaded.materials.size(), model.mesh.materials.size());
        EXPECT_TRUE(loaded.fileNormals);
        EXPECT_EQ(loaded.fileTexCoords, model.mesh.HasTexture());
        // The game's bounds are the ones the generator was built to fit.
        Bounds expected = ComputeBounds(model.mesh);
        EXPECT_NEAR(loaded.sphereRadius, expected.radius, 1e-3f);
        EXPECT_NEAR(loaded.boxMin.x, expected.boxMin.x, 1e-5f);
        EXPECT_NEAR(loaded.boxMax.z, expected.boxMax.z, 1e-5f);
        for (size_t m = 0; m < loaded.materials.size(); ++m)
            EXPECT_EQ(loaded.materials[m].textureFilename, model.mesh.materials[m].texture);
    }
}

// Every sound reads with the game's reader as 16-bit mono at the generator's
// rate, lasts about as long as its event, is clearly heard and ends faded out
// (a voice that stops does not click).
TEST(AssetGenLoad, EverySoundReadsWithTheGamesReaderAndIsHeard) {
    struct Duration {
        float minSeconds, maxSeconds;
    };
    const std::map<std::string, Duration> lengths = {
        {"MouseClick.wav", {0.02f, 0.15f}}, {"MouseOver.wav", {0.02f, 0.2f}},
        {"Explotion.wav", {1.3f, 1.8f}},    {"BarrageShot.wav", {0.2f, 0.8f}},
        {"LaserHit.wav", {0.1f, 0.5f}},     {"LaserShot.wav", {0.15f, 0.6f}},
        {"Missile.wav", {0.4f, 1.2f}},      {"MissileS.wav", {0.3f, 1.0f}},
        {"PlasmaHit.wav", {0.1f, 0.5f}},    {"PlasmaShot.wav", {0.1f, 0.4f}}};
    TempDir dir;
    std::vector<Sound> sounds = BuildSounds();
    ASSERT_EQ(sounds.size(), lengths.size());
    for (const Sound& sound : sounds) {
        SCOPED_TRACE(sound.fileName);
        dir.Write(sound.fileName, EncodeWav(sound.samples, SampleRate));
        WavData wav;
        ASSERT_EQ(ReadWav(dir.path + "/" + sound.fileName, wav), WavStatus::Ok);
        EXPECT_EQ(wav.format.channels, 1);
        EXPECT_EQ(wav.format.samplesPerSecond, SampleRate);
        EXPECT_EQ(wav.format.bitsPerSample, 16);
        EXPECT_EQ(size_t(wav.FrameCount()), sound.samples.size());

        ASSERT_TRUE(lengths.count(sound.fileName));
        const Duration& length = lengths.at(sound.fileName);
        float seconds = float(sound.samples.size()) / float(SampleRate);
        EXPECT_TRUE(seconds >= length.minSeconds && seconds <= length.maxSeconds) << seconds << " s";
        int peak = 0;
        for (int16_t sample : sound.samples) peak = std::max(peak, std::abs(int(sample)));
        EXPECT_GT(peak, 32767 / 5) << "silent";
        EXPECT_LT(std::abs(int(sound.samples.back())), 200);
    }
}

// The desktop's icons are the window's emblem at each size: PNG files that
// decode at N x N, clear in the corners and opaque in the middle, the 64 px
// one pixel for pixel the window icon.
TEST(AssetGenLoad, DesktopIconsAreTheEmblemAtEverySize) {
    AssetSet assets = BuildAll();
    std::map<std::string, std::string> files;
    for (OutputFile& file : Encode(assets)) files[file.path] = std::move(file.bytes);
    for (int size : {32, 48, 64, 128, 256}) {
        const std::string& png = files["icons/starmarch-" + std::to_string(size) + ".png"];
        int w = 0, h = 0, channels = 0;
        unsigned char* rgba = stbi_load_from_memory(reinterpret_cast<const unsigned char*>(png.data()), int(png.size()),
                                                    &w, &h, &channels, 4);
        ASSERT_NE(rgba, nullptr) << size;
        const std::vector<unsigned char> pixels(rgba, rgba + size_t(w) * size_t(h) * 4);
        stbi_image_free(rgba);
        ASSERT_EQ(w, size);
        ASSERT_EQ(h, size);
        EXPECT_EQ(pixels[3], 0) << size << ": the corner is not clear";
        EXPECT_EQ(pixels[size_t((size / 2 * size + size / 2) * 4 + 3)], 255) << size;
        if (size != 64) continue;
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 64; ++x) {
                const Rgba& want = assets.icon.At(x, y);
                const unsigned char* px = &pixels[size_t((y * 64 + x) * 4)];
                ASSERT_NEAR(px[3], std::lround(want.a * 255.0f), 1) << x << "," << y;
                if (px[3]) {
                    ASSERT_NEAR(px[0], std::lround(want.r * 255.0f), 1) << x << "," << y;
                }
            }
    }
}
