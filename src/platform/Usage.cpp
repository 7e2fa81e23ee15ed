#include "platform/Usage.h"

#include "platform/CommandLine.h"
#include "platform/Paths.h"

#ifndef STARMARCH_VERSION
#define STARMARCH_VERSION "unknown"
#endif

const char* const StarmarchVersion = STARMARCH_VERSION;

std::string GameUsage(const GamePaths& paths) {
    std::string text = "usage: starmarch [-win | -full] [-2nd] [-dbf] [/3ds] [/fx]\n"
                       "       starmarch --help | --version\n"
                       "\n"
                       "A real-time 3D space battle for one player.\n"
                       "\n"
                       "  -win       play in a window (wins over -full)\n"
                       "  -full      play full screen\n"
                       "  -2nd       use the second display adapter when there is one\n"
                       "  -dbf       write the diagnostic log to debug.txt instead of standard error\n"
                       "  /3ds       play every sound without position\n"
                       "  /fx        create sounds without effect control\n"
                       "  --help     print this text and exit\n"
                       "  --version  print the version and exit\n"
                       "\n"
                       "Each switch counts only exactly as written; other arguments are ignored.\n"
                       "Without -win or -full the configuration chooses the window mode.\n"
                       "\n";
    text += paths.portable ? "Files (a portable copy: beside the program):\n"
                           : "Files (an installed copy: per user):\n";
    text += "  configuration  " + paths.ConfigFile() + "\n";
    text += "  log (-dbf)     " + paths.LogFile() + "\n";
    text += "  sounds         " + paths.sounds + "Data/\n";
    text += "  screenshots    " + paths.screenshots + " (F12 or Print Screen)\n";
    text += "\nExit status: 0, also when the game cannot start (it says why).\n";
    return text;
}

std::string AnswerToInfoSwitch(const CommandLine& commandLine, const GamePaths& paths) {
    if (commandLine.HasSwitch("--help")) return GameUsage(paths);
    if (commandLine.HasSwitch("--version")) return std::string("starmarch ") + StarmarchVersion + "\n";
    return "";
}
