// Gamepads through XInput: they steer, fire, lock on and open the menu as the keys do, and on the screens move the mouse pointer and click.
#include "platform/gx.h"
#include "platform/win.h"
#include "platform/win32/win32_internal.h"

#include <xinput.h>

// How the pad stands in for the keyboard. A direction is held by the d-pad or
// by the left stick pushed past half way.
struct PadKeyDef {
    int virtualKey;
    WORD buttons;   // any of these holds the key
    int axis;       // 0 none, 1 the stick's x, 2 its y (up is positive)
    int sign;
};

static const PadKeyDef PadKeyTable[] = {
    { KeyUp, XINPUT_GAMEPAD_DPAD_UP, 2, 1 },
    { KeyDown, XINPUT_GAMEPAD_DPAD_DOWN, 2, -1 },
    { KeyLeft, XINPUT_GAMEPAD_DPAD_LEFT, 1, -1 },
    { KeyRight, XINPUT_GAMEPAD_DPAD_RIGHT, 1, 1 },
    { KeyFire, XINPUT_GAMEPAD_A, 0, 0 },
    { KeyLockOn, XINPUT_GAMEPAD_B | XINPUT_GAMEPAD_X, 0, 0 },
    { KeyMenu, XINPUT_GAMEPAD_START, 0, 0 },
};
enum { PadKeyCount = sizeof PadKeyTable / sizeof PadKeyTable[0] };

enum : int { SteerThreshold = 16384, PointerDeadZone = 6000 };
enum : DWORD {
    RepeatDelay = 500,    // held buttons repeat as keyboard keys do
    RepeatPeriod = 50,
    PlayWindow = 250,     // arrows polled this recently: play is running
    LookAgain = 2000,     // an empty slot is asked again this often, since asking is slow
};
static const float PointerSpeed = 0.26f;   // frame pixels a millisecond, stick fully over

using GetStateFn = DWORD(WINAPI*)(DWORD user, XINPUT_STATE* state);

struct PadState {
    GetStateFn getState;
    int loaded;
    DWORD emptySince[XUSER_MAX_COUNT];
    int held[PadKeyCount];
    DWORD repeatDue[PadKeyCount];
    int tapping;           // A is down as a click on the screens
    DWORD steerPolled;
    DWORD lastUpdate;
    float x, y;            // the pointer, in frame pixels
};

static PadState pad;

// XInput comes with Windows in one of two DLLs; a machine without either plays on the keyboard.
static GetStateFn PadLoad()
{
    if (!pad.loaded) {
        pad.loaded = 1;
        const wchar_t* names[] = { L"xinput1_4.dll", L"xinput9_1_0.dll" };
        for (const wchar_t* name : names) {
            if (HMODULE dll = LoadLibraryW(name)) {
                pad.getState = (GetStateFn)(void*)GetProcAddress(dll, "XInputGetState");
                break;
            }
        }
    }
    return pad.getState;
}

// The first pad plugged in, merged: buttons of every pad, and the stick pushed furthest.
static int PadRead(XINPUT_GAMEPAD* merged, DWORD now)
{
    GetStateFn getState = PadLoad();
    *merged = {};
    int any = 0;
    for (DWORD user = 0; getState && user < XUSER_MAX_COUNT; user++) {
        if (pad.emptySince[user] && now - pad.emptySince[user] < LookAgain)
            continue;
        XINPUT_STATE state;
        if (getState(user, &state) != ERROR_SUCCESS) {
            pad.emptySince[user] = now | 1;
            continue;
        }
        pad.emptySince[user] = 0;
        any = 1;
        merged->wButtons |= state.Gamepad.wButtons;
        if (abs(state.Gamepad.sThumbLX) > abs(merged->sThumbLX))
            merged->sThumbLX = state.Gamepad.sThumbLX;
        if (abs(state.Gamepad.sThumbLY) > abs(merged->sThumbLY))
            merged->sThumbLY = state.Gamepad.sThumbLY;
    }
    return any;
}

static int PadKeyDown(const PadKeyDef& def, const XINPUT_GAMEPAD& state)
{
    int value = def.axis == 1 ? state.sThumbLX : def.axis == 2 ? state.sThumbLY : 0;
    return (state.wButtons & def.buttons) || (def.axis && value * def.sign > SteerThreshold);
}

// On the screens the stick moves the real mouse pointer over the picture.
static void PadMovePointer(const XINPUT_GAMEPAD& state, DWORD elapsed)
{
    int sx = abs(state.sThumbLX) > PointerDeadZone ? state.sThumbLX : 0;
    int sy = abs(state.sThumbLY) > PointerDeadZone ? state.sThumbLY : 0;
    if (!sx && !sy)
        return;
    Win32Layout layout = Win32LayoutNow();
    POINT at;
    GetCursorPos(&at);
    ScreenToClient(win32Video.hwnd, &at);
    pad.x = (float)(at.x - layout.x) / (float)layout.scale + sx / 32768.0f * PointerSpeed * (float)elapsed;
    pad.y = (float)(at.y - layout.y) / (float)layout.scale - sy / 32768.0f * PointerSpeed * (float)elapsed;
    pad.x = pad.x < 0 ? 0 : pad.x > 239 ? 239 : pad.x;
    pad.y = pad.y < 0 ? 0 : pad.y > 319 ? 319 : pad.y;
    POINT to = { layout.x + (LONG)pad.x * layout.scale + layout.scale / 2,
                 layout.y + (LONG)pad.y * layout.scale + layout.scale / 2 };
    ClientToScreen(win32Video.hwnd, &to);
    SetCursorPos(to.x, to.y);
}

static LPARAM PadCursor()
{
    POINT at;
    GetCursorPos(&at);
    ScreenToClient(win32Video.hwnd, &at);
    return MAKELPARAM(at.x, at.y);
}

void Win32PadUpdate()
{
    HWND hwnd = win32Video.hwnd;
    DWORD now = GetTickCount();
    DWORD elapsed = now - pad.lastUpdate;
    pad.lastUpdate = now;
    XINPUT_GAMEPAD state;
    if (!hwnd || GetForegroundWindow() != hwnd || !PadRead(&state, now))
        state = {};
    int playing = now - pad.steerPolled < PlayWindow;
    if (!playing)
        PadMovePointer(state, elapsed < 100 ? elapsed : 100);
    for (int i = 0; i < PadKeyCount; i++) {
        const PadKeyDef& def = PadKeyTable[i];
        int down = PadKeyDown(def, state);
        // A on the screens clicks where the pointer is.
        if (def.virtualKey == KeyFire && (pad.tapping || (!playing && down && !pad.held[i]))) {
            if (down != pad.tapping)
                SendMessageW(hwnd, down ? WM_LBUTTONDOWN : WM_LBUTTONUP, down ? MK_LBUTTON : 0, PadCursor());
            pad.tapping = down;
            pad.held[i] = down;
            continue;
        }
        if (down && (!pad.held[i] || now - pad.repeatDue[i] < 0x80000000u)) {
            MessagePost(win32Video.owner, WM_KEYDOWN, (uintptr_t)def.virtualKey, 1 | (pad.held[i] ? 1 << 30 : 0));
            pad.repeatDue[i] = now + (pad.held[i] ? RepeatPeriod : RepeatDelay);
        } else if (!down && pad.held[i]) {
            MessagePost(win32Video.owner, WM_KEYUP, (uintptr_t)def.virtualKey, 1);
        }
        pad.held[i] = down;
    }
}

int Win32PadKeyHeld(int virtualKey)
{
    pad.steerPolled = GetTickCount();
    for (int i = 0; i < PadKeyCount; i++)
        if (PadKeyTable[i].virtualKey == virtualKey && pad.held[i])
            return 1;
    return 0;
}
