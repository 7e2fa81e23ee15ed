#pragma once

#include <map>
#include <string>

// Where the game keeps what it reads and writes.
//
// A copy in a folder its user can write to (a build tree, an unpacked
// archive) is portable: everything lives beside the binary. An installed
// copy (its folder read-only, or its sounds in ../share/starmarch/Data and
// none beside it) keeps each player's files in their home folder, in the
// folders the desktop names ($XDG_CONFIG_HOME, $XDG_STATE_HOME,
// $XDG_DATA_HOME, the pictures folder), made private (0700) when first used.
// A Starmarch.cfg beside the binary is used wherever the copy lives.
struct GamePaths {
    static constexpr const char* ConfigName = "Starmarch.cfg";
    static constexpr const char* LogName = "debug.txt";

    bool portable = true;
    // Every folder ends in a slash.
    std::string program;
    // Starmarch.cfg.
    std::string config;
    // debug.txt, with "-dbf".
    std::string log;
    // The folder that holds Data/ with the sounds.
    std::string sounds;
    std::string screenshots;
    std::string replays;

    std::string ConfigFile() const { return config + ConfigName; }
    std::string LogFile() const { return log + LogName; }
};

// What the choice depends on besides the files themselves, so that it can be
// made for any folder and any environment.
struct PathSources {
    // The binary's folder, ending in a slash.
    std::string program;
    // Whether this user may create files there.
    bool programWritable = false;
    // HOME and the XDG_* variables that are set.
    std::map<std::string, std::string> environment;
    // The home folder of the user's account, for when HOME is unset.
    std::string accountHome;
};

// Decides every folder; reads what is there, creates nothing. Relative
// XDG_* values are ignored, as the desktop's rules say. Without any home
// folder, a per-user folder falls back to the binary's.
GamePaths ResolvePaths(const PathSources& sources);

// The running program's sources for the binary in `program`.
PathSources CurrentPathSources(const std::string& program);

// $HOME when it is an absolute path, else the account's home folder; empty
// when there is neither.
std::string UserHomeFolder();

// Makes the folder and whichever of its parents are missing, each new one
// readable by this user only. True when the folder is there afterwards.
bool MakePrivateFolder(const std::string& folder);
