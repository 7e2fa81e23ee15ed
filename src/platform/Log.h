#pragma once

#include <string>

// The diagnostic trace of start-up, device choices, resource loading and
// device trouble. Lines go to standard error unless a log file is chosen;
// the file is opened and closed for every line, so it survives a crash up to
// the last line, and it is only ever appended to.

// Formats one line printf-style and writes it. Any length is safe.
void Log(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Writes the forty-hyphen line that each start and stop step begins with.
void LogSeparator();

// Chooses the destination: an empty path means standard error.
void SetLogFile(const std::string& path);
const std::string& LogFile();

// Captures every line instead of writing it (tests); nullptr restores the
// normal destination.
void SetLogCapture(std::string* capture);

// Captures every line into text for as long as it lives (tests, and tools
// that print their own results instead of the trace).
struct ScopedLogCapture {
    std::string text;
    ScopedLogCapture() { SetLogCapture(&text); }
    ~ScopedLogCapture() { SetLogCapture(nullptr); }
    ScopedLogCapture(const ScopedLogCapture&) = delete;
    ScopedLogCapture& operator=(const ScopedLogCapture&) = delete;
};

class CommandLine;

// Picks debug.txt in the log folder (ending in a slash; made when missing)
// when "-dbf" was given, then writes the separator, "InitDebugStream" and the
// three system-information lines.
int InitDebugStream(const CommandLine& commandLine, const std::string& directory);
