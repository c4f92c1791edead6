// Gamepads: hot-plugged controllers steer, fire, lock on and open the menu as the keys do, and work the screens with a pointer.
#include "platform/gx.h"
#include "platform/sdl/sdl_internal.h"
#include "platform/win.h"

#include <atomic>
#include <cmath>

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
enum { PadKeyCount = sizeof PadKeyTable / sizeof PadKeyTable[0] };

enum : int {
    PadMax = 4,                // pads open at once; more are left alone
    SteerThreshold = 16384,    // half way: the stick holds an arrow
    PointerDeadZone = 6000,    // a resting stick drifts less than this
};

enum : uint32_t {
    RepeatDelay = 500,         // held buttons repeat as keyboard keys do
    RepeatPeriod = 50,
    PlayWindow = 250,          // arrows polled this recently: play is running
    PointerIdle = 8000,        // the pointer hides after this long unused
    PointerRepaint = 15,       // the pointer is redrawn at most this often
};

static const float PointerSpeed = 260.0f;      // frame pixels a second, stick fully over
static const float PointerPadSpeed = 140.0f;   // frame pixels a second on the d-pad

// What each key of the table does now. A pressed while the screens are up
// taps instead of firing, and its release ends the same tap.
enum PadPress { PadUp, PadKey, PadTap, PadSwallowed };

struct PadKeyState {
    PadPress press;
    uint32_t repeatDue;
    int buttonsHeld;   // by the button events, so that a press shorter than a pump is not lost
};

struct PadState {
    SDL_GameController* pads[PadMax] = {};
    PadKeyState keys[PadKeyCount] = {};
    uint32_t steerPolled = 0;      // the last time the game read the arrows
    int steerPolledEver = 0;
    int playing = 0;               // as last seen by SdlPadUpdate
    int padLastUsed = 0;           // the pad, not the mouse, was used last
    int shown = 0;
    float x = 120.0f, y = 160.0f;  // the pointer, in frame pixels; it starts in the middle
    uint32_t lastUpdate = 0;
    uint32_t lastUse = 0;
    uint32_t lastRepaint = 0;
    int drawnX = -1, drawnY = -1, drawnShown = 0;
};

static PadState pad;
// The pointer as the drawing and the tests read it.
static std::atomic<int> pointerX = 120, pointerY = 160, pointerShown = 0;

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
            for (PadKeyState& key : pad.keys)
                key.buttonsHeld = 0;
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
    if (pad.keys[index].buttonsHeld > 0)
        return 1;
    for (SDL_GameController* controller : pad.pads)
        if (controller && def.axis != SDL_CONTROLLER_AXIS_INVALID &&
            def.sign * SDL_GameControllerGetAxis(controller, def.axis) >= SteerThreshold)
            return 1;
    return 0;
}

static void PadKeyChange(int index, int down, uint32_t now);

// A button of an open pad went down or came up: its key follows at once.
static void PadButton(const SDL_ControllerButtonEvent& event)
{
    if (!PadIsOpen(event.which))
        return;
    for (int i = 0; i < PadKeyCount; i++) {
        const PadKeyDef& def = PadKeyTable[i];
        if (event.button != def.button && event.button != def.otherButton)
            continue;
        PadKeyState& key = pad.keys[i];
        key.buttonsHeld += event.state == SDL_PRESSED ? 1 : -1;
        key.buttonsHeld = key.buttonsHeld < 0 ? 0 : key.buttonsHeld;
        PadKeyChange(i, PadKeyDown(i), SDL_GetTicks());
    }
    pad.padLastUsed = 1;
    pad.lastUse = SDL_GetTicks();
    if (!pad.playing)
        pad.shown = 1;
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

int SdlPadKeyHeld(int virtualKey)
{
    for (int i = 0; i < PadKeyCount; i++)
        if (PadKeyTable[i].virtualKey == virtualKey)
            return pad.keys[i].press == PadKey;
    return 0;
}

void SdlPadSteerPolled()
{
    pad.steerPolled = SDL_GetTicks();
    pad.steerPolledEver = 1;
}

void SdlPadMouseUsed(int frameX, int frameY)
{
    pad.padLastUsed = 0;
    pad.shown = 0;
    pad.x = (float)frameX;
    pad.y = (float)frameY;
}

int SdlPadPointer(int* frameX, int* frameY)
{
    *frameX = pointerX;
    *frameY = pointerY;
    return pointerShown;
}

// The stick's push along one axis past the dead zone, curved so that small
// pushes move finely: -1 to 1.
static float PadStick(SDL_GameController* controller, SDL_GameControllerAxis axis)
{
    int value = SDL_GameControllerGetAxis(controller, axis);
    int magnitude = value < 0 ? -value : value;
    if (magnitude <= PointerDeadZone)
        return 0.0f;
    float push = (float)(magnitude - PointerDeadZone) / (float)(32767 - PointerDeadZone);
    push = push > 1.0f ? 1.0f : push;
    return value < 0 ? -push * push : push * push;
}

// Moves the pointer for dt seconds; nonzero when the pad asked it to move.
static int PadMovePointer(float dt)
{
    float dx = 0.0f, dy = 0.0f;
    for (SDL_GameController* controller : pad.pads) {
        if (!controller)
            continue;
        dx += PadStick(controller, SDL_CONTROLLER_AXIS_LEFTX) * PointerSpeed;
        dy += PadStick(controller, SDL_CONTROLLER_AXIS_LEFTY) * PointerSpeed;
        dx += (SDL_GameControllerGetButton(controller, SDL_CONTROLLER_BUTTON_DPAD_RIGHT) -
               SDL_GameControllerGetButton(controller, SDL_CONTROLLER_BUTTON_DPAD_LEFT)) * PointerPadSpeed;
        dy += (SDL_GameControllerGetButton(controller, SDL_CONTROLLER_BUTTON_DPAD_DOWN) -
               SDL_GameControllerGetButton(controller, SDL_CONTROLLER_BUTTON_DPAD_UP)) * PointerPadSpeed;
    }
    if (dx == 0.0f && dy == 0.0f)
        return 0;
    pad.x = std::fmin(std::fmax(pad.x + dx * dt, 0.0f), 239.0f);
    pad.y = std::fmin(std::fmax(pad.y + dy * dt, 0.0f), 319.0f);
    return 1;
}

static intptr_t PadPointerPosition()
{
    return (intptr_t)((int)pad.y << 16 | (int)pad.x);
}

// A key of the table went down or came up, or repeats.
static void PadKeyChange(int index, int down, uint32_t now)
{
    PadKeyState& key = pad.keys[index];
    int virtualKey = PadKeyTable[index].virtualKey;
    if (down && key.press == PadUp) {
        // A works the screens while play is not running: it taps where the
        // pointer is, or, with the pointer hidden, first shows it.
        if (virtualKey == KeyFire && !pad.playing) {
            key.press = pad.shown ? PadTap : PadSwallowed;
            if (key.press == PadTap)
                MessagePost(sdlVideo.owner, WM_LBUTTONDOWN, 1, PadPointerPosition());
            return;
        }
        key.press = PadKey;
        key.repeatDue = now + RepeatDelay;
        MessagePost(sdlVideo.owner, WM_KEYDOWN, (uintptr_t)virtualKey, 1);
    } else if (!down && key.press != PadUp) {
        if (key.press == PadTap)
            MessagePost(sdlVideo.owner, WM_LBUTTONUP, 0, PadPointerPosition());
        else if (key.press == PadKey)
            MessagePost(sdlVideo.owner, WM_KEYUP, (uintptr_t)virtualKey, 1);
        key.press = PadUp;
    } else if (down && key.press == PadKey && (int32_t)(now - key.repeatDue) >= 0) {
        key.repeatDue += RepeatPeriod * ((now - key.repeatDue) / RepeatPeriod + 1);
        MessagePost(sdlVideo.owner, WM_KEYDOWN, (uintptr_t)virtualKey, 1 | 1 << 30);
    }
}

void SdlPadUpdate()
{
    uint32_t now = SDL_GetTicks();
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
        int down = PadKeyDown(i);
        anyDown |= down;
        PadKeyChange(i, down, now);
    }
    int moved = !pad.playing && PadMovePointer(dt);
    if (anyDown || moved) {
        pad.padLastUsed = 1;
        pad.lastUse = now;
        if (!pad.playing)
            pad.shown = 1;
    }
    if (pad.shown && now - pad.lastUse > PointerIdle)
        pad.shown = 0;

    pointerX = (int)pad.x;
    pointerY = (int)pad.y;
    pointerShown = pad.shown;
    int changed = pad.shown != pad.drawnShown || (pad.shown && (pointerX != pad.drawnX || pointerY != pad.drawnY));
    if (changed && (pad.shown != pad.drawnShown || now - pad.lastRepaint >= PointerRepaint)) {
        if (pad.shown)
            MessagePost(sdlVideo.owner, WM_MOUSEMOVE, 0, PadPointerPosition());
        pad.drawnShown = pad.shown;
        pad.drawnX = pointerX;
        pad.drawnY = pointerY;
        pad.lastRepaint = now;
        SdlRepaint();
    }
}

void SdlPadReset()
{
    for (SDL_GameController* controller : pad.pads)
        if (controller)
            SDL_GameControllerClose(controller);
    pad = PadState();
    pointerX = 120;
    pointerY = 160;
    pointerShown = 0;
}
