#include "platform/InstanceLock.h"

#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

std::string InstanceLock::PathFor(const std::string& name) {
    std::string file = name;
    for (char& c : file)
        if (c == ' ' || c == '/') c = '-';
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime && *runtime && access(runtime, W_OK) == 0) return std::string(runtime) + "/" + file + ".lock";
    return "/tmp/" + file + "-" + std::to_string(getuid()) + ".lock";
}

bool InstanceLock::Acquire(const std::string& name) {
    Release();
    int handle = open(PathFor(name).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    // A lock file we cannot even create must not keep the player from playing.
    if (handle < 0) return true;
    if (flock(handle, LOCK_EX | LOCK_NB) != 0) {
        close(handle);
        return false;
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
