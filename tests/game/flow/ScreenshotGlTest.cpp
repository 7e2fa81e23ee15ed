// F12 and Print Screen save the picture the player sees, at the back
// buffer's size, without the notice that tells about it.
#include "platform/KeyCodes.h"
#include "platform/PictureRate.h"
#include "platform/Screenshots.h"
#include "platform/Window.h"
#include "support/PlayedGame.h"
#include "support/TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <stb_image.h>

namespace {

// The game in a 640 x 480 window, its screenshots going into a temporary folder.
struct ShotFolder {
    TempDir dir;
};
struct Played : ShotFolder, PlayedGame {
    explicit Played(int frameRate) : PlayedGame(640, 480, 1, frameRate, dir.path + "/shots/") {}
    void Frame(std::vector<int> keys = {}) { Keys(std::move(keys)); }
    // The saves finished so far, as the next frame reports them.
    std::vector<std::string> Saved() {
        std::vector<std::string> names;
        if (!game->context.screenshots) return names;
        game->context.screenshots->Wait();
        if (!std::filesystem::exists(dir.path + "/shots")) return names;
        for (const auto& entry : std::filesystem::directory_iterator(dir.path + "/shots"))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    // The file as ARGB rows from the top; empty unless it is 640 x 480.
    std::vector<uint32_t> Decoded(const std::string& name) {
        int w = 0, h = 0, channels = 0;
        unsigned char* rgb = stbi_load((dir.path + "/shots/" + name).c_str(), &w, &h, &channels, 3);
        std::vector<uint32_t> argb;
        if (rgb && w == 640 && h == 480)
            for (int i = 0; i < w * h; ++i)
                argb.push_back(0xFF000000u | uint32_t(rgb[i * 3]) << 16 | uint32_t(rgb[i * 3 + 1]) << 8 |
                               rgb[i * 3 + 2]);
        stbi_image_free(rgb);
        return argb;
    }
};

size_t Differing(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b) {
    size_t count = a.size() == b.size() ? 0 : std::max(a.size(), b.size());
    for (size_t i = 0; i < std::min(a.size(), b.size()); ++i)
        count += (a[i] | 0xFF000000u) != (b[i] | 0xFF000000u);
    return count;
}

// The band one text line below the frame rate, where the notice goes.
std::vector<uint32_t> NoticeBand(const std::vector<uint32_t>& argb) {
    if (argb.size() != 640 * 480) return {};
    return {argb.begin() + 15 * 640, argb.begin() + 27 * 640};
}

} // namespace

TEST(Screenshot, TheKeysSaveTheShownPictureWithoutTheNotice) {
    if (Window::OpenVideo() != Window::VideoStatus::Ready) GTEST_SKIP() << "no display";
    {
        Played p(PictureRate::Classic);
        ASSERT_TRUE(p.ready);
        for (int i = 0; i < 20; ++i) p.Frame();
        p.Frame({Dik::F12});
        const std::vector<uint32_t> shown = p.Picture();
        ASSERT_EQ(p.Saved().size(), 1u);
        const std::string first = p.Saved()[0];
        EXPECT_EQ(first.rfind("starmarch-", 0), 0u) << first;
        EXPECT_EQ(Differing(p.Decoded(first), shown), 0u) << "the file is not the picture shown";

        // The next frame tells, one line below the frame rate; the picture
        // saved while it shows leaves it out.
        p.Frame();
        EXPECT_EQ(p.game->context.notice, "Screenshot saved: " + first);
        EXPECT_NE(p.log.find("Screenshot saved: " + first + " (" + p.dir.path + "/shots/)\n"), std::string::npos);
        EXPECT_GT(Differing(NoticeBand(p.Picture()), NoticeBand(shown)), 50u) << "no notice on the screen";
        p.Frame({Dik::SysRq});
        const std::vector<uint32_t> second = p.Picture();
        std::vector<std::string> saved = p.Saved();
        ASSERT_EQ(saved.size(), 2u);
        const std::vector<uint32_t> secondFile = p.Decoded(saved[saved[0] == first ? 1 : 0]);
        EXPECT_EQ(Differing(secondFile, second), 0u);
        EXPECT_EQ(Differing(NoticeBand(secondFile), NoticeBand(shown)), 0u)
            << "the notice is in the saved picture";
        p.Frame();
        EXPECT_GT(Differing(NoticeBand(p.Picture()), NoticeBand(shown)), 50u)
            << "the notice did not come back";
    }
    {
        // Pictures between steps: the picture saved is the next one shown.
        Played p(60);
        ASSERT_TRUE(p.ready);
        for (int i = 0; i < 20; ++i) p.Frame();
        p.Frame({Dik::F12});
        p.game->context.screenshots->Wait();
        EXPECT_TRUE(p.Saved().empty()) << "saved before a picture was shown";
        p.graphics->PresentPicture(0.5f, 0, 0);
        const std::vector<uint32_t> shown = p.Picture();
        ASSERT_EQ(p.Saved().size(), 1u);
        EXPECT_EQ(Differing(p.Decoded(p.Saved()[0]), shown), 0u);
    }
    Window::CloseVideo();
}
