// Gamepads in the page: they steer, fire, lock on and open the menu as the keys do, and work the screens with a pointer.
#include "platform/backend.h"
#include "platform/gx.h"
#include "platform/web/web_internal.h"
#include "platform/win.h"

#include <emscripten.h>
#include <emscripten/html5.h>

#include <cmath>

// The browsers' standard layout: buttons 0 A, 1 B, 2 X, 9 Start, 12 to 15 the
// d-pad; axes 0 and 1 the left stick. A direction is held by the d-pad or by
// the stick pushed past half way.
struct WebPadDef {
    int virtualKey;
    int button;
    int otherButton;   // -1: none
    int axis;          // -1: none
    int sign;          // the stick's direction that holds the key
};

static const WebPadDef WebPadTable[] = {
    { KeyUp, 12, -1, 1, -1 },   { KeyDown, 13, -1, 1, 1 },   { KeyLeft, 14, -1, 0, -1 }, { KeyRight, 15, -1, 0, 1 },
    { KeyFire, 0, -1, -1, 0 },  { KeyLockOn, 1, 2, -1, 0 },  { KeyMenu, 9, -1, -1, 0 },
};
enum { padKeyCount = sizeof WebPadTable / sizeof WebPadTable[0] };

static const double steerThreshold = 0.5;
static const double pointerDeadZone = 0.18;     // a resting stick drifts less than this
static const float pointerStickSpeed = 260.0f;  // frame pixels a second, stick fully over
static const float pointerPadSpeed = 140.0f;    // on the d-pad

enum : uint32_t {
    repeatDelay = 500,     // held buttons repeat as keyboard keys do
    repeatPeriod = 50,
    playWindow = 250,      // arrows polled this recently: play is running
    pointerIdle = 8000,    // the pointer hides after this long unused
};

// A pressed while the screens are up taps where the pointer is instead of
// firing (or, with the pointer hidden, first shows it); its release ends the tap.
enum WebPadPress { PressUp, PressKey, PressTap, PressSwallowed };

struct WebPadKey {
    WebPadPress press;
    uint32_t repeatDue;
};

struct WebPadState {
    WebPadKey keys[padKeyCount];
    uint32_t steerPolled;
    int steerPolledEver;
    int playing;
    int padLastUsed;
    int shown;
    float x = 120.0f, y = 160.0f;   // the pointer, in frame pixels
    uint32_t lastUpdate;
    uint32_t lastUse;
    int drawnX = -1, drawnY = -1, drawnShown;
};

static WebPadState pad;

void WebPadSteerPolled()
{
    pad.steerPolled = BackendNow();
    pad.steerPolledEver = 1;
}

int WebPadKeyHeld(int virtualKey)
{
    for (int i = 0; i < padKeyCount; i++)
        if (WebPadTable[i].virtualKey == virtualKey)
            return pad.keys[i].press == PressKey;
    return 0;
}

void WebPadMouseUsed(int frameX, int frameY)
{
    pad.padLastUsed = 0;
    pad.shown = 0;
    pad.x = (float)frameX;
    pad.y = (float)frameY;
}

// The stick's push past the dead zone, curved so that small pushes move finely: -1 to 1.
static float WebPadStick(double value)
{
    double magnitude = std::fabs(value);
    if (magnitude <= pointerDeadZone)
        return 0.0f;
    float push = (float)std::fmin((magnitude - pointerDeadZone) / (1.0 - pointerDeadZone), 1.0);
    return value < 0 ? -push * push : push * push;
}

static intptr_t WebPadPointerAt()
{
    return (intptr_t)((int)pad.y << 16 | (int)pad.x);
}

static void WebPadKeyChange(int index, int down, uint32_t now)
{
    WebPadKey& key = pad.keys[index];
    int virtualKey = WebPadTable[index].virtualKey;
    if (down && key.press == PressUp) {
        if (virtualKey == KeyFire && !pad.playing) {
            key.press = pad.shown ? PressTap : PressSwallowed;
            if (key.press == PressTap)
                MessagePost(webOwner, WM_LBUTTONDOWN, 1, WebPadPointerAt());
            return;
        }
        key.press = PressKey;
        key.repeatDue = now + repeatDelay;
        MessagePost(webOwner, WM_KEYDOWN, (uintptr_t)virtualKey, 1);
    } else if (!down && key.press != PressUp) {
        if (key.press == PressTap)
            MessagePost(webOwner, WM_LBUTTONUP, 0, WebPadPointerAt());
        else if (key.press == PressKey)
            MessagePost(webOwner, WM_KEYUP, (uintptr_t)virtualKey, 1);
        key.press = PressUp;
    } else if (down && key.press == PressKey && (int32_t)(now - key.repeatDue) >= 0) {
        key.repeatDue = now + repeatPeriod;
        MessagePost(webOwner, WM_KEYDOWN, (uintptr_t)virtualKey, 1 | 1 << 30);
    }
}

void WebPadUpdate()
{
    uint32_t now = BackendNow();
    float dt = pad.lastUpdate ? (float)(now - pad.lastUpdate) / 1000.0f : 0.0f;
    pad.lastUpdate = now;
    dt = dt > 0.05f ? 0.05f : dt;
    int playing = pad.steerPolledEver && now - pad.steerPolled < playWindow;
    if (playing != pad.playing) {
        // Play resuming hides the pointer; a screen coming up after the pad
        // was used shows it at once.
        pad.playing = playing;
        pad.shown = !playing && pad.padLastUsed;
        pad.lastUse = now;
    }

    int down[padKeyCount] = {};
    float dx = 0.0f, dy = 0.0f;
    if (emscripten_sample_gamepad_data() == EMSCRIPTEN_RESULT_SUCCESS) {
        int count = emscripten_get_num_gamepads();
        for (int p = 0; p < count; p++) {
            EmscriptenGamepadEvent state;
            if (emscripten_get_gamepad_status(p, &state) != EMSCRIPTEN_RESULT_SUCCESS || !state.connected)
                continue;
            auto button = [&state](int b) { return b >= 0 && b < state.numButtons && state.digitalButton[b]; };
            for (int i = 0; i < padKeyCount; i++) {
                const WebPadDef& def = WebPadTable[i];
                down[i] |= button(def.button) || button(def.otherButton) ||
                           (def.axis >= 0 && def.axis < state.numAxes && state.axis[def.axis] * def.sign > steerThreshold);
            }
            if (state.numAxes >= 2) {
                dx += WebPadStick(state.axis[0]) * pointerStickSpeed;
                dy += WebPadStick(state.axis[1]) * pointerStickSpeed;
            }
            dx += (float)(button(15) - button(14)) * pointerPadSpeed;
            dy += (float)(button(13) - button(12)) * pointerPadSpeed;
        }
    }
    int anyDown = 0;
    for (int i = 0; i < padKeyCount; i++) {
        anyDown |= down[i];
        WebPadKeyChange(i, down[i], now);
    }
    int moved = !pad.playing && (dx != 0.0f || dy != 0.0f);
    if (moved) {
        pad.x = std::fmin(std::fmax(pad.x + dx * dt, 0.0f), 239.0f);
        pad.y = std::fmin(std::fmax(pad.y + dy * dt, 0.0f), 319.0f);
    }
    if (anyDown || moved) {
        pad.padLastUsed = 1;
        pad.lastUse = now;
        pad.shown |= !pad.playing;
    }
    if (pad.shown && now - pad.lastUse > pointerIdle)
        pad.shown = 0;

    // The page draws the pointer over the picture, where it taps.
    if (pad.shown != pad.drawnShown || (pad.shown && ((int)pad.x != pad.drawnX || (int)pad.y != pad.drawnY))) {
        if (pad.shown)
            MessagePost(webOwner, WM_MOUSEMOVE, 0, WebPadPointerAt());
        pad.drawnShown = pad.shown;
        pad.drawnX = (int)pad.x;
        pad.drawnY = (int)pad.y;
        EM_ASM({ if (Module['showPointer']) Module['showPointer']($0, $1, $2); }, pad.drawnX, pad.drawnY, pad.shown);
    }
}
