#include "platform/CommandLine.h"

CommandLine::CommandLine(int argc, const char* const* argv) {
    for (int i = 1; i < argc; ++i)
        if (argv[i]) arguments.emplace_back(argv[i]);
}

bool CommandLine::HasSwitch(const char* name) const {
    for (const std::string& argument : arguments)
        if (argument == name) return true;
    return false;
}
