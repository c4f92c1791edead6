// The one-window message system: window procedures, the message queue and timers.
#pragma once
#include <cstdint>

struct Window;

using WindowProcFn = intptr_t (*)(Window* window, uint32_t message, uintptr_t wParam, intptr_t lParam);

struct Message {
    Window* window;
    uint32_t message;
    uintptr_t wParam;
    intptr_t lParam;
};

enum : uint32_t {
    WM_CREATE = 1,
    WM_DESTROY = 2,
    WM_ACTIVATE = 6,
    WM_PAINT = 15,
    WM_CLOSE = 16,
    WM_QUIT = 18,
    WM_ERASEBKGND = 20,
    WM_KEYDOWN = 256,
    WM_KEYUP = 257,
    WM_COMMAND = 273,
    WM_TIMER = 275,
    WM_MOUSEMOVE = 512,
    WM_LBUTTONDOWN = 513,
    WM_LBUTTONUP = 514,
    WM_USER = 0x400,
};

// The one message that reaches the running copy's window from a second copy,
// with wParam and lParam 0: the running copy shows its last frame again.
enum : uint32_t { InstanceRedrawMessage = WM_USER + 300 };

// The low word of WM_ACTIVATE's wParam.
enum : uint32_t { WA_INACTIVE = 0, WA_ACTIVE = 1, WA_CLICKACTIVE = 2 };

struct WindowClass {
    uint32_t style;
    WindowProcFn proc;
    int32_t extraBytes;
    int32_t iconId;
    const wchar_t* name;
};

// WM_CREATE's lParam points at this.
struct WindowCreateInfo {
    void* createParam;
};

// Registers a class for WindowCreate. Called once at start-up; returns a
// nonzero atom, or 0 when the class is malformed.
int WindowRegisterClass(const WindowClass* windowClass);

// Creates a window of a registered class. Its procedure receives WM_CREATE
// before this returns; the result is null when that fails or the class is unknown.
Window* WindowCreate(const wchar_t* className, const wchar_t* title, uint32_t style,
                     int x, int y, int width, int height, void* createParam);

// The handling of every message a procedure leaves alone: WM_CLOSE destroys the window.
intptr_t WindowDefaultProc(Window* window, uint32_t message, uintptr_t wParam, intptr_t lParam);

// Sends WM_DESTROY, kills the window's timers and retires it.
void WindowDestroy(Window* window);

// Nonzero while the window exists. The mixer checks it before notifying.
int WindowIsAlive(Window* window);

// Shows the window. Called by the display binding before it takes the screen.
void WindowShow(Window* window);

// Brings a window (of this or of the running copy) to the front.
void WindowSetForeground(Window* window);

// The window in front, or null when another program is. The frame tick runs
// only while this is the game's window.
Window* WindowForeground();

// The window with the keyboard focus, the owner of start-up message boxes.
Window* WindowFocus();

// The pointer a window carries for its procedure (the game's world).
void WindowSetData(Window* window, void* data);
void* WindowData(Window* window);

// Finds the window of an already running copy of the program, by class and
// title, or null. Start-up calls it once; only the game's first copy is found.
Window* WindowFindRunning(const wchar_t* className, const wchar_t* title);

// Queues a message for the window's thread; safe from any thread. The running
// copy's window takes only InstanceRedrawMessage with 0, 0. Returns 0 when the
// window is gone or the message cannot go there.
int MessagePost(Window* window, uint32_t message, uintptr_t wParam, intptr_t lParam);

// Calls the window's procedure at once and returns its result.
intptr_t MessageSend(Window* window, uint32_t message, uintptr_t wParam, intptr_t lParam);

// Takes the next message, waiting for one. Posted messages come before a due
// WM_TIMER. Returns 0 when the message is WM_QUIT. Safe to call from inside a
// procedure (nested screen loops).
int MessageGet(Message* message);

// Reports the next message without taking it: 1 and a copy, or 0 when none is waiting.
int MessagePeek(Message* message);

// Hands a message taken by MessageGet to its window's procedure.
intptr_t MessageDispatch(const Message* message);

// Turns key messages into character messages; nothing uses characters here.
void MessageTranslate(const Message* message);

// Makes the next MessageGet on an empty queue return 0 with this code.
void MessagePostQuit(int code);

// Starts (or restarts) a periodic WM_TIMER for the window with wParam = id.
// Ticks missed while a handler runs are dropped, not caught up.
int TimerSet(Window* window, uint32_t id, uint32_t periodMs);
int TimerKill(Window* window, uint32_t id);
