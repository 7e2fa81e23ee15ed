#pragma once

// A start-up error for the player: a system message box when a display is
// there, and always the same text on standard error.
void ShowErrorBox(const char* caption, const char* text);
