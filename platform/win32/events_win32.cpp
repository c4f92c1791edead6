// Windows input: the real window procedure turns keys, mouse, focus and closing into the game's messages.
#include "platform/backend.h"
#include "platform/gx.h"
#include "platform/record.h"
#include "platform/win.h"
#include "platform/win32/win32_internal.h"

struct Win32KeyDef {
    int physical;      // a VK_ code that tells left and right apart
    int virtualKey;    // the game's key
};

static const Win32KeyDef Win32KeyTable[] = {
    { VK_UP, KeyUp },
    { VK_DOWN, KeyDown },
    { VK_LEFT, KeyLeft },
    { VK_RIGHT, KeyRight },
    { VK_SPACE, KeyFire },
    { 'Z', KeyFire },
    { VK_LCONTROL, KeyFire },
    { 'X', KeyLockOn },
    { VK_LSHIFT, KeyLockOn },
    { VK_ESCAPE, KeyMenu },
    { 'P', KeyMenu },
};

// A key message's VK_CONTROL and VK_SHIFT become their left or right keys.
static int Win32Physical(WPARAM vk, LPARAM lParam)
{
    if (vk == VK_CONTROL)
        return lParam & (1 << 24) ? VK_RCONTROL : VK_LCONTROL;
    if (vk == VK_SHIFT)
        return (int)MapVirtualKeyW((lParam >> 16) & 0xFF, MAPVK_VSC_TO_VK_EX);
    return (int)vk;
}

static int Win32VirtualKey(int physical)
{
    for (const Win32KeyDef& def : Win32KeyTable)
        if (def.physical == physical)
            return def.virtualKey;
    return 0;
}

int16_t InputKeyState(int virtualKey)
{
    int16_t held = 0;
    if (virtualKey >= KeyLeft && virtualKey <= KeyDown && Win32PadKeyHeld(virtualKey))
        held = (int16_t)0x8000;
    for (const Win32KeyDef& def : Win32KeyTable)
        if (def.virtualKey == virtualKey && (GetAsyncKeyState(def.physical) & 0x8000))
            held = (int16_t)0x8000;
    return RecordKey(virtualKey, held);
}

// The stylus position of a mouse message in the 240 x 320 frame, clamped to
// its edges, packed as the low and high words of lParam.
static intptr_t Win32StylusPosition(LPARAM lParam)
{
    Win32Layout layout = Win32LayoutNow();
    int x = (short)LOWORD(lParam) - layout.x, y = (short)HIWORD(lParam) - layout.y;
    x = x < 0 ? 0 : x / layout.scale;
    y = y < 0 ? 0 : y / layout.scale;
    x = x > 239 ? 239 : x;
    y = y > 319 ? 319 : y;
    return (intptr_t)(y << 16 | x);
}

// The desktop's own keys, which the game never sees: F11 or Alt+Enter fills
// the screen or gives the window back, F12 saves a screenshot, M turns the
// sound off and on. 1 when the key was one of them.
static int Win32DesktopKey(WPARAM vk, LPARAM lParam)
{
    int repeat = (lParam & (1 << 30)) != 0;
    if (vk == VK_F11 || (vk == VK_RETURN && (lParam & (1 << 29)))) {
        if (!repeat)
            Win32ToggleFullscreen();
        return 1;
    }
    if (vk == VK_F12) {
        if (!repeat)
            Win32Screenshot();
        return 1;
    }
    if (vk == 'M') {
        if (!repeat)
            Win32TitleMessage(Win32AudioToggleMute() ? L"sound off (M turns it on)" : L"sound on");
        return 1;
    }
    return 0;
}

// Windows sends some messages outside the pump (WM_ACTIVATE while the game
// shows its window, say). The recorder places input by the pump that brought
// it, so such input waits here for the next pump, as it would on the desktop.
struct Win32Input {
    uint32_t message;
    uintptr_t wParam;
    intptr_t lParam;
};
static Win32Input held[64];
static int heldCount;
static int pumping;

static void Win32Post(uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    if (pumping) {
        if (message == WM_ACTIVATE)
            WindowSetForegroundState(wParam == WA_INACTIVE ? nullptr : win32Video.owner);
        MessagePost(win32Video.owner, message, wParam, lParam);
    } else if (heldCount < 64) {
        held[heldCount++] = { message, wParam, lParam };
    }
}

LRESULT CALLBACK Win32WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_ACTIVATE:
        Win32Post(WM_ACTIVATE, LOWORD(wParam) == WA_INACTIVE ? WA_INACTIVE : WA_ACTIVE, 0);
        return 0;
    case WM_CLOSE:
        Win32Post(WM_CLOSE, 0, 0);
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(hwnd, &paint);
        Win32Paint(dc);
        EndPaint(hwnd, &paint);
        return 0;
    }
    case WM_ERASEBKGND:
        return 1;
    case WM_SYSKEYDOWN:
        if (wParam == VK_RETURN) {
            Win32DesktopKey(wParam, lParam);
            return 0;
        }
        break;
    case WM_SYSCOMMAND:
        // Alt or F10 alone would open the window menu and hold the keys there.
        if ((wParam & 0xFFF0) == SC_KEYMENU)
            return 0;
        break;
    case WM_KEYDOWN:
    case WM_KEYUP: {
        if (message == WM_KEYDOWN && Win32DesktopKey(wParam, lParam))
            return 0;
        // Auto-repeat arrives as further key-down messages, as on the hand-held.
        int key = Win32VirtualKey(Win32Physical(wParam, lParam));
        if (key)
            Win32Post(message, (uintptr_t)key, 1 | (lParam & (1 << 30) ? 1 << 30 : 0));
        return 0;
    }
    case WM_LBUTTONDOWN:
        SetCapture(hwnd);
        Win32Post(WM_LBUTTONDOWN, 1, Win32StylusPosition(lParam));
        return 0;
    case WM_LBUTTONUP:
        ReleaseCapture();
        Win32Post(WM_LBUTTONUP, 0, Win32StylusPosition(lParam));
        return 0;
    case WM_MOUSEMOVE:
        Win32Post(WM_MOUSEMOVE, 0, Win32StylusPosition(lParam));
        return 0;
    case InstanceRedrawMessage:
        // A second copy asks this one to show itself; no other message from
        // outside reaches the game, since some carry pointers.
        Win32Post(InstanceRedrawMessage, 0, 0);
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

void Win32PumpEvents()
{
    RecordPumpBegin();
    pumping = 1;
    for (int i = 0; i < heldCount; i++)
        Win32Post(held[i].message, held[i].wParam, held[i].lParam);
    heldCount = 0;
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            MessagePost(win32Video.owner, WM_CLOSE, 0, 0);
            continue;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    Win32PadUpdate();
    Win32TitleUpdate();
    pumping = 0;
    RecordPumpEnd();
}
