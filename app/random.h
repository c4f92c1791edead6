// The game's random numbers: one unseeded sequence, 0 to 32767, the same on every platform.
#pragma once
#include <cstdint>

// The next value, 0 to 32767. Every draw of the game comes from here, in
// the order the rules make them, so a game depends on its input alone.
int RandomNext();

// Restarts the sequence; the program itself never calls it (its state starts at 1).
void RandomSeed(uint32_t seed);
