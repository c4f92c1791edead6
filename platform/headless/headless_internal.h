// Shared state of the headless backend's modules.
#pragma once
#include <cstdint>

// Moves the virtual clock to tick, running the script commands due on the way.
void HeadlessAdvanceTo(uint32_t tick);

void HeadlessKeySet(int virtualKey, int down);
void HeadlessDisplayReset();
void HeadlessBoxesReset();
void HeadlessScriptReset();
