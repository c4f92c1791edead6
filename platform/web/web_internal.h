// Shared state of the web backend's modules.
#pragma once
#include <cstdint>

struct Window;

// The game's window, bound to the page's canvas when it is created.
extern Window* webOwner;

// Turns what the page's event handlers queued (keys, clicks, touches, focus,
// the on-screen controls) and the pads' state into the game's messages, and
// repeats held controls as a keyboard would. Called by every pump and sleep.
void WebPumpInput();
// Nonzero when input is waiting for WebPumpInput. Read by the waits, which
// end early for it.
int WebInputPending();
// Registers the page's event handlers. Called by main before the game starts.
void WebInputStart();
// Returns to the browser so it can paint and deliver events, when the game
// has kept it for longer than a frame. Called after each frame shown.
void WebYieldIfBusy();
// Sleeps in the browser for ms, letting its events in. Every wait uses it.
void WebSleep(uint32_t ms);

// The pads (pad_web.cpp). Reads their buttons and sticks for the shared pad
// (platform/pad.h) and shows its pointer on the page. Called by WebPumpInput.
void WebPadUpdate();
