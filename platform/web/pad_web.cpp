// Gamepads in the page: they steer, fire, lock on and open the menu as the keys do, and work the screens with a pointer.
#include "platform/backend.h"
#include "platform/gx.h"
#include "platform/pad.h"
#include "platform/web/web_internal.h"
#include "platform/win.h"

#include <emscripten.h>
#include <emscripten/html5.h>

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
    { KeyUp,     12, -1,  1, -1 },
    { KeyDown,   13, -1,  1,  1 },
    { KeyLeft,   14, -1,  0, -1 },
    { KeyRight,  15, -1,  0,  1 },
    { KeyFire,    0, -1, -1,  0 },
    { KeyLockOn,  1,  2, -1,  0 },
    { KeyMenu,    9, -1, -1,  0 },
};
static_assert(sizeof WebPadTable / sizeof WebPadTable[0] == PadKeyCount, "one row a key, in the order of the shared pad's keys");

static const double steerThreshold = 0.5;
static const float pointerDeadZone = 0.18f;     // a resting stick drifts less than this
static const float pointerStickSpeed = 260.0f;  // frame pixels a second, stick fully over
static const float pointerPadSpeed = 140.0f;    // on the d-pad

void WebPadUpdate()
{
    int down[PadKeyCount] = {};
    float dx = 0.0f, dy = 0.0f;
    if (emscripten_sample_gamepad_data() == EMSCRIPTEN_RESULT_SUCCESS) {
        int count = emscripten_get_num_gamepads();
        for (int p = 0; p < count; p++) {
            EmscriptenGamepadEvent state;
            if (emscripten_get_gamepad_status(p, &state) != EMSCRIPTEN_RESULT_SUCCESS || !state.connected)
                continue;
            auto button = [&state](int b) { return b >= 0 && b < state.numButtons && state.digitalButton[b]; };
            for (int i = 0; i < PadKeyCount; i++) {
                const WebPadDef& def = WebPadTable[i];
                down[i] |= button(def.button) || button(def.otherButton) ||
                           (def.axis >= 0 && def.axis < state.numAxes && state.axis[def.axis] * def.sign > steerThreshold);
            }
            if (state.numAxes >= 2) {
                dx += PadStick((float)state.axis[0], pointerDeadZone) * pointerStickSpeed;
                dy += PadStick((float)state.axis[1], pointerDeadZone) * pointerStickSpeed;
            }
            dx += (float)(button(15) - button(14)) * pointerPadSpeed;
            dy += (float)(button(13) - button(12)) * pointerPadSpeed;
        }
    }
    // The page draws the pointer over the picture, where it taps.
    int x, y;
    if (PadUpdate(webOwner, down, dx, dy, BackendNow())) {
        int shown = PadPointer(&x, &y);
        EM_ASM({ if (Module['showPointer']) Module['showPointer']($0, $1, $2); }, x, y, shown);
    }
}
