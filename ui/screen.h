// What every front-end screen draws the same way: its background picture and its shadowed title.
#pragma once

struct Surface;

// Copies a full-screen picture onto screen. A picture that failed to load (or
// has another size) leaves the screen as it was, so the back buffer keeps its size.
void ScreenSetBackground(Surface* screen, const Surface* picture);

// The title in the pixel font: white one pixel down and right of (x, y), then
// black at (x, y).
void ScreenDrawTitle(Surface* screen, const char* title, int x, int y);
