#include "game/flow/Config.h"
#include "platform/Log.h"
#include "support/TempDir.h"

#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The four lines the game always wrote, byte for byte, then the settings it
// gained since.
const std::string describedLines = "Window=0\n"
                                   "DispSize=0\n"
                                   "Keys=44,45,208,200,203,205,30,31,57,15,23,47,33,25,31,57,28,35,36,\n"
                                   "Joys=-1,-1,-1,-1,-1,-1,-1,-1,-1,-1,-1,-1,-1,-1,-1,-1,-1,-1,-1,\n";
const std::string defaultFile = describedLines + "FrameRate=0\nUiScale=0\nPadPointer=1\n";

ControlSettings Parsed(const std::string& text) {
    ControlSettings settings;
    ParseConfig(text, settings);
    return settings;
}

// The first entries of a key or pad button list.
std::vector<int> Head(const std::array<int, ActionCount>& list, size_t count) {
    return {list.begin(), list.begin() + std::ptrdiff_t(count)};
}

} // namespace

TEST(Config, MissingFileGivesDefaultsAndTheDefaultFileIsWrittenAtExit) {
    TempDir dir;
    ControlSettings settings;
    settings.windowed = 1;
    ReadConfig(settings, dir.path + "/");
    EXPECT_EQ(settings.windowed, 0);
    EXPECT_EQ(settings.DisplayWidth(), 640);
    EXPECT_EQ(settings.DisplayHeight(), 480);
    EXPECT_EQ(settings.actionKey[StopOrder], 0x1F);
    EXPECT_EQ(settings.actionPadButton[MyFighter], -1);
    ASSERT_TRUE(SaveConfig(settings, dir.path + "/"));
    EXPECT_EQ(dir.Read(ConfigFileName), defaultFile);
    EXPECT_FALSE(dir.Exists("Starmarch.cfg.new"));
}

TEST(Config, ChoicesRoundTripAndTakeEffectOnlyAtTheNextStart) {
    TempDir dir;
    dir.Write(ConfigFileName, "Window=1\nDispSize=1\nKeys=1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,255,\n"
                              "Joys=0,1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,-1,-1,3,\n");
    ControlSettings settings;
    ReadConfig(settings, dir.path + "/");
    EXPECT_EQ(settings.windowed, 1);
    EXPECT_EQ(settings.DisplayWidth(), 800);
    EXPECT_EQ(settings.actionKey[0], 1);
    EXPECT_EQ(settings.actionKey[18], 255);
    EXPECT_EQ(settings.actionPadButton[15], 15);
    EXPECT_EQ(settings.actionPadButton[18], 3);

    // The settings screen changes the choices; the running game keeps its mode.
    settings.windowModeChoice = 0;
    settings.displaySizeChoice = 2;
    ASSERT_TRUE(SaveConfig(settings, dir.path + "/"));
    EXPECT_EQ(settings.DisplayWidth(), 800);

    ControlSettings next;
    ReadConfig(next, dir.path + "/");
    EXPECT_EQ(next.windowed, 0);
    EXPECT_EQ(next.DisplayWidth(), 1024);
    EXPECT_EQ(next.DisplayHeight(), 768);
    EXPECT_EQ(next.actionKey, settings.actionKey);
    EXPECT_EQ(next.actionPadButton, settings.actionPadButton);
    EXPECT_EQ(dir.Read(ConfigFileName), FormatConfig(next));
}

// A setting added after the four lines: a file without it (any older game's)
// or with a value this build doesn't offer reads as the default.
TEST(Config, LaterSettingsReadByKeyWithDefaults) {
    struct Case {
        std::string line;
        int frameRate;
        int padPointer = 1;
    };
    const Case cases[] = {{"", 0},
                          {"FrameRate=30\n", 30},
                          {"FrameRate=-1\n", -1},
                          {"FrameRate=144\n", 144},
                          {"FrameRate=75\n", 0},
                          {"FrameRate=fast\n", 0},
                          {"FrameRate=99999999999\n", 0},
                          {"PadPointer=0\n", 0, 0},
                          {"PadPointer=1\n", 0, 1},
                          {"PadPointer=7\n", 0, 1},
                          {"PadPointer=off\n", 0, 1}};
    for (const Case& c : cases) {
        ControlSettings settings = Parsed(describedLines + c.line);
        EXPECT_EQ(settings.frameRate, c.frameRate) << c.line;
        EXPECT_EQ(settings.padPointer, c.padPointer) << c.line;
        EXPECT_EQ(settings.actionKey, ControlSettings().actionKey) << c.line;
    }
    // Before the four lines it reads too; the game writes it after them.
    ControlSettings settings = Parsed("PadPointer=0\nFrameRate=120\n" + describedLines);
    EXPECT_EQ(settings.frameRate, 120);
    EXPECT_EQ(FormatConfig(settings), describedLines + "FrameRate=120\nUiScale=0\nPadPointer=0\n");
}

TEST(Config, DamagedFilesKeepDefaultsForWhatCannotBeRead) {
    ControlSettings defaults;

    // Truncated in the middle of the key list: the keys read so far count.
    ControlSettings truncated = Parsed("Window=1\nDispSize=2\nKeys=16,17,1");
    EXPECT_EQ(truncated.windowed, 1);
    EXPECT_EQ(truncated.displaySize, 2);
    EXPECT_EQ(Head(truncated.actionKey, 4), (std::vector<int>{16, 17, 1, defaults.actionKey[3]}));
    EXPECT_EQ(truncated.actionPadButton, defaults.actionPadButton);

    // Lines in another order and Windows line ends.
    ControlSettings shuffled = Parsed("Joys=7,\r\nKeys=30,\r\nDispSize=1\r\nWindow=1\r\n");
    EXPECT_EQ(shuffled.windowed, 1);
    EXPECT_EQ(shuffled.displaySize, 1);
    EXPECT_EQ(shuffled.actionKey[0], 30);
    EXPECT_EQ(shuffled.actionPadButton[0], 7);

    // Words, huge numbers and a size the game doesn't have.
    ControlSettings garbage = Parsed("Window=yes\nDispSize=8\nKeys=abc,\nJoys=99999999999999999999,2,\n");
    EXPECT_EQ(garbage.windowed, 0);
    EXPECT_EQ(garbage.displaySize, 0);
    EXPECT_EQ(garbage.actionKey, defaults.actionKey);
    EXPECT_EQ(garbage.actionPadButton, defaults.actionPadButton);
    EXPECT_EQ(Parsed("DispSize=-1\n").displaySize, 0);
    EXPECT_EQ(Parsed("DispSize=2147483648\n").displaySize, 0);
    EXPECT_EQ(Parsed("Window=-4\n").windowed, 1);

    // Codes that would index outside the key and pad tables read as unassigned.
    ControlSettings outOfRange = Parsed("Keys=256,-2,0,1000000,\nJoys=16,-5,15,0,\n");
    EXPECT_EQ(Head(outOfRange.actionKey, 4), (std::vector<int>{-1, -1, 0, -1}));
    EXPECT_EQ(Head(outOfRange.actionPadButton, 4), (std::vector<int>{-1, -1, 15, 0}));

    // More entries than actions are ignored, not written past the end.
    std::string many = "Keys=";
    for (int i = 0; i < 500; ++i) many += "2,";
    ControlSettings tooMany = Parsed(many);
    for (int key : tooMany.actionKey) EXPECT_EQ(key, 2);
}

TEST(Config, UnwritableFolderIsSkippedAndTheOldFileSurvives) {
    TempDir dir;
    dir.Write(ConfigFileName, "Window=1\n");
    // Root writes anywhere: for root, a folder below a file stands in.
    std::string folder = dir.path + (geteuid() == 0 ? "/" + std::string(ConfigFileName) + "/" : "/");
    chmod(dir.path.c_str(), 0555);
    EXPECT_FALSE(SaveConfig(ControlSettings(), folder));
    chmod(dir.path.c_str(), 0755);
    EXPECT_EQ(dir.Read(ConfigFileName), "Window=1\n");
}

namespace {

// What a folder holds: for every entry its kind, mode and (files) text or
// (links) target.
struct Entry {
    std::filesystem::file_type type;
    unsigned mode;
    std::string content;
    bool operator==(const Entry&) const = default;
};
using Tree = std::map<std::string, Entry>;

Tree Snapshot(const TempDir& a, const TempDir& b) {
    namespace fs = std::filesystem;
    Tree tree;
    for (const TempDir* folder : {&a, &b})
        for (const auto& item : fs::recursive_directory_iterator(folder->path)) {
            fs::file_status status = item.symlink_status();
            std::string content;
            if (status.type() == fs::file_type::symlink) content = fs::read_symlink(item.path()).string();
            if (status.type() == fs::file_type::regular)
                content = folder->Read(fs::relative(item.path(), folder->path).string());
            tree[item.path().string()] = {status.type(), unsigned(status.permissions()), content};
        }
    return tree;
}

} // namespace

// Saving never overrides what the player did to the file system: a file with
// no write permission (even for root) is left exactly as it is, a link stays
// a link and the file it leads to is written (made when missing), a folder or
// a file that has the temporary name is never touched, and the written file
// keeps its mode. Nothing else in either folder changes.
TEST(Config, SavingRespectsReadOnlyFilesAndLinks) {
    namespace fs = std::filesystem;
    const std::string cfg = ConfigFileName;
    struct Case {
        const char* name;
        // Prepares the game's folder and another one.
        std::function<void(const TempDir& dir, const TempDir& elsewhere)> setUp;
        // The file the text must land in, or nullptr when nothing may change.
        const char* written;
        bool inElsewhere;
    };
    auto oldFile = [](const TempDir& folder, const std::string& name, mode_t mode) {
        folder.Write(name, "Window=1\n");
        chmod((folder.path + "/" + name).c_str(), mode);
    };
    const Case cases[] = {
        {"read-only file", [&](const TempDir& dir, const TempDir&) { oldFile(dir, cfg, 0444); }, nullptr,
         false},
        {"link to a read-only file",
         [&](const TempDir& dir, const TempDir& elsewhere) {
             oldFile(elsewhere, "mine.cfg", 0400);
             fs::create_symlink(elsewhere.path + "/mine.cfg", dir.path + "/" + cfg);
         },
         nullptr, false},
        {"link to a folder",
         [&](const TempDir& dir, const TempDir& elsewhere) {
             fs::create_directory_symlink(elsewhere.path, dir.path + "/" + cfg);
         },
         nullptr, false},
        {"link to a file elsewhere",
         [&](const TempDir& dir, const TempDir& elsewhere) {
             oldFile(elsewhere, "mine.cfg", 0640);
             fs::create_symlink(elsewhere.path + "/mine.cfg", dir.path + "/" + cfg);
         },
         "mine.cfg", true},
        {"relative link to a file not there yet",
         [&](const TempDir& dir, const TempDir&) {
             fs::create_directory(dir.path + "/keep");
             fs::create_symlink("keep/mine.cfg", dir.path + "/" + cfg);
         },
         "keep/mine.cfg", false},
        {"temporary name already taken",
         [&](const TempDir& dir, const TempDir&) {
             oldFile(dir, cfg, 0600);
             dir.Write(cfg + ".new", "not ours");
         },
         ConfigFileName, false},
    };
    const std::string saved = FormatConfig(ControlSettings());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir, elsewhere;
        c.setUp(dir, elsewhere);
        Tree before = Snapshot(dir, elsewhere);
        ScopedLogCapture log;
        EXPECT_EQ(SaveConfig(ControlSettings(), dir.path + "/"), c.written != nullptr);
        EXPECT_EQ(log.text.find("を保存しません") != std::string::npos, c.written == nullptr) << log.text;
        Tree after = Snapshot(dir, elsewhere);
        if (c.written) {
            std::string path = (c.inElsewhere ? elsewhere : dir).path + "/" + c.written;
            ASSERT_TRUE(after.count(path));
            EXPECT_EQ(after[path].content, saved);
            EXPECT_EQ(after[path].type, fs::file_type::regular);
            if (before.count(path)) {
                EXPECT_EQ(after[path].mode, before[path].mode);
            }
            after.erase(path);
            before.erase(path);
        }
        EXPECT_EQ(after, before);
    }
}
