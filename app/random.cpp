// The game's random numbers: the classic linear congruential generator, kept in 32 bits on every platform.
#include "app/random.h"

static uint32_t randomState = 1;

int RandomNext()
{
    randomState = randomState * 1103515245u + 12345u;
    return (int)((randomState / 65536u) % 32768u);
}

void RandomSeed(uint32_t seed)
{
    randomState = seed;
}
