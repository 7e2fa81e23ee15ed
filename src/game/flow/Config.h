#pragma once

#include "game/flow/Controls.h"
#include "platform/Paths.h"

#include <string>
#include <string_view>

// Starmarch.cfg: four lines, written in this order:
//   Window=<0|1>
//   DispSize=<0..2 the sizes the game was made for, 3..6 wide ones, 7 the desktop's>
//   Keys=<19 key codes, each followed by a comma>
//   Joys=<19 pad buttons, each followed by a comma>
// then the settings added since, one line each, read by their key (a missing
// line or a value this build doesn't know reads as the default):
//   FrameRate=<0 VSync | 30 one picture a step | 60 | 120 | 144 | -1 unlimited>
//   UiScale=<0 Auto | 1 | 2 | 3>
//   PadPointer=<1 a controller's right stick moves the pointer | 0 it doesn't>
// (SettingsTable.h has one row for each of these settings.)
constexpr const char* ConfigFileName = GamePaths::ConfigName;

// Reads settings from the file's text. Whatever can't be read keeps its
// default; numbers that would index outside their tables read as unassigned.
void ParseConfig(std::string_view text, ControlSettings& settings);
std::string FormatConfig(const ControlSettings& settings);

// Sets the defaults, then reads Starmarch.cfg from the directory if it is
// there, and takes the choices from what was read.
void ReadConfig(ControlSettings& settings, const std::string& directory);
// Writes the file; false when it can't be written (nothing else happens).
bool SaveConfig(const ControlSettings& settings, const std::string& directory);
