#include "game/flow/Config.h"

#include "game/flow/SettingsTable.h"
#include "platform/Log.h"

#include <cerrno>
#include <charconv>
#include <climits>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// More than any file the game writes; a larger file is read only this far.
constexpr size_t MaxConfigBytes = 64 * 1024;

// Reads an optionally signed decimal after optional blanks, as %d does.
// Fails on no digits and on numbers that don't fit in 32 bits.
bool ReadNumber(std::string_view& rest, int& value) {
    size_t start = 0;
    while (start < rest.size() && (rest[start] == ' ' || rest[start] == '\t')) ++start;
    size_t pos = start;
    if (pos < rest.size() && rest[pos] == '+') ++pos;
    const char* first = rest.data() + pos;
    const char* last = rest.data() + rest.size();
    auto [end, error] = std::from_chars(first, last, value);
    if (error != std::errc()) return false;
    rest.remove_prefix(size_t(end - rest.data()));
    return true;
}

// Reads "n," entries until one fails; entries read outside lo..hi become -1.
template <size_t N> void ReadList(std::string_view rest, std::array<int, N>& values, int lo, int hi) {
    for (size_t i = 0; i < N; ++i) {
        int value = 0;
        if (!ReadNumber(rest, value)) return;
        values[i] = (value >= lo && value <= hi) ? value : -1;
        if (rest.empty() || rest.front() != ',') return;
        rest.remove_prefix(1);
    }
}

// Follows symbolic links to the file they end at, which may not exist yet.
// Empty for a loop of links.
std::string FollowLinks(std::string path) {
    for (int hops = 0; hops < 40; ++hops) {
        struct stat info {};
        if (lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return path;
        std::string target(PATH_MAX, '\0');
        ssize_t length = readlink(path.c_str(), target.data(), target.size());
        if (length <= 0 || size_t(length) >= target.size()) return "";
        target.resize(size_t(length));
        if (target.front() != '/') target = path.substr(0, path.rfind('/') + 1) + target;
        path = target;
    }
    return "";
}

bool WriteAll(int fd, std::string_view text) {
    while (!text.empty()) {
        ssize_t done = write(fd, text.data(), text.size());
        if (done < 0 && errno == EINTR) continue;
        if (done <= 0) return false;
        text.remove_prefix(size_t(done));
    }
    return true;
}

bool TakePrefix(std::string_view& line, std::string_view prefix) {
    if (line.substr(0, prefix.size()) != prefix) return false;
    line.remove_prefix(prefix.size());
    return true;
}

} // namespace

void ParseConfig(std::string_view text, ControlSettings& settings) {
    if (text.size() > MaxConfigBytes) text = text.substr(0, MaxConfigBytes);
    while (!text.empty()) {
        size_t newline = text.find('\n');
        std::string_view line = text.substr(0, newline);
        text.remove_prefix(newline == std::string_view::npos ? text.size() : newline + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);

        int value = 0;
        if (TakePrefix(line, "Keys=")) {
            ReadList(line, settings.actionKey, 0, 255);
        } else if (TakePrefix(line, "Joys=")) {
            ReadList(line, settings.actionPadButton, 0, PadButtonSlots - 1);
        } else {
            for (const SettingRow& row : SettingRows()) {
                const std::string key = std::string(row.key) + "=";
                if (!TakePrefix(line, key)) continue;
                // A value this build doesn't offer reads as the default.
                if (ReadNumber(line, value)) settings.*row.stored = row.Read(value);
                break;
            }
        }
    }
}

std::string FormatConfig(const ControlSettings& settings) {
    auto line = [&](const SettingRow& row) {
        return std::string(row.key) + "=" + std::to_string(settings.*row.chosen) + "\n";
    };
    const std::span<const SettingRow> rows = SettingRows();
    std::string text;
    for (size_t i = 0; i < SettingsBeforeControls; ++i) text += line(rows[i]);
    text += "Keys=";
    for (int key : settings.actionKey) text += std::to_string(key) + ",";
    text += "\nJoys=";
    for (int button : settings.actionPadButton) text += std::to_string(button) + ",";
    text += "\n";
    // Settings the game gained later follow the four lines it always wrote.
    for (size_t i = SettingsBeforeControls; i < rows.size(); ++i) text += line(rows[i]);
    return text;
}

void ReadConfig(ControlSettings& settings, const std::string& directory) {
    settings.SetDefaults();
    std::ifstream file(directory + ConfigFileName, std::ios::binary);
    if (file) {
        std::string text(MaxConfigBytes, '\0');
        file.read(text.data(), std::streamsize(text.size()));
        text.resize(size_t(file.gcount()));
        ParseConfig(text, settings);
    }
    // What takes effect at the next start is chosen as it is now.
    for (const SettingRow& row : SettingRows()) settings.*row.chosen = settings.*row.stored;
}

bool SaveConfig(const ControlSettings& settings, const std::string& directory) {
    // Nothing is written, and the diagnostic log says why.
    auto skip = [](const std::string& file, const char* reason) {
        Log("%s を保存しません: %s\n", file.c_str(), reason);
        return false;
    };
    // A player who keeps the file elsewhere behind a link keeps the link: the
    // file it leads to is the one written.
    std::string path = FollowLinks(directory + ConfigFileName);
    if (path.empty()) return skip(directory + ConfigFileName, "too many links");
    struct stat old {};
    bool exists = stat(path.c_str(), &old) == 0;
    // Only a plain file is replaced, and only one the player lets be written:
    // a file with no write permission for anyone stays as it is, even for root.
    if (exists && !S_ISREG(old.st_mode)) return skip(path, "not a plain file");
    if (exists && ((old.st_mode & 0222) == 0 || access(path.c_str(), W_OK) != 0))
        return skip(path, "read-only");

    // Written beside the file under a name nobody uses and renamed over it, so
    // a full disk or a crash mid-write never leaves a half-written
    // configuration, and a file that happens to have that name is never touched.
    std::string temporary;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temporary = path + ".new" + (attempt ? std::to_string(attempt) : "");
        fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) return skip(path, std::strerror(errno));
    }
    if (fd < 0) return skip(path, "no free temporary name");
    if (exists) {
        // The replacement keeps the old file's permissions, and its owner
        // where that is allowed (a run as root leaves the player's file the
        // player's); where it can't, the new file is simply this user's.
        bool kept = fchmod(fd, old.st_mode & 07777) == 0;
        if (old.st_uid != geteuid() || old.st_gid != getegid())
            kept = fchown(fd, old.st_uid, old.st_gid) == 0 && kept;
        (void)kept;
    }
    std::string text = FormatConfig(settings);
    // A file system that cannot sync (EINVAL) still takes the rename.
    bool written = WriteAll(fd, text) && (fsync(fd) == 0 || errno == EINVAL);
    written = close(fd) == 0 && written;
    if (!written || std::rename(temporary.c_str(), path.c_str()) != 0) {
        int error = errno;
        unlink(temporary.c_str());
        return skip(path, std::strerror(error));
    }
    return true;
}
