// The window procedure that drives every state of the program, and its private messages.
#pragma once
#include "platform/win.h"

enum : uint32_t {
    WM_SOUNDDONE = WM_USER + 50,
    WM_PARTICLEEXPIRED = WM_USER + 200,
    WM_EMITTERDONE = WM_USER + 201,
    WM_REDRAW = WM_USER + 300,
    WM_SHOWMENU = WM_USER + 301,
};

// Set once start-up has succeeded; focus changes are ignored before.
extern uint32_t appReady;
// Guards the fire control against re-entry.
extern uint32_t fireBusy;

intptr_t WindowProc(Window* window, uint32_t message, uintptr_t wParam, intptr_t lParam);
