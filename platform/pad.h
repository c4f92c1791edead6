// Gamepads as every backend turns them into the game's keys and, on the screens, a pointer whose A taps.
#pragma once
#include <cstdint>

struct Window;

// The keys a pad holds, in this order in each backend's button table: the
// four arrows (up, down, left, right), fire, lock-on and the menu.
enum { PadKeyCount = 7 };

// Called by the backend's input pump each pass with what its pads hold: each
// key down or not, and how fast they push the pointer (frame pixels a
// second). Posts the keys, their repeats, A's taps and pointer moves to owner;
// 1 when the pointer is to be drawn again.
int PadUpdate(Window* owner, const int down[PadKeyCount], float dx, float dy, uint32_t now);
// Called by a backend whose buttons come as events, for each one: the key
// follows at once, so that a press shorter than a pump is not lost.
void PadKeyEvent(Window* owner, int index, int down, uint32_t now);
// Called by the backend's arrow-key reads: the game polls the arrows only
// while play or a banner runs.
void PadSteerPolled(uint32_t now);
// Called by the backend's key reads: nonzero while a pad holds the key.
int PadKeyHeld(int virtualKey);
// Called by the backend when the mouse or a finger is used on the picture:
// the pointer moves there and hides until the pad is used.
void PadMouseUsed(int frameX, int frameY);
// Called by the backend's drawing (any thread): whether the pointer shows,
// and where it points in the 240 x 320 frame.
int PadPointer(int* frameX, int* frameY);
// A stick's reading (-1 to 1) past the dead zone, curved so that small pushes
// move finely: -1 to 1. Called by the backends' pads as they read.
float PadStick(float value, float deadZone);
// Called by the backends' resets (tests): no key held, the pointer hidden in the middle.
void PadReset();
