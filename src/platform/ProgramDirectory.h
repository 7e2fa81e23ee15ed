#pragma once

#include <string>

// The folder of the running executable, ending in a slash. Paths.h decides
// which of the game's files live there.
std::string FindProgramDirectory(const char* argv0);

// Makes the program directory current; false when it can't be entered.
bool EnterProgramDirectory(const std::string& directory);
