// Display binding: taking and giving back the screen, copying frames into it, and the frame clock.
#pragma once
#include "platform/gx.h"

#include <cstdint>

struct Surface;
struct Window;

// Copies of the platform's display properties and key list, taken at start-up.
extern GXDisplayProperties displayProps;
extern GXKeyList keyList;

int OpenDisplay(Surface* backBuffer, Window* window);
void CloseDisplay(Window* window);
void SuspendDisplay(Window* window);
void ResumeDisplay(Window* window);

// Copies the 240 x 320 back buffer into display memory by the display's pitches.
void Present(const Surface* backBuffer);

uint32_t MarkFrameStart();
uint32_t FrameElapsed();
void WaitFrameRest(uint32_t period);
