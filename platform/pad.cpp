// Gamepads as every backend turns them into the game's keys and, on the screens, a pointer whose A taps.
#include "platform/pad.h"

#include "platform/gx.h"
#include "platform/win.h"

#include <atomic>
#include <cmath>

static const int PadVirtualKeyTable[PadKeyCount] = { KeyUp, KeyDown, KeyLeft, KeyRight, KeyFire, KeyLockOn, KeyMenu };

enum : uint32_t {
    RepeatDelay = 500,      // held buttons repeat as keyboard keys do
    RepeatPeriod = 50,
    PlayWindow = 250,       // arrows polled this recently: play is running
    PointerIdle = 8000,     // the pointer hides after this long unused
    PointerRepaint = 15,    // the pointer is redrawn at most this often
};

// What each key does now. A pressed while the screens are up taps instead of
// firing (or, with the pointer hidden, first shows it); its release ends the
// same tap.
enum PadPress { PadUp, PadKey, PadTap, PadSwallowed };

struct PadKeyState {
    PadPress press;
    uint32_t repeatDue;
};

struct PadState {
    PadKeyState keys[PadKeyCount] = {};
    uint32_t steerPolled = 0;      // the last time the game read the arrows
    int steerPolledEver = 0;
    int playing = 0;               // as last seen by PadUpdate
    int padLastUsed = 0;           // the pad, not the mouse, was used last
    int shown = 0;
    float x = 120.0f, y = 160.0f;  // the pointer, in frame pixels; it starts in the middle
    uint32_t lastUpdate = 0;
    uint32_t lastUse = 0;
    uint32_t lastRepaint = 0;
    int drawnX = -1, drawnY = -1, drawnShown = 0;
};

static PadState pad;
// The pointer as the drawing reads it.
static std::atomic<int> pointerX = 120, pointerY = 160, pointerShown = 0;

static intptr_t PadPointerPosition()
{
    return (intptr_t)((int)pad.y << 16 | (int)pad.x);
}

static void PadUsed(uint32_t now)
{
    pad.padLastUsed = 1;
    pad.lastUse = now;
    if (!pad.playing)
        pad.shown = 1;
}

// A key went down or came up, or repeats.
static void PadKeyChange(Window* owner, int index, int down, uint32_t now)
{
    PadKeyState& key = pad.keys[index];
    int virtualKey = PadVirtualKeyTable[index];
    if (down && key.press == PadUp) {
        if (virtualKey == KeyFire && !pad.playing) {
            key.press = pad.shown ? PadTap : PadSwallowed;
            if (key.press == PadTap)
                MessagePost(owner, WM_LBUTTONDOWN, 1, PadPointerPosition());
            return;
        }
        key.press = PadKey;
        key.repeatDue = now + RepeatDelay;
        MessagePost(owner, WM_KEYDOWN, (uintptr_t)virtualKey, 1);
    } else if (!down && key.press != PadUp) {
        if (key.press == PadTap)
            MessagePost(owner, WM_LBUTTONUP, 0, PadPointerPosition());
        else if (key.press == PadKey)
            MessagePost(owner, WM_KEYUP, (uintptr_t)virtualKey, 1);
        key.press = PadUp;
    } else if (down && key.press == PadKey && (int32_t)(now - key.repeatDue) >= 0) {
        key.repeatDue += RepeatPeriod * ((now - key.repeatDue) / RepeatPeriod + 1);
        MessagePost(owner, WM_KEYDOWN, (uintptr_t)virtualKey, 1 | 1 << 30);
    }
}

void PadKeyEvent(Window* owner, int index, int down, uint32_t now)
{
    PadKeyChange(owner, index, down, now);
    PadUsed(now);
}

int PadUpdate(Window* owner, const int down[PadKeyCount], float dx, float dy, uint32_t now)
{
    float dt = pad.lastUpdate ? (float)(now - pad.lastUpdate) / 1000.0f : 0.0f;
    pad.lastUpdate = now;
    dt = dt > 0.05f ? 0.05f : dt;

    int playing = pad.steerPolledEver && now - pad.steerPolled < PlayWindow;
    if (playing != pad.playing) {
        pad.playing = playing;
        // Play resuming hides the pointer; a screen coming up after the pad
        // was used shows it at once.
        pad.shown = !playing && pad.padLastUsed;
        pad.lastUse = now;
    }

    int anyDown = 0;
    for (int i = 0; i < PadKeyCount; i++) {
        anyDown |= down[i];
        PadKeyChange(owner, i, down[i], now);
    }
    int moved = !pad.playing && (dx != 0.0f || dy != 0.0f);
    if (moved) {
        pad.x = std::fmin(std::fmax(pad.x + dx * dt, 0.0f), 239.0f);
        pad.y = std::fmin(std::fmax(pad.y + dy * dt, 0.0f), 319.0f);
    }
    if (anyDown || moved)
        PadUsed(now);
    if (pad.shown && now - pad.lastUse > PointerIdle)
        pad.shown = 0;

    pointerX = (int)pad.x;
    pointerY = (int)pad.y;
    pointerShown = pad.shown;
    int changed = pad.shown != pad.drawnShown || (pad.shown && (pointerX != pad.drawnX || pointerY != pad.drawnY));
    if (!changed || (pad.shown == pad.drawnShown && now - pad.lastRepaint < PointerRepaint))
        return 0;
    if (pad.shown)
        MessagePost(owner, WM_MOUSEMOVE, 0, PadPointerPosition());
    pad.drawnShown = pad.shown;
    pad.drawnX = pointerX;
    pad.drawnY = pointerY;
    pad.lastRepaint = now;
    return 1;
}

void PadSteerPolled(uint32_t now)
{
    pad.steerPolled = now;
    pad.steerPolledEver = 1;
}

int PadKeyHeld(int virtualKey)
{
    for (int i = 0; i < PadKeyCount; i++)
        if (PadVirtualKeyTable[i] == virtualKey)
            return pad.keys[i].press == PadKey;
    return 0;
}

void PadMouseUsed(int frameX, int frameY)
{
    pad.padLastUsed = 0;
    pad.shown = 0;
    pad.x = (float)frameX;
    pad.y = (float)frameY;
}

int PadPointer(int* frameX, int* frameY)
{
    *frameX = pointerX;
    *frameY = pointerY;
    return pointerShown;
}

float PadStick(float value, float deadZone)
{
    float magnitude = std::fabs(value);
    if (magnitude <= deadZone)
        return 0.0f;
    float push = std::fmin((magnitude - deadZone) / (1.0f - deadZone), 1.0f);
    return value < 0 ? -push * push : push * push;
}

void PadReset()
{
    pad = PadState();
    pointerX = 120;
    pointerY = 160;
    pointerShown = 0;
}
