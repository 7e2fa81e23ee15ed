#pragma once

#include <string>

// Keeps a second copy of the game from starting: an exclusive lock on a
// per-user file named after the game's mutex. The kernel drops the lock when
// the process ends, however it ends.
class InstanceLock {
public:
    InstanceLock() = default;
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;
    ~InstanceLock() { Release(); }

    // True when this process now holds the lock; false when another does.
    bool Acquire(const std::string& name);
    void Release();
    bool Held() const { return fd >= 0; }

    // $XDG_RUNTIME_DIR/<name>.lock, else /tmp/<name>-<uid>.lock.
    static std::string PathFor(const std::string& name);

private:
    int fd = -1;
};
