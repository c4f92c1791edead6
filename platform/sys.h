// System services: the millisecond clock, sleeping, message boxes and the program's own file.
#pragma once
#include <cstdint>

struct Window;
struct Module;

// Milliseconds since an arbitrary start, wrapping at 2^32. Read by the frame
// clock, the fire control, the grace periods and the modal screen loop.
uint32_t SysTicks();

// Waits ms milliseconds. Called by the fades, the frame clock and the splash.
// The window's input keeps being collected meanwhile; nothing is dispatched.
void SysSleep(uint32_t ms);

// Message box flags and answers.
enum : uint32_t {
    SysBoxOk = 0x00,
    SysBoxOkCancel = 0x01,
    SysBoxError = 0x10,
};
enum : int {
    SysAnswerOk = 1,
    SysAnswerCancel = 2,
};

// Shows text under caption and waits for the user's answer. Called by every
// start-up failure and by the memory manager's diagnostics; owner may be null.
int SysMessageBox(Window* owner, const char* text, const char* caption, uint32_t flags);

// The running program, for resource lookups. Handed to WinMain by the entry point.
Module* SysModule();

// Writes the program's own full file name into out (at most capacity
// characters, terminated) and returns its length. Called when building the
// paths of the files beside the program.
int SysModuleFileName(Module* module, wchar_t* out, int capacity);

// The separator between folders in this platform's paths.
constexpr wchar_t sysPathSeparator = L'/';

// Stops in the debugger if one is attached; otherwise does nothing. Called
// when the user asks to debug from a memory manager error box.
void SysDebugBreak();
