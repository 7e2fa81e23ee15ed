#include "game/flow/Config.h"

#include <charconv>
#include <cstdio>
#include <fstream>
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
        if (TakePrefix(line, "Window=")) {
            if (ReadNumber(line, value)) settings.windowed = value != 0 ? 1 : 0;
        } else if (TakePrefix(line, "DispSize=")) {
            // A size the game doesn't have falls back to the smallest one.
            if (ReadNumber(line, value)) settings.displaySize = (value >= 0 && value <= 2) ? value : 0;
        } else if (TakePrefix(line, "Keys=")) {
            ReadList(line, settings.actionKey, 0, 255);
        } else if (TakePrefix(line, "Joys=")) {
            ReadList(line, settings.actionPadButton, 0, PadButtonSlots - 1);
        }
    }
}

std::string FormatConfig(const ControlSettings& settings) {
    std::string text = "Window=" + std::to_string(settings.windowModeChoice) + "\n";
    text += "DispSize=" + std::to_string(settings.displaySizeChoice) + "\n";
    text += "Keys=";
    for (int key : settings.actionKey) text += std::to_string(key) + ",";
    text += "\nJoys=";
    for (int button : settings.actionPadButton) text += std::to_string(button) + ",";
    text += "\n";
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
    settings.windowModeChoice = settings.windowed;
    settings.displaySizeChoice = settings.displaySize;
}

bool SaveConfig(const ControlSettings& settings, const std::string& directory) {
    // Written beside the old file and renamed over it, so a full disk or a
    // crash mid-write never leaves a half-written configuration.
    std::string path = directory + ConfigFileName;
    std::string temporary = path + ".new";
    std::string text = FormatConfig(settings);
    FILE* file = std::fopen(temporary.c_str(), "wb");
    if (!file) return false;
    bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    written = (std::fclose(file) == 0) && written;
    if (!written || std::rename(temporary.c_str(), path.c_str()) != 0) {
        unlink(temporary.c_str());
        return false;
    }
    return true;
}
