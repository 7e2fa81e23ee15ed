#include "platform/CommandLine.h"
#include "platform/Log.h"
#include "platform/SystemInfo.h"
#include "support/TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace {

// Restores standard error as the destination whatever a test did.
struct LogDestinationGuard {
    ~LogDestinationGuard() {
        SetLogFile("");
        SetLogCapture(nullptr);
    }
};

} // namespace

TEST(Log, SystemInformationLineFormats) {
    std::tm time{};
    time.tm_year = 2026 - 1900;
    time.tm_mon = 2;
    time.tm_mday = 5;
    time.tm_hour = 9;
    time.tm_min = 7;
    EXPECT_EQ(FormatTimeLine(time), "2026/03/05  09:07\n");

    SystemInfo info;
    ParseKernelRelease("6.1.0-18-amd64", info.majorVersion, info.minorVersion, info.buildNumber);
    EXPECT_EQ(FormatOsLine(info), "OS = ID 0 ver, 6.1 build 0\n");
    ParseKernelRelease("5.15.133+rpt-rpi-v8", info.majorVersion, info.minorVersion, info.buildNumber);
    EXPECT_EQ(FormatOsLine(info), "OS = ID 0 ver, 5.15 build 133\n");
    ParseKernelRelease("weird", info.majorVersion, info.minorVersion, info.buildNumber);
    EXPECT_EQ(FormatOsLine(info), "OS = ID 0 ver, 0.0 build 0\n");

    info.availableMemoryBytes = (uint64_t(1536) << 20) + 12345;
    info.totalMemoryBytes = uint64_t(8192) << 20;
    EXPECT_EQ(FormatMemoryLine(info), "利用可能／搭載メモリ = 1536/8192 MB\n");

    SystemInfo here = QuerySystemInfo();
    EXPECT_GT(here.totalMemoryBytes, 0u);
    EXPECT_LE(here.availableMemoryBytes, here.totalMemoryBytes);
}

TEST(Log, DebugFileIsChosenOnlyWithTheSwitchAndAccumulatesRuns) {
    LogDestinationGuard guard;
    TempDir dir;

    InitDebugStream(CommandLine({"-DBF", "dbf", "-win"}), dir.path + "/state/starmarch/");
    EXPECT_FALSE(dir.Exists("state")) << "only the exact switch picks the file, and makes its folder";
    SetLogFile("");
    // A per-user log folder is made when the file is first chosen.
    InitDebugStream(CommandLine({"-dbf"}), dir.path + "/state/starmarch/");
    EXPECT_TRUE(dir.Exists("state/starmarch/debug.txt"));

    for (int run = 0; run < 2; ++run) {
        SetLogFile("");
        InitDebugStream(CommandLine({"-win", "-dbf"}), dir.path + "/");
        Log("run %d\n", run);
    }
    std::string text = dir.Read("debug.txt");
    std::string head = "----------------------------------------\nInitDebugStream\n";
    size_t first = text.find(head);
    ASSERT_EQ(first, 0u);
    size_t second = text.find(head, first + 1);
    ASSERT_NE(second, std::string::npos) << text;
    EXPECT_NE(text.find("run 0\n"), std::string::npos);
    EXPECT_LT(text.find("run 0\n"), second);
    EXPECT_GT(text.find("run 1\n"), second);
    EXPECT_NE(text.find("OS = ID "), std::string::npos);
    EXPECT_NE(text.find("利用可能／搭載メモリ = "), std::string::npos);
}

TEST(Log, LongLinesAreWrittenWholeAndAnUnwritableFileLosesOnlyItsLines) {
    LogDestinationGuard guard;
    std::string captured;
    SetLogCapture(&captured);
    std::string name(1000, 'x');
    Log("load(%s) ... ", name.c_str());
    Log("ok.\n");
    EXPECT_EQ(captured, "load(" + name + ") ... ok.\n");
    SetLogCapture(nullptr);

    // A log file whose folder is missing: the game goes on, nothing is made
    // on the way, and the file is opened afresh for every line, so once it
    // can be written the next line lands in it.
    TempDir dir;
    SetLogFile(dir.path + "/later/debug.txt");
    Log("lost line\n");
    LogSeparator();
    EXPECT_FALSE(dir.Exists("later"));
    std::filesystem::create_directory(dir.path + "/later");
    Log("kept line\n");
    EXPECT_EQ(dir.Read("later/debug.txt"), "kept line\n");
}

TEST(CommandLine, SwitchesMatchWholeArgumentsCaseSensitively) {
    const char* argv[] = {"-dbf", "-Win", "/3ds", "-full-", ""};
    CommandLine commandLine(5, argv);
    EXPECT_FALSE(commandLine.HasSwitch("-dbf")) << "the program name is not an argument";
    EXPECT_TRUE(commandLine.HasSwitch("/3ds"));
    EXPECT_FALSE(commandLine.HasSwitch("-win"));
    EXPECT_FALSE(commandLine.HasSwitch("-full"));
    EXPECT_TRUE(commandLine.HasSwitch(""));
    EXPECT_FALSE(CommandLine(1, argv).HasSwitch("-Win"));
    EXPECT_FALSE(CommandLine(0, nullptr).HasSwitch("-win"));
}
