#pragma once

#include <string>

class CommandLine;
struct GamePaths;

// The version the game and its tools report.
extern const char* const StarmarchVersion;

// What "starmarch --help" prints: the switches, the files of this copy (as
// `paths` places them) and the exit status.
std::string GameUsage(const GamePaths& paths);

// "--help" or "--version" among the arguments: the text that answers it
// (help wins), else empty. The game prints it and ends before it opens
// anything: no window, no lock, no log.
std::string AnswerToInfoSwitch(const CommandLine& commandLine, const GamePaths& paths);
