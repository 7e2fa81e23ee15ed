#include "support/TempDir.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "starmarch-test-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    path = pattern;
}

TempDir::~TempDir() {
    std::error_code error;
    // A test may have made the folder read-only; give the rights back first.
    std::filesystem::permissions(path, std::filesystem::perms::owner_all, error);
    std::filesystem::remove_all(path, error);
}

bool TempDir::Exists(const std::string& name) const { return std::filesystem::exists(path + "/" + name); }

void TempDir::Write(const std::string& name, const std::string& text) const {
    std::ofstream file(path + "/" + name, std::ios::binary);
    file << text;
}

std::string TempDir::Read(const std::string& name) const {
    std::ifstream file(path + "/" + name, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}
