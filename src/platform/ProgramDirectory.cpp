#include "platform/ProgramDirectory.h"

#include <climits>
#include <cstdlib>
#include <unistd.h>

std::string FindProgramDirectory(const char* argv0) {
    std::string path;
    char buffer[PATH_MAX];
    ssize_t length = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (length > 0) {
        path.assign(buffer, size_t(length));
    } else if (argv0) {
        // Without /proc, fall back to where the shell says we were started from.
        char resolved[PATH_MAX];
        path = realpath(argv0, resolved) ? resolved : argv0;
    }
    size_t slash = path.rfind('/');
    if (slash == std::string::npos) return "./";
    return path.substr(0, slash + 1);
}

bool EnterProgramDirectory(const std::string& directory) { return chdir(directory.c_str()) == 0; }
