// Shared state of the headless backend's modules.
#pragma once
#include <cstdint>

// Moves the virtual clock to tick, running the script commands due on the way.
void HeadlessAdvanceTo(uint32_t tick);

// A replay's clock: moves forward to tick, as HeadlessAdvanceTo does, but
// plays at most a minute of sound on the way however far it jumps.
void HeadlessReplayClock(uint32_t tick);

void HeadlessKeySet(int virtualKey, int down);
void HeadlessDisplayReset();
void HeadlessBoxesReset();
void HeadlessScriptReset();
