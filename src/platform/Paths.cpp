#include "platform/Paths.h"

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

bool IsFolder(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// Anything under that name, a dangling link included.
bool IsThere(const std::string& path) {
    struct stat info {};
    return lstat(path.c_str(), &info) == 0;
}

std::string WithSlash(std::string folder) {
    if (folder.empty() || folder.back() != '/') folder += '/';
    return folder;
}

// "/usr/bin/../share/starmarch/" -> "/usr/share/starmarch/".
std::string Normal(const std::string& folder) {
    return WithSlash(std::filesystem::path(folder).lexically_normal().string());
}

std::string Variable(const PathSources& sources, const char* name) {
    auto found = sources.environment.find(name);
    return found == sources.environment.end() ? std::string() : found->second;
}

bool Absolute(const std::string& path) {
    return !path.empty() && path.front() == '/';
}

std::string HomeOf(const PathSources& sources) {
    std::string home = Variable(sources, "HOME");
    if (Absolute(home)) return home;
    return Absolute(sources.accountHome) ? sources.accountHome : std::string();
}

// $NAME when it is absolute, else the home folder's `fallback`, else empty.
std::string BaseFolder(const PathSources& sources, const char* name, const char* fallback) {
    std::string value = Variable(sources, name);
    if (Absolute(value)) return WithSlash(value);
    std::string home = HomeOf(sources);
    return home.empty() ? std::string() : WithSlash(home) + fallback;
}

// The pictures folder the desktop's user-dirs.dirs names ("$HOME/..." or an
// absolute path); empty when it names none, or only the home folder itself.
std::string PicturesFromUserDirs(const std::string& configHome, const std::string& home) {
    std::ifstream file(configHome + "user-dirs.dirs");
    std::string line;
    const std::string key = "XDG_PICTURES_DIR=\"";
    while (std::getline(file, line)) {
        if (line.compare(0, key.size(), key) != 0) continue;
        size_t end = line.find('"', key.size());
        if (end == std::string::npos) return "";
        std::string value = line.substr(key.size(), end - key.size());
        if (value.compare(0, 5, "$HOME") == 0) {
            if (home.empty()) return "";
            value = home + value.substr(5);
        }
        if (!Absolute(value) || Normal(value) == Normal(home)) return "";
        return WithSlash(value);
    }
    return "";
}

} // namespace

GamePaths ResolvePaths(const PathSources& sources) {
    GamePaths paths;
    paths.program = WithSlash(sources.program);
    const std::string installedData = Normal(paths.program + "../share/starmarch/");
    const bool dataBeside = IsFolder(paths.program + "Data");
    const bool installed = !dataBeside && IsFolder(installedData + "Data");
    paths.portable = sources.programWritable && !installed;
    paths.sounds = installed ? installedData : paths.program;

    if (paths.portable) {
        paths.config = paths.log = paths.program;
        paths.screenshots = paths.program + "screenshots/";
        paths.replays = paths.program + "replays/";
        return paths;
    }
    // A folder that can't be placed in a home stays beside the binary.
    auto under = [&](const std::string& base, const std::string& rest) {
        return base.empty() ? paths.program : base + rest;
    };
    const std::string home = HomeOf(sources);
    const std::string configHome = BaseFolder(sources, "XDG_CONFIG_HOME", ".config/");
    paths.config = under(configHome, "starmarch/");
    paths.log = under(BaseFolder(sources, "XDG_STATE_HOME", ".local/state/"), "starmarch/");
    paths.replays = under(BaseFolder(sources, "XDG_DATA_HOME", ".local/share/"), "starmarch/replays/");

    std::string pictures = Variable(sources, "XDG_PICTURES_DIR");
    pictures = Absolute(pictures) ? WithSlash(pictures) : std::string();
    if (pictures.empty() && !configHome.empty()) pictures = PicturesFromUserDirs(configHome, home);
    if (pictures.empty() && !home.empty()) pictures = WithSlash(home) + "Pictures/";
    paths.screenshots = under(pictures, "Starmarch/");

    // The player's own file beside the binary wins over the per-user one.
    if (IsThere(paths.program + GamePaths::ConfigName)) paths.config = paths.program;
    return paths;
}

std::string UserHomeFolder() {
    const char* home = std::getenv("HOME");
    if (home && home[0] == '/') return home;
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* found = nullptr;
    if (getpwuid_r(geteuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found && found->pw_dir &&
        found->pw_dir[0] == '/')
        return found->pw_dir;
    return "";
}

PathSources CurrentPathSources(const std::string& program) {
    PathSources sources;
    sources.program = program;
    sources.programWritable = access(program.c_str(), W_OK) == 0;
    for (const char* name :
         {"HOME", "XDG_CONFIG_HOME", "XDG_STATE_HOME", "XDG_DATA_HOME", "XDG_PICTURES_DIR"})
        if (const char* value = std::getenv(name)) sources.environment[name] = value;
    sources.accountHome = UserHomeFolder();
    return sources;
}

bool MakePrivateFolder(const std::string& folder) {
    if (folder.empty()) return false;
    std::string path;
    size_t start = 0;
    while (start < folder.size()) {
        size_t slash = folder.find('/', start + 1);
        if (slash == std::string::npos) slash = folder.size();
        path = folder.substr(0, slash);
        start = slash;
        if (path.empty() || path == "/") continue;
        if (mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) return false;
    }
    return IsFolder(folder);
}
