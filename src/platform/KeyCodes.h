#pragma once

#include <cstdint>

// The game stores and compares keys as DirectInput-style key codes (the
// configuration file keeps them); the platform maps the keyboard onto them.
namespace Dik {
constexpr int Escape = 0x01;
constexpr int Tab = 0x0F;
constexpr int Return = 0x1C;
constexpr int NumpadEnter = 0x9C;
constexpr int A = 0x1E;
constexpr int S = 0x1F;
constexpr int F = 0x21;
constexpr int H = 0x23;
constexpr int J = 0x24;
constexpr int I = 0x17;
constexpr int P = 0x19;
constexpr int Z = 0x2C;
constexpr int X = 0x2D;
constexpr int V = 0x2F;
constexpr int Space = 0x39;
constexpr int LeftAlt = 0x38;
constexpr int RightAlt = 0xB8;
constexpr int Up = 0xC8;
constexpr int Left = 0xCB;
constexpr int Right = 0xCD;
constexpr int Down = 0xD0;
// The screenshot keys, fixed: F12 and Print Screen.
constexpr int F12 = 0x58;
constexpr int SysRq = 0xB7;
// No key has this code: a quit key set to it never fires.
constexpr int None = 0xFF;
} // namespace Dik

// The key's name without the DIK_ prefix ("ESCAPE", "NUMPAD7"), or "" for a
// code no key has. Codes outside 0..255 have the empty name.
const char* KeyCodeName(int keyCode);

// The key code an SDL scancode stands for, or -1 when the game has no code
// for it. Scancodes outside SDL's range also give -1.
int KeyCodeForScancode(int scancode);

// How many scancodes map to the code (tests: every named key can be typed).
int ScancodeCountForKeyCode(int keyCode);
