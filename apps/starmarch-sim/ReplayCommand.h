#pragma once

// starmarch-sim --replay FILE [--json] [--verify]: plays a recorded battle
// through the battle frame without a window and prints its table. --verify
// compares every checkpoint and the final table with the recorded ones and
// exits 1 at the first difference; a file that can't be read exits 2.
// Returns -1 when the arguments ask for no replay.
int ReplayCommand(int argc, char** argv);
