#include "platform/CommandLine.h"

CommandLine::CommandLine(int argc, const char* const* argv) {
    for (int i = 1; i < argc; ++i)
        if (argv[i]) arguments.emplace_back(argv[i]);
}

std::string CommandLine::ValueOf(const char* name) const {
    for (size_t i = 0; i + 1 < arguments.size(); ++i)
        if (arguments[i] == name) return arguments[i + 1];
    return {};
}

bool CommandLine::HasSwitch(const char* name) const {
    for (const std::string& argument : arguments)
        if (argument == name) return true;
    return false;
}
