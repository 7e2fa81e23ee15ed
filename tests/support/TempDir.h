#pragma once

#include <string>

// A fresh folder under the system's temporary directory, removed with
// everything in it when the test ends.
struct TempDir {
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    bool Exists(const std::string& name) const;
    void Write(const std::string& name, const std::string& text) const;
    std::string Read(const std::string& name) const;

    std::string path;
};
