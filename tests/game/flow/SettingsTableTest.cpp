#include "game/flow/Config.h"
#include "game/flow/SettingsTable.h"

#include <gtest/gtest.h>

TEST(SettingsTable, SizesResolveAgainstTheDesktop) {
    struct Case {
        int displaySize;
        bool windowed;
        int width, height;
    } cases[] = {
        {0, false, 640, 480},   {2, true, 1024, 768},     {3, true, 1280, 720},   {5, false, 1920, 1080},
        // The desktop's own size full screen; in a window the room it has.
        {7, false, 1920, 1080}, {7, true, 1912, 1000},
        // Larger than this desktop (a configuration from a larger one): the desktop's own.
        {6, false, 1920, 1080}, {6, true, 1912, 1000},
        // A size this build doesn't know is the first one.
        {8, false, 640, 480},   {-1, true, 640, 480},
    };
    for (const Case& c : cases) {
        int w = 0, h = 0;
        ResolveDisplaySize(c.displaySize, c.windowed, 1920, 1080, 1912, 1000, w, h);
        EXPECT_EQ(w, c.width) << c.displaySize << (c.windowed ? " windowed" : " full screen");
        EXPECT_EQ(h, c.height) << c.displaySize << (c.windowed ? " windowed" : " full screen");
    }
    // A desktop nobody can ask about: the size the game was made for.
    int w = 0, h = 0;
    ResolveDisplaySize(7, false, 0, 0, 0, 0, w, h);
    EXPECT_EQ(w * 1000 + h, 640 * 1000 + 480);
    // Offered on a 1600 x 900 desktop: the three classic sizes, 1280 x 720,
    // 1600 x 900 and Desktop, not the larger ones.
    std::vector<int> offered;
    for (int s = 0; s <= DesktopSize; ++s)
        if (DisplaySizeFits(s, 1600, 900)) offered.push_back(s);
    EXPECT_EQ(offered, (std::vector<int>{0, 1, 2, 3, 4, 7}));
}

TEST(SettingsTable, UiScaleIsTheLargestThatFitsOrTheChoiceBelowIt) {
    struct Case {
        int choice, width, height, scale;
    } cases[] = {
        {0, 640, 480, 1},  {0, 1024, 768, 1}, {0, 1280, 720, 1},  {0, 1920, 1080, 2}, {0, 2560, 1440, 3},
        {0, 1279, 960, 1}, {0, 100, 100, 1},  {2, 2560, 1440, 2}, {1, 1920, 1080, 1},
        // Larger than fits: the menus would leave the screen.
        {3, 1920, 1080, 2}, {3, 640, 480, 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ChooseUiScale(c.choice, c.width, c.height), c.scale) << c.choice << " " << c.width << "x" << c.height;
}

// Every setting is one row: what the parser reads, the writer writes after the
// four described lines, and what an unknown value falls back to.
TEST(SettingsTable, RowsAreReadAndWrittenByKey) {
    ControlSettings settings;
    ParseConfig("UiScale=2\nDispSize=7\nWindow=5\nFrameRate=144\n", settings);
    EXPECT_EQ(settings.uiScale, 2);
    EXPECT_EQ(settings.displaySize, 7);
    EXPECT_EQ(settings.windowed, 1) << "any window mode but 0 is a window";
    EXPECT_EQ(settings.frameRate, 144);
    ParseConfig("UiScale=4\nDispSize=8\nFrameRate=50\n", settings);
    EXPECT_EQ(settings.uiScale, 0);
    EXPECT_EQ(settings.displaySize, 0);
    EXPECT_EQ(settings.frameRate, 0);

    settings.windowModeChoice = 1;
    settings.displaySizeChoice = 5;
    settings.uiScaleChoice = 3;
    const std::string text = FormatConfig(settings);
    EXPECT_EQ(text.substr(0, text.find("Keys=")), "Window=1\nDispSize=5\n");
    EXPECT_NE(text.find("\nFrameRate=0\nUiScale=3\n"), std::string::npos) << text;
    // Each row's labels are what the settings screen shows.
    EXPECT_STREQ(SettingRowFor(&ControlSettings::displaySize).choices[7].label, "Desktop");
    EXPECT_EQ(SettingRowFor(&ControlSettings::frameRate).IndexOf(-1), 4);
}
