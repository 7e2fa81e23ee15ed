// LeakSanitizer reads this list at start-up in every test binary: D-Bus
// connections SDL keeps for the process, and what the OpenGL driver allocates
// with realloc and leaves behind when it is unloaded (the game's own code
// never calls realloc). The same list is tests/lsan.supp for the game binary.
extern "C" const char* __lsan_default_suppressions() { return "leak:libdbus-1.so\nleak:realloc\n"; }
