// The window record and the reset hooks shared by the platform's own modules.
#pragma once
#include "platform/win.h"

#include <atomic>
#include <string>

struct Window {
    WindowProcFn proc = nullptr;
    void* data = nullptr;
    std::atomic<int> alive = 0;   // read by other threads before they post
    int remote = 0;        // a handle on the running copy's window
    int connection = -1;   // for remote handles: the socket to that copy
    std::wstring className;
    std::wstring title;
};

void TimerKillAll(Window* window);
// 1 when the message is one that input from outside may bring (a recording's).
int MessageFromOutside(uint32_t message, uintptr_t wParam, intptr_t lParam);
int TimerNextDue(uint32_t* due);

void WindowResetAll();
void MessageResetAll();
