// Windows backend hooks: the real window, waits woken by SetTimer, the clock and message boxes.
#include "platform/backend.h"
#include "platform/internal.h"
#include "platform/record.h"
#include "platform/sys.h"
#include "platform/win32/entry_win32.h"
#include "platform/win32/win32_internal.h"

#include <string>

Win32Video win32Video;

// The real timer that ends a wait at the game's next tick.
enum : UINT_PTR { waitTimerId = 1 };
static DWORD mainThread;

uint32_t BackendNow()
{
    return timeGetTime();
}

void BackendPump()
{
    Win32PumpEvents();
}

// The real message loop: a WaitMessage that a real SetTimer, set for the
// game's next tick, or any input ends; the pump that follows takes and
// dispatches what came. The game's own timers, with their dropped ticks, stay
// in the shared queue, so that a recording replays the same.
void BackendWait(uint32_t until, int hasDeadline)
{
    HWND hwnd = win32Video.hwnd;
    int32_t rest = hasDeadline ? (int32_t)(until - timeGetTime()) : 0;
    if (hasDeadline && rest <= 0)
        return;
    if (!hwnd) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, hasDeadline ? (DWORD)rest : INFINITE, QS_ALLINPUT);
        return;
    }
    if (hasDeadline)
        SetTimer(hwnd, waitTimerId, (UINT)rest, nullptr);
    WaitMessage();
    if (hasDeadline)
        KillTimer(hwnd, waitTimerId);
}

// A screen loop polls without rest; a millisecond's wait for input keeps it
// from burning a whole processor core.
void BackendIdle(uint32_t, int)
{
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
}

// The mixer posts from its own thread: a real message ends the wait.
void BackendWake()
{
    if (GetCurrentThreadId() == mainThread)
        return;
    if (win32Video.hwnd)
        PostMessageW(win32Video.hwnd, WM_NULL, 0, 0);
    else
        PostThreadMessageW(mainThread, WM_NULL, 0, 0);
}

// The largest whole-number scale of 240 x 320 whose window fits the work area
// (the screen less the taskbar), frame and title bar included.
static int Win32WindowScale(DWORD style)
{
    RECT work;
    if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0))
        return 2;
    RECT frame = { 0, 0, 0, 0 };
    AdjustWindowRect(&frame, style, FALSE);
    int w = (int)(work.right - work.left) - (int)(frame.right - frame.left);
    int h = (int)(work.bottom - work.top) - (int)(frame.bottom - frame.top);
    int scale = w / 240 < h / 320 ? w / 240 : h / 320;
    return scale < 1 ? 1 : scale;
}

void BackendWindowCreated(Window* window, int iconId)
{
    if (win32Video.hwnd)
        return;
    mainThread = GetCurrentThreadId();
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSW windowClass = {};
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = Win32WindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(iconId));
    windowClass.hCursor = LoadCursorW(nullptr, (LPCWSTR)IDC_ARROW);
    windowClass.hbrBackground = (HBRUSH)GetStockObject(BLACK_BRUSH);
    windowClass.lpszClassName = window->className.c_str();
    RegisterClassW(&windowClass);
    DWORD style = WS_OVERLAPPEDWINDOW;
    int scale = Win32WindowScale(style);
    RECT rect = { 0, 0, 240 * scale, 320 * scale };
    AdjustWindowRect(&rect, style, FALSE);
    win32Video.owner = window;
    win32Video.hwnd = CreateWindowExW(0, window->className.c_str(), window->title.c_str(), style, CW_USEDEFAULT,
                                      CW_USEDEFAULT, rect.right - rect.left, rect.bottom - rect.top, nullptr, nullptr,
                                      instance, nullptr);
}

void BackendWindowShown(Window* window)
{
    if (window == win32Video.owner && win32Video.hwnd) {
        ShowWindow(win32Video.hwnd, SW_SHOW);
        UpdateWindow(win32Video.hwnd);
    }
}

void BackendWindowDestroyed(Window* window)
{
    if (window != win32Video.owner)
        return;
    if (win32Video.hwnd)
        DestroyWindow(win32Video.hwnd);
    win32Video = {};
}

void BackendWindowRaise(Window* window)
{
    if (window == win32Video.owner && win32Video.hwnd) {
        if (IsIconic(win32Video.hwnd))
            ShowWindow(win32Video.hwnd, SW_RESTORE);
        SetForegroundWindow(win32Video.hwnd);
    }
    WindowSetForegroundState(window);
}

// The running copy is found through the real window list, which is per desktop.
std::string BackendInstanceScope()
{
    return "win32";
}

void BackendInstanceServed(uint32_t)
{
}

uint32_t SysTicks()
{
    return RecordClock(timeGetTime());
}

// Windows flags a window whose messages go unread as not responding, and held
// keys must stay current, so a sleep keeps reading messages in short slices.
void SysSleep(uint32_t ms)
{
    uint32_t end = timeGetTime() + ms;
    RecordPumpBegin();
    for (;;) {
        Win32PumpEvents();
        int32_t rest = (int32_t)(end - timeGetTime());
        if (rest <= 0)
            break;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, rest < 5 ? (DWORD)rest : 5, QS_ALLINPUT);
    }
    RecordPumpEnd();
}

static std::wstring Win32Wide(const char* text)
{
    std::wstring wide;
    for (const char* c = text ? text : ""; *c; c++)
        wide.push_back((wchar_t)(unsigned char)*c);
    return wide;
}

int SysMessageBox(Window*, const char* text, const char* caption, uint32_t flags)
{
    UINT type = (flags & SysBoxOkCancel ? MB_OKCANCEL : MB_OK) | (flags & SysBoxError ? MB_ICONERROR : MB_ICONINFORMATION);
    int answer = MessageBoxW(win32Video.hwnd, Win32Wide(text).c_str(), Win32Wide(caption).c_str(), type);
    return RecordBox(caption, text, answer == IDCANCEL ? SysAnswerCancel : SysAnswerOk);
}

// Frames are 50 ms apart: the default 15.6 ms timer grain would make them
// uneven. A program that does not say it knows the screen's scale is blown
// up by the system with blurred pixels; this one scales by whole numbers itself.
void Win32Start()
{
    SetProcessDPIAware();
    Win32EnterDataFolder();
    timeBeginPeriod(1);
}

void Win32Stop()
{
    timeEndPeriod(1);
}
