#pragma once

#include <string>

// Keeps a second copy of the game from starting: an exclusive lock on a file
// named after the game's mutex, in a folder only this user can write to. The
// kernel drops the lock when the process ends, however it ends.
class InstanceLock {
public:
    InstanceLock() = default;
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;
    ~InstanceLock() { Release(); }

    // False only when another copy holds the lock. A lock that can't be made
    // (no private folder, a file that isn't ours, a file system without
    // locks) never keeps the player from playing: it logs why and answers true.
    bool Acquire(const std::string& name);
    void Release();
    bool Held() const { return fd >= 0; }

    // $XDG_RUNTIME_DIR/<name>.lock when that folder is the user's own and
    // nobody else can write to it; otherwise <name>.lock in the private
    // folder starmarch under $XDG_CACHE_HOME (or ~/.cache), made 0700 when
    // missing. Empty when neither folder can be trusted.
    static std::string PathFor(const std::string& name);

private:
    int fd = -1;
};
