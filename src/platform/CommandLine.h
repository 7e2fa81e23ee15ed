#pragma once

#include <string>
#include <vector>

// The program's arguments. Switches are matched as whole arguments, byte for
// byte and case-sensitive; the program name never counts.
class CommandLine {
public:
    CommandLine() = default;
    CommandLine(int argc, const char* const* argv);
    explicit CommandLine(std::vector<std::string> arguments) : arguments(std::move(arguments)) {}

    bool HasSwitch(const char* name) const;
    // The argument after the switch ("--replay FILE"); empty when the switch
    // is missing or last.
    std::string ValueOf(const char* name) const;

private:
    // Everything after the program name.
    std::vector<std::string> arguments;
};
