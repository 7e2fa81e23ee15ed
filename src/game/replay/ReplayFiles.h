#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Writes a replay into the folder (made private when missing) under a new name from
// the clock, whole or not at all, then keeps the newest `keep` replays there
// and deletes older ones (only the game's own replay files). Returns the
// file's path; empty with the reason when it could not be written.
std::string SaveReplay(const std::string& folder, const std::vector<uint8_t>& bytes, int keep,
                       std::string& error);
