#include "assetgen/AssetSet.h"
#include "platform/Log.h"
#include "platform/WavReader.h"
#include "render/MeshData.h"
#include "support/TempDir.h"

#include <cmath>

#include <gtest/gtest.h>

using namespace assetgen;

namespace {

using LogCapture = ScopedLogCapture;

} // namespace

// What the generator writes is what the game reads: every model through the
// game's own X loader, every sound through its own RIFF reader.
TEST(AssetGenLoad, EveryModelLoadsWithTheGamesLoader) {
    AssetSet assets = BuildAll();
    std::vector<OutputFile> files = Encode(assets);
    ASSERT_EQ(files.size(), assets.models.size() + assets.bitmaps.size() + 1 + assets.sounds.size());
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

TEST(AssetGenLoad, EverySoundReadsWithTheGamesReader) {
    TempDir dir;
    for (const Sound& sound : BuildSounds()) {
        dir.Write(sound.fileName, EncodeWav(sound.samples, SampleRate));
        WavData wav;
        ASSERT_EQ(ReadWav(dir.path + "/" + sound.fileName, wav), WavStatus::Ok) << sound.fileName;
        EXPECT_EQ(wav.format.channels, 1);
        EXPECT_EQ(wav.format.samplesPerSecond, SampleRate);
        EXPECT_EQ(wav.format.bitsPerSample, 16);
        EXPECT_EQ(size_t(wav.FrameCount()), sound.samples.size()) << sound.fileName;
    }
}
