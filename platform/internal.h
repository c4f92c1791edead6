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

// The display's open and drawing state, which every backend's GX calls keep
// alike: GXOpenDisplay passes whether its screen is there (recorded, so a
// replay sees the same), GXBeginDraw asks GXGateBegin for leave to hand out
// the frame, GXEndDraw asks GXGateEnd whether a frame is to be shown. Each 1/0.
int GXGateOpen(int live);
int GXGateBegin();
int GXGateEnd();
// Closed, not drawing: the headless reset.
void GXGateReset();

// The crash-test stop before and after each step of a durable write: FileWrite
// and each system's FileCommit and FileReplace call it (see FileSetCrashStep).
void FileCrashPoint();

// Called by SysModuleFileName with the runner's override or an empty name:
// fills an empty name with the program's own path and puts it in the
// program's separators. Each system has its own.
void SysProgramPath(std::wstring* name);

void TimerKillAll(Window* window);
// 1 when the message is one that input from outside may bring (a recording's).
int MessageFromOutside(uint32_t message, uintptr_t wParam, intptr_t lParam);
int TimerNextDue(uint32_t* due);

void WindowResetAll();
void MessageResetAll();
