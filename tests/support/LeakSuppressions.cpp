// LeakSanitizer reads this list at start-up in every test binary: D-Bus
// connections SDL keeps for the process, and what the OpenGL and sound drivers
// allocate with realloc and calloc and leave behind when they are unloaded
// (the game's own code allocates with new only). The same list is
// tests/lsan.supp for the game binary.
extern "C" const char* __lsan_default_suppressions() { return "leak:libdbus-1.so\nleak:realloc\nleak:calloc\n"; }
