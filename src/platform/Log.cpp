#include "platform/Log.h"

#include "platform/CommandLine.h"
#include "platform/Paths.h"
#include "platform/SystemInfo.h"

#include <cstdarg>
#include <cstdio>
#include <mutex>

namespace {

// The destination is process-wide: every layer logs, and headless worlds may
// run on several threads, so writes are serialised.
std::mutex logMutex;
std::string logPath;
std::string* logCapture = nullptr;

void Write(const std::string& text) {
    std::lock_guard lock(logMutex);
    if (logCapture) {
        logCapture->append(text);
        return;
    }
    if (logPath.empty()) {
        std::fputs(text.c_str(), stderr);
        return;
    }
    // A file that can't be opened loses the line; nothing else happens.
    if (FILE* file = std::fopen(logPath.c_str(), "a")) {
        std::fputs(text.c_str(), file);
        std::fclose(file);
    }
}

} // namespace

void Log(const char* format, ...) {
    char small[256];
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    int length = std::vsnprintf(small, sizeof small, format, args);
    va_end(args);
    if (length < 0) {
        va_end(again);
        return;
    }
    std::string text;
    if (size_t(length) < sizeof small) {
        text.assign(small, size_t(length));
    } else {
        text.resize(size_t(length) + 1);
        std::vsnprintf(text.data(), text.size(), format, again);
        text.resize(size_t(length));
    }
    va_end(again);
    Write(text);
}

void LogSeparator() { Write("----------------------------------------\n"); }

void SetLogFile(const std::string& path) {
    std::lock_guard lock(logMutex);
    logPath = path;
}

const std::string& LogFile() { return logPath; }

void SetLogCapture(std::string* capture) {
    std::lock_guard lock(logMutex);
    logCapture = capture;
}

int InitDebugStream(const CommandLine& commandLine, const std::string& directory) {
    if (commandLine.HasSwitch("-dbf")) {
        // A per-user log folder is made on first use; a folder that can't be
        // made loses the lines, as an unwritable file does.
        MakePrivateFolder(directory);
        SetLogFile(directory + GamePaths::LogName);
    }
    LogSeparator();
    Log("InitDebugStream\n");
    SystemInfo info = QuerySystemInfo();
    Write(FormatTimeLine(info.localTime));
    Write(FormatOsLine(info));
    Write(FormatMemoryLine(info));
    return 1;
}
