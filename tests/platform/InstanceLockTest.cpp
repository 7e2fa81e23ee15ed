#include "platform/InstanceLock.h"
#include "platform/Log.h"
#include "support/ScopedEnv.h"
#include "support/TempDir.h"

#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

TEST(InstanceLock, SecondHolderIsRefusedUntilTheFirstLetsGo) {
    TempDir dir;
    ScopedEnv runtime("XDG_RUNTIME_DIR", dir.path.c_str());
    EXPECT_EQ(InstanceLock::PathFor("qrv mutex"), dir.path + "/qrv-mutex.lock");
    {
        InstanceLock first, second;
        EXPECT_TRUE(first.Acquire("qrv mutex"));
        EXPECT_FALSE(second.Acquire("qrv mutex"));
        EXPECT_FALSE(second.Held());
        first.Release();
        EXPECT_TRUE(second.Acquire("qrv mutex"));
    }
    InstanceLock third;
    EXPECT_TRUE(third.Acquire("qrv mutex")) << "the lock goes with its holder";
}

// Nobody else can hold the lock first: a runtime folder that others can write
// to, or that is someone else's, is passed over for a private folder in the
// user's own cache, made 0700.
TEST(InstanceLock, LivesInAFolderNobodyElseCanWrite) {
    TempDir runtime, home;
    ScopedEnv homeVariable("HOME", home.path.c_str());
    ScopedEnv cacheVariable("XDG_CACHE_HOME", nullptr);
    ScopedEnv runtimeVariable("XDG_RUNTIME_DIR", runtime.path.c_str());
    const std::string privateFolder = home.path + "/.cache/starmarch";

    chmod(runtime.path.c_str(), 01777);
    EXPECT_EQ(InstanceLock::PathFor("qrv mutex"), privateFolder + "/qrv-mutex.lock") << "world-writable";
    struct stat info {};
    ASSERT_EQ(stat(privateFolder.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0700u);
    EXPECT_EQ(info.st_uid, geteuid());
    chmod(runtime.path.c_str(), 0700);
    {
        ScopedEnv unset("XDG_RUNTIME_DIR", nullptr);
        EXPECT_EQ(InstanceLock::PathFor("qrv mutex"), privateFolder + "/qrv-mutex.lock")
            << "no runtime folder";
    }
    if (geteuid() != 0) return; // only root can give a folder to someone else
    ASSERT_EQ(chown(runtime.path.c_str(), 4321, 4321), 0);
    EXPECT_EQ(InstanceLock::PathFor("qrv mutex"), privateFolder + "/qrv-mutex.lock") << "someone else's";
}

// Someone else's lock file, or no private folder at all, never keeps the
// player from playing: the game starts without the guard and says why.
TEST(InstanceLock, ALockThatCannotBeHadLetsThePlayerPlay) {
    TempDir home;
    ScopedEnv runtimeVariable("XDG_RUNTIME_DIR", nullptr);
    ScopedEnv cacheVariable("XDG_CACHE_HOME", nullptr);
    ScopedEnv homeVariable("HOME", home.path.c_str());
    const std::string folder = home.path + "/.cache/starmarch";
    ScopedLogCapture log;

    std::filesystem::create_directories(folder);
    chmod(folder.c_str(), 0777);
    InstanceLock lock;
    EXPECT_TRUE(lock.Acquire("qrv mutex"));
    EXPECT_FALSE(lock.Held());
    EXPECT_NE(log.text.find("多重起動の確認ができません"), std::string::npos) << log.text;
    EXPECT_FALSE(std::filesystem::exists(folder + "/qrv-mutex.lock"));

    if (geteuid() != 0) return; // only root can make a file that belongs to someone else
    chmod(folder.c_str(), 0700);
    const std::string planted = folder + "/qrv-mutex.lock";
    int fd = open(planted.c_str(), O_RDWR | O_CREAT, 0666);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(fchown(fd, 4321, 4321), 0);
    close(fd);
    log.text.clear();
    EXPECT_TRUE(lock.Acquire("qrv mutex"));
    EXPECT_FALSE(lock.Held());
    EXPECT_NE(log.text.find(planted), std::string::npos) << log.text;
}
