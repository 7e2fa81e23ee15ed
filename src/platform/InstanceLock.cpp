#include "platform/InstanceLock.h"

#include "platform/Log.h"
#include "platform/Paths.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A folder that belongs to this user and that nobody else can write to, so
// nobody else can put the lock file there first.
bool IsPrivateFolder(const std::string& path) {
    struct stat info {};
    return !path.empty() && path.front() == '/' && stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode) &&
           info.st_uid == geteuid() && (info.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

} // namespace

std::string InstanceLock::PathFor(const std::string& name) {
    std::string file = name;
    for (char& c : file)
        if (c == ' ' || c == '/') c = '-';
    file += ".lock";

    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime && IsPrivateFolder(runtime)) return std::string(runtime) + "/" + file;

    // The user's cache folder is made when missing, but never the home itself.
    const char* cache = std::getenv("XDG_CACHE_HOME");
    std::string folder;
    if (cache && cache[0] == '/') {
        folder = cache;
    } else {
        std::string home = UserHomeFolder();
        if (home.empty()) return "";
        folder = home + "/.cache";
    }
    mkdir(folder.c_str(), 0700);
    folder += "/starmarch";
    mkdir(folder.c_str(), 0700);
    if (!IsPrivateFolder(folder)) return "";
    return folder + "/" + file;
}

bool InstanceLock::Acquire(const std::string& name) {
    Release();
    std::string path = PathFor(name);
    if (path.empty()) {
        Log("多重起動の確認ができません: ロック用の自分だけのフォルダがありません.\n");
        return true;
    }
    int handle = open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600);
    if (handle < 0) {
        Log("多重起動の確認ができません: %s: %s\n", path.c_str(), std::strerror(errno));
        return true;
    }
    // Only a plain file of our own is a lock: whatever someone else made is left alone.
    struct stat info {};
    if (fstat(handle, &info) != 0 || !S_ISREG(info.st_mode) || info.st_uid != geteuid()) {
        close(handle);
        Log("多重起動の確認ができません: %s は自分のファイルではありません.\n", path.c_str());
        return true;
    }
    if (flock(handle, LOCK_EX | LOCK_NB) != 0) {
        int error = errno;
        close(handle);
        if (error == EWOULDBLOCK) return false;
        Log("多重起動の確認ができません: %s: %s\n", path.c_str(), std::strerror(error));
        return true;
    }
    fd = handle;
    return true;
}

void InstanceLock::Release() {
    if (fd < 0) return;
    flock(fd, LOCK_UN);
    close(fd);
    fd = -1;
}
