#include "platform/Screenshots.h"

#include "support/TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <stb_image.h>
#include <sys/stat.h>

namespace {

std::tm At(int year, int month, int day, int hour, int minute, int second) {
    std::tm when{};
    when.tm_year = year - 1900;
    when.tm_mon = month - 1;
    when.tm_mday = day;
    when.tm_hour = hour;
    when.tm_min = minute;
    when.tm_sec = second;
    return when;
}

} // namespace

TEST(Screenshots, NamesCarryTheDateAndTimeAndNeverReplaceAFile) {
    EXPECT_EQ(ScreenshotStem(At(2026, 12, 7, 14, 3, 22)), "starmarch-2026-12-07_14-03-22");
    EXPECT_EQ(ScreenshotStem(At(2031, 1, 30, 0, 0, 9)), "starmarch-2031-01-30_00-00-09");

    TempDir dir;
    const std::string folder = dir.path + "/Pictures/Starmarch/";
    for (const char* expected : {"shot.png", "shot-2.png", "shot-3.png"}) {
        ScreenshotResult result = WriteScreenshot(folder, "shot", expected);
        EXPECT_TRUE(result.saved) << result.reason;
        EXPECT_EQ(result.name, expected);
        EXPECT_EQ(result.Notice(), std::string("Screenshot saved: ") + expected);
    }
    // Each file keeps what it was written with.
    EXPECT_EQ(dir.Read("Pictures/Starmarch/shot.png"), "shot.png");
    EXPECT_EQ(dir.Read("Pictures/Starmarch/shot-2.png"), "shot-2.png");
    // The folders it made are the player's own.
    struct stat info {};
    ASSERT_EQ(stat(folder.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
}

TEST(Screenshots, AFailureSaysWhyAndLeavesNoFile) {
    TempDir dir;
    dir.Write("file", "x");
    struct Case {
        std::string folder, stem, png, reason;
    } cases[] = {
        {dir.path + "/file/", "shot", "png",
         "cannot make the folder " + dir.path + "/file/: Not a directory"},
        {dir.path + "/file/sub/", "shot", "png",
         "cannot make the folder " + dir.path + "/file/sub/: Not a directory"},
        {dir.path + "/ok/", "shot", "", "the picture could not be encoded"},
        {dir.path + "/ok/", "no/such/folder/shot", "png",
         "cannot write " + dir.path + "/ok/no/such/folder/shot.png: No such file or directory"},
    };
    for (const Case& c : cases) {
        ScreenshotResult result = WriteScreenshot(c.folder, c.stem, c.png);
        EXPECT_FALSE(result.saved);
        EXPECT_EQ(result.Notice(), "Screenshot failed: " + c.reason);
    }
    EXPECT_FALSE(dir.Exists("ok/shot.png"));
}

TEST(Screenshots, TheWriterSavesEveryPictureOffTheCallerInOrder) {
    TempDir dir;
    const std::string folder = dir.path + "/shots/";
    int calls = 0;
    ScreenshotWriter writer(folder, [&calls] { return At(2026, 12, 7, 14, 3, 22 + (calls++ / 2)); });
    // Two pixels wide, two high, rows from the bottom: red green / blue white.
    const std::vector<uint32_t> bottomUp = {0xFF0000FF, 0xFFFFFFFF, 0xFFFF0000, 0xFF00FF00};
    for (int i = 0; i < 3; ++i) ASSERT_TRUE(writer.Save(2, 2, bottomUp));
    writer.Wait();
    std::vector<ScreenshotResult> results = writer.TakeResults();
    ASSERT_EQ(results.size(), 3u);
    EXPECT_EQ(results[0].name, "starmarch-2026-12-07_14-03-22.png");
    EXPECT_EQ(results[1].name, "starmarch-2026-12-07_14-03-22-2.png");
    EXPECT_EQ(results[2].name, "starmarch-2026-12-07_14-03-23.png");
    EXPECT_TRUE(writer.TakeResults().empty());

    int w = 0, h = 0, channels = 0;
    unsigned char* rgb = stbi_load((folder + results[0].name).c_str(), &w, &h, &channels, 3);
    ASSERT_NE(rgb, nullptr);
    const std::vector<unsigned char> pixels(rgb, rgb + 12);
    stbi_image_free(rgb);
    EXPECT_EQ(w, 2);
    EXPECT_EQ(h, 2);
    EXPECT_EQ(pixels, (std::vector<unsigned char>{255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 255}));
}
