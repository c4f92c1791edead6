// Gamepads: hot-plugged controllers steer, fire, lock on and open the menu as the keys do, and work the screens with a pointer.
#include "platform/gx.h"
#include "platform/pad.h"
#include "platform/sdl/sdl_internal.h"
#include "platform/win.h"

// How the pad stands in for the keyboard. A direction is held by the d-pad or
// by the left stick pushed past half way; the pointer moves by either.
struct PadKeyDef {
    int virtualKey;
    SDL_GameControllerButton button;
    SDL_GameControllerButton otherButton;
    SDL_GameControllerAxis axis;
    int sign;   // the stick's direction that holds the key
};

static const PadKeyDef PadKeyTable[] = {
    { KeyUp,     SDL_CONTROLLER_BUTTON_DPAD_UP,    SDL_CONTROLLER_BUTTON_INVALID, SDL_CONTROLLER_AXIS_LEFTY,   -1 },
    { KeyDown,   SDL_CONTROLLER_BUTTON_DPAD_DOWN,  SDL_CONTROLLER_BUTTON_INVALID, SDL_CONTROLLER_AXIS_LEFTY,    1 },
    { KeyLeft,   SDL_CONTROLLER_BUTTON_DPAD_LEFT,  SDL_CONTROLLER_BUTTON_INVALID, SDL_CONTROLLER_AXIS_LEFTX,   -1 },
    { KeyRight,  SDL_CONTROLLER_BUTTON_DPAD_RIGHT, SDL_CONTROLLER_BUTTON_INVALID, SDL_CONTROLLER_AXIS_LEFTX,    1 },
    { KeyFire,   SDL_CONTROLLER_BUTTON_A,          SDL_CONTROLLER_BUTTON_INVALID, SDL_CONTROLLER_AXIS_INVALID, 0 },
    { KeyLockOn, SDL_CONTROLLER_BUTTON_B,          SDL_CONTROLLER_BUTTON_X,       SDL_CONTROLLER_AXIS_INVALID, 0 },
    { KeyMenu,   SDL_CONTROLLER_BUTTON_START,      SDL_CONTROLLER_BUTTON_INVALID, SDL_CONTROLLER_AXIS_INVALID, 0 },
};
static_assert(sizeof PadKeyTable / sizeof PadKeyTable[0] == PadKeyCount, "one row a key, in the order of the shared pad's keys");

enum : int {
    PadMax = 4,                // pads open at once; more are left alone
    SteerThreshold = 16384,    // half way: the stick holds an arrow
};

static const float PointerDeadZone = 6000.0f / 32767.0f;   // a resting stick drifts less than this
static const float PointerSpeed = 260.0f;      // frame pixels a second, stick fully over
static const float PointerPadSpeed = 140.0f;   // frame pixels a second on the d-pad

struct PadState {
    SDL_GameController* pads[PadMax] = {};
    int buttonsHeld[PadKeyCount] = {};   // by the button events, so that a press shorter than a pump is not lost
};

static PadState pad;

static void PadOpen(int deviceIndex)
{
    SDL_GameController* controller = SDL_GameControllerOpen(deviceIndex);
    if (!controller)
        return;
    for (SDL_GameController*& slot : pad.pads) {
        if (slot == controller)
            return;   // SDL hands back the same pad when it is opened twice
        if (!slot) {
            slot = controller;
            return;
        }
    }
    SDL_GameControllerClose(controller);
}

static void PadClose(SDL_JoystickID instance)
{
    for (SDL_GameController*& slot : pad.pads) {
        if (slot && SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(slot)) == instance) {
            SDL_GameControllerClose(slot);
            slot = nullptr;
            // Buttons held on the pad that went are let go.
            for (int& held : pad.buttonsHeld)
                held = 0;
        }
    }
}

static int PadIsOpen(SDL_JoystickID instance)
{
    for (SDL_GameController* controller : pad.pads)
        if (controller && SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(controller)) == instance)
            return 1;
    return 0;
}

static int PadKeyDown(int index)
{
    const PadKeyDef& def = PadKeyTable[index];
    if (pad.buttonsHeld[index] > 0)
        return 1;
    for (SDL_GameController* controller : pad.pads)
        if (controller && def.axis != SDL_CONTROLLER_AXIS_INVALID &&
            def.sign * SDL_GameControllerGetAxis(controller, def.axis) >= SteerThreshold)
            return 1;
    return 0;
}

// A button of an open pad went down or came up: its key follows at once.
static void PadButton(const SDL_ControllerButtonEvent& event)
{
    if (!PadIsOpen(event.which))
        return;
    for (int i = 0; i < PadKeyCount; i++) {
        const PadKeyDef& def = PadKeyTable[i];
        if (event.button != def.button && event.button != def.otherButton)
            continue;
        int& held = pad.buttonsHeld[i];
        held += event.state == SDL_PRESSED ? 1 : -1;
        held = held < 0 ? 0 : held;
        PadKeyEvent(sdlVideo.owner, i, PadKeyDown(i), SDL_GetTicks());
    }
}

void SdlPadEvent(const SDL_Event& event)
{
    switch (event.type) {
    case SDL_CONTROLLERDEVICEADDED:
        PadOpen(event.cdevice.which);
        break;
    case SDL_CONTROLLERDEVICEREMOVED:
        PadClose(event.cdevice.which);
        break;
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP:
        PadButton(event.cbutton);
        break;
    }
}

void SdlPadUpdate()
{
    int down[PadKeyCount];
    for (int i = 0; i < PadKeyCount; i++)
        down[i] = PadKeyDown(i);
    float dx = 0.0f, dy = 0.0f;
    for (SDL_GameController* controller : pad.pads) {
        if (!controller)
            continue;
        auto stick = [controller](SDL_GameControllerAxis axis) {
            return PadStick((float)SDL_GameControllerGetAxis(controller, axis) / 32767.0f, PointerDeadZone);
        };
        auto button = [controller](SDL_GameControllerButton b) { return SDL_GameControllerGetButton(controller, b); };
        dx += stick(SDL_CONTROLLER_AXIS_LEFTX) * PointerSpeed;
        dy += stick(SDL_CONTROLLER_AXIS_LEFTY) * PointerSpeed;
        dx += (float)(button(SDL_CONTROLLER_BUTTON_DPAD_RIGHT) - button(SDL_CONTROLLER_BUTTON_DPAD_LEFT)) * PointerPadSpeed;
        dy += (float)(button(SDL_CONTROLLER_BUTTON_DPAD_DOWN) - button(SDL_CONTROLLER_BUTTON_DPAD_UP)) * PointerPadSpeed;
    }
    if (PadUpdate(sdlVideo.owner, down, dx, dy, SDL_GetTicks()))
        SdlRepaint();
}

void SdlPadReset()
{
    for (SDL_GameController* controller : pad.pads)
        if (controller)
            SDL_GameControllerClose(controller);
    pad = PadState();
    PadReset();
}
