#include "platform/Paths.h"

#include "support/TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

// A prefix in a temporary folder: P/bin/ holds the binary, and the sounds
// are either beside it (a build tree, an archive) or installed in
// P/share/starmarch/Data.
struct Prefix {
    enum Sounds { Beside, Installed, Nowhere };
    explicit Prefix(Sounds sounds) {
        std::filesystem::create_directories(dir.path + "/bin");
        if (sounds == Beside) std::filesystem::create_directories(dir.path + "/bin/Data");
        if (sounds == Installed) std::filesystem::create_directories(dir.path + "/share/starmarch/Data");
    }
    PathSources Sources(bool writable, std::map<std::string, std::string> environment) const {
        return {dir.path + "/bin/", writable, std::move(environment), "/home/account"};
    }
    TempDir dir;
};

} // namespace

TEST(Paths, PortableCopiesKeepEverythingBesideTheBinaryInstalledOnesUseTheXdgFolders) {
    struct Case {
        const char* what;
        Prefix::Sounds sounds;
        bool writable;
        std::map<std::string, std::string> environment;
        // Relative to the prefix when they start with "P/".
        std::string config, log, sounds_, screenshots, replays;
    } cases[] = {
        {"a build tree",
         Prefix::Beside,
         true,
         {{"HOME", "/home/me"}},
         "P/bin/",
         "P/bin/",
         "P/bin/",
         "P/bin/screenshots/",
         "P/bin/replays/"},
        {"an installed copy",
         Prefix::Installed,
         false,
         {{"HOME", "/home/me"}},
         "/home/me/.config/starmarch/",
         "/home/me/.local/state/starmarch/",
         "P/share/starmarch/",
         "/home/me/Pictures/Starmarch/",
         "/home/me/.local/share/starmarch/replays/"},
        {"an install into a prefix the player may write",
         Prefix::Installed,
         true,
         {{"HOME", "/home/me"}},
         "/home/me/.config/starmarch/",
         "/home/me/.local/state/starmarch/",
         "P/share/starmarch/",
         "/home/me/Pictures/Starmarch/",
         "/home/me/.local/share/starmarch/replays/"},
        {"the XDG folders the environment names",
         Prefix::Installed,
         false,
         {{"HOME", "/home/me"},
          {"XDG_CONFIG_HOME", "/c"},
          {"XDG_STATE_HOME", "/s/"},
          {"XDG_DATA_HOME", "/d"},
          {"XDG_PICTURES_DIR", "/p"}},
         "/c/starmarch/",
         "/s/starmarch/",
         "P/share/starmarch/",
         "/p/Starmarch/",
         "/d/starmarch/replays/"},
        {"relative XDG folders are ignored",
         Prefix::Installed,
         false,
         {{"HOME", "/home/me"}, {"XDG_CONFIG_HOME", "c"}, {"XDG_STATE_HOME", ""}, {"XDG_PICTURES_DIR", "p"}},
         "/home/me/.config/starmarch/",
         "/home/me/.local/state/starmarch/",
         "P/share/starmarch/",
         "/home/me/Pictures/Starmarch/",
         "/home/me/.local/share/starmarch/replays/"},
        {"no HOME: the account's home",
         Prefix::Installed,
         false,
         {},
         "/home/account/.config/starmarch/",
         "/home/account/.local/state/starmarch/",
         "P/share/starmarch/",
         "/home/account/Pictures/Starmarch/",
         "/home/account/.local/share/starmarch/replays/"},
        {"a read-only folder without sounds anywhere",
         Prefix::Nowhere,
         false,
         {{"HOME", "/home/me"}},
         "/home/me/.config/starmarch/",
         "/home/me/.local/state/starmarch/",
         "P/bin/",
         "/home/me/Pictures/Starmarch/",
         "/home/me/.local/share/starmarch/replays/"},
    };
    for (const Case& c : cases) {
        Prefix prefix(c.sounds);
        auto full = [&](const std::string& path) {
            return path.rfind("P/", 0) == 0 ? prefix.dir.path + path.substr(1) : path;
        };
        GamePaths paths = ResolvePaths(prefix.Sources(c.writable, c.environment));
        EXPECT_EQ(paths.config, full(c.config)) << c.what;
        EXPECT_EQ(paths.log, full(c.log)) << c.what;
        EXPECT_EQ(paths.sounds, full(c.sounds_)) << c.what;
        EXPECT_EQ(paths.screenshots, full(c.screenshots)) << c.what;
        EXPECT_EQ(paths.replays, full(c.replays)) << c.what;
        // Deciding creates nothing.
        EXPECT_FALSE(prefix.dir.Exists("home")) << c.what;
    }
}

TEST(Paths, AConfigurationBesideTheBinaryWinsAndUserDirsNameThePictures) {
    Prefix prefix(Prefix::Installed);
    const std::string& p = prefix.dir.path;
    std::filesystem::create_directories(p + "/config");
    prefix.dir.Write("config/user-dirs.dirs", "# written by the desktop\nXDG_DESKTOP_DIR=\"$HOME/Desktop\"\n"
                                              "XDG_PICTURES_DIR=\"$HOME/Bilder\"\n");
    std::map<std::string, std::string> environment = {{"HOME", "/home/me"},
                                                      {"XDG_CONFIG_HOME", p + "/config"}};
    GamePaths paths = ResolvePaths(prefix.Sources(false, environment));
    EXPECT_EQ(paths.screenshots, "/home/me/Bilder/Starmarch/");
    EXPECT_EQ(paths.ConfigFile(), p + "/config/starmarch/Starmarch.cfg");

    // A pictures folder that is the home itself means none.
    prefix.dir.Write("config/user-dirs.dirs", "XDG_PICTURES_DIR=\"$HOME/\"\n");
    EXPECT_EQ(ResolvePaths(prefix.Sources(false, environment)).screenshots, "/home/me/Pictures/Starmarch/");
    // The environment wins over the file.
    environment["XDG_PICTURES_DIR"] = "/shots";
    EXPECT_EQ(ResolvePaths(prefix.Sources(false, environment)).screenshots, "/shots/Starmarch/");

    prefix.dir.Write("bin/Starmarch.cfg", "Window=1\n");
    paths = ResolvePaths(prefix.Sources(false, environment));
    EXPECT_EQ(paths.ConfigFile(), p + "/bin/Starmarch.cfg");
    // Only the configuration: the log stays the player's.
    EXPECT_EQ(paths.LogFile(), "/home/me/.local/state/starmarch/debug.txt");
}

TEST(Paths, PrivateFoldersAreMadeWithTheirParents) {
    TempDir dir;
    EXPECT_TRUE(MakePrivateFolder(dir.path + "/a/b/c/"));
    for (const char* folder : {"/a", "/a/b", "/a/b/c"}) {
        struct stat info {};
        ASSERT_EQ(stat((dir.path + folder).c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 0777, 0700u) << folder;
    }
    EXPECT_TRUE(MakePrivateFolder(dir.path + "/a/b/c")) << "a folder that is there is fine";
    dir.Write("file", "");
    EXPECT_FALSE(MakePrivateFolder(dir.path + "/file/d/"));
    EXPECT_FALSE(MakePrivateFolder(""));
}
