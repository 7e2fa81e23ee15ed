#pragma once

#include <cstdint>
#include <ctime>
#include <string>

// The three lines of system information the log starts with.
struct SystemInfo {
    std::tm localTime{};
    int platformId = 0;
    int majorVersion = 0;
    int minorVersion = 0;
    int buildNumber = 0;
    uint64_t availableMemoryBytes = 0;
    uint64_t totalMemoryBytes = 0;
};

// Reads the clock, the kernel release and the memory figures of this machine.
SystemInfo QuerySystemInfo();

// Splits a kernel release such as "6.1.0-18-amd64" into its three numbers.
void ParseKernelRelease(const char* release, int& major, int& minor, int& build);

std::string FormatTimeLine(const std::tm& time);
std::string FormatOsLine(const SystemInfo& info);
std::string FormatMemoryLine(const SystemInfo& info);
