#include "game/replay/ReplayFiles.h"

#include "game/replay/ReplayFormat.h"
#include "platform/Paths.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace fs = std::filesystem;

namespace {
constexpr const char* Prefix = "battle-";

bool IsOurs(const fs::path& path) {
    const std::string name = path.filename().string();
    const std::string extension = replay::Extension;
    return name.rfind(Prefix, 0) == 0 && name.size() > extension.size() &&
           name.compare(name.size() - extension.size(), extension.size(), extension) == 0;
}
} // namespace

std::string SaveReplay(const std::string& folder, const std::vector<uint8_t>& bytes, int keep,
                       std::string& error) {
    std::error_code ec;
    if (!MakePrivateFolder(folder)) {
        error = "cannot make the replays folder " + folder;
        return {};
    }
    // Names sort by time: battle-YYYYMMDD-HHMMSS-NNN.smreplay.
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
    fs::path path;
    for (int n = 0;; ++n) {
        char counter[16];
        std::snprintf(counter, sizeof counter, "-%03d", n);
        path = fs::path(folder) / (std::string(Prefix) + stamp + counter + replay::Extension);
        if (!fs::exists(path, ec)) break;
        if (n >= 999) {
            error = "no free replay name in " + folder;
            return {};
        }
    }
    // Written beside, then renamed: a replay is there whole or not at all.
    fs::path part = path;
    part += ".part";
    {
        std::ofstream file(part, std::ios::binary | std::ios::trunc);
        file.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        file.close();
        if (!file) {
            fs::remove(part, ec);
            error = "cannot write " + part.string();
            return {};
        }
    }
    fs::rename(part, path, ec);
    if (ec) {
        fs::remove(part, ec);
        error = "cannot write " + path.string();
        return {};
    }

    std::vector<fs::path> ours;
    for (const auto& entry : fs::directory_iterator(folder, ec))
        if (entry.is_regular_file(ec) && IsOurs(entry.path())) ours.push_back(entry.path());
    std::sort(ours.begin(), ours.end());
    for (size_t i = 0; i + size_t(std::max(keep, 1)) < ours.size(); ++i) fs::remove(ours[i], ec);
    return path.string();
}
