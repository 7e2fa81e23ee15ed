#include "platform/SystemInfo.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sys/sysinfo.h>
#include <sys/utsname.h>

namespace {

// MemAvailable counts what the kernel can hand out without swapping, which is
// what "available" meant to the player; sysinfo's freeram leaves caches out.
uint64_t ReadMemAvailable() {
    FILE* file = std::fopen("/proc/meminfo", "r");
    if (!file) return 0;
    char line[256];
    uint64_t kib = 0;
    while (std::fgets(line, sizeof line, file)) {
        unsigned long long value = 0;
        if (std::sscanf(line, "MemAvailable: %llu kB", &value) == 1) {
            kib = value;
            break;
        }
    }
    std::fclose(file);
    return kib * 1024;
}

std::string Format(const char* format, auto... args) {
    char buffer[256];
    std::snprintf(buffer, sizeof buffer, format, args...);
    return buffer;
}

} // namespace

void ParseKernelRelease(const char* release, int& major, int& minor, int& build) {
    major = minor = build = 0;
    int* fields[3] = {&major, &minor, &build};
    const char* p = release;
    for (int i = 0; i < 3 && p && *p >= '0' && *p <= '9'; ++i) {
        char* end = nullptr;
        long value = std::strtol(p, &end, 10);
        *fields[i] = value > 1000000 ? 0 : static_cast<int>(value);
        p = (*end == '.') ? end + 1 : nullptr;
    }
}

SystemInfo QuerySystemInfo() {
    SystemInfo info;
    std::time_t now = std::time(nullptr);
    localtime_r(&now, &info.localTime);

    utsname names{};
    if (uname(&names) == 0) ParseKernelRelease(names.release, info.majorVersion, info.minorVersion, info.buildNumber);

    struct sysinfo memory{};
    if (sysinfo(&memory) == 0) {
        info.totalMemoryBytes = uint64_t(memory.totalram) * memory.mem_unit;
        info.availableMemoryBytes = uint64_t(memory.freeram) * memory.mem_unit;
    }
    if (uint64_t available = ReadMemAvailable()) info.availableMemoryBytes = available;
    return info;
}

std::string FormatTimeLine(const std::tm& time) {
    return Format("%4d/%02d/%02d  %02d:%02d\n", time.tm_year + 1900, time.tm_mon + 1, time.tm_mday, time.tm_hour,
                  time.tm_min);
}

std::string FormatOsLine(const SystemInfo& info) {
    return Format("OS = ID %d ver, %d.%d build %d\n", info.platformId, info.majorVersion, info.minorVersion,
                  info.buildNumber);
}

std::string FormatMemoryLine(const SystemInfo& info) {
    return Format("利用可能／搭載メモリ = %d/%d MB\n", int(info.availableMemoryBytes >> 20),
                  int(info.totalMemoryBytes >> 20));
}
