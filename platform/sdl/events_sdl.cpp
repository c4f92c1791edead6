// Desktop input: SDL events become the game's messages; keys are mapped to the game's virtual keys.
#include "platform/backend.h"
#include "platform/gx.h"
#include "platform/pad.h"
#include "platform/record.h"
#include "platform/sdl/sdl_internal.h"
#include "platform/win.h"

struct SdlKeyDef {
    SDL_Scancode scancode;
    int virtualKey;
};

static const SdlKeyDef SdlKeyTable[] = {
    { SDL_SCANCODE_UP, KeyUp },
    { SDL_SCANCODE_DOWN, KeyDown },
    { SDL_SCANCODE_LEFT, KeyLeft },
    { SDL_SCANCODE_RIGHT, KeyRight },
    { SDL_SCANCODE_SPACE, KeyFire },
    { SDL_SCANCODE_Z, KeyFire },
    { SDL_SCANCODE_LCTRL, KeyFire },
    { SDL_SCANCODE_X, KeyLockOn },
    { SDL_SCANCODE_LSHIFT, KeyLockOn },
    { SDL_SCANCODE_ESCAPE, KeyMenu },
    { SDL_SCANCODE_P, KeyMenu },
};

static int SdlVirtualKey(SDL_Scancode scancode)
{
    for (const SdlKeyDef& def : SdlKeyTable)
        if (def.scancode == scancode)
            return def.virtualKey;
    return 0;
}

int16_t InputKeyState(int virtualKey)
{
    int16_t held = 0;
    if (virtualKey >= KeyLeft && virtualKey <= KeyDown) {
        PadSteerPolled(SDL_GetTicks());
        if (PadKeyHeld(virtualKey))
            held = (int16_t)0x8000;
    }
    const Uint8* state = SDL_GetKeyboardState(nullptr);
    for (const SdlKeyDef& def : SdlKeyTable)
        if (def.virtualKey == virtualKey && state[def.scancode])
            held = (int16_t)0x8000;
    return RecordKey(virtualKey, held);
}

// The stylus position of a mouse event, packed as the low and high words of
// lParam. Using the mouse hands the screens back from the pad's pointer.
static intptr_t SdlStylusPosition(int x, int y)
{
    int frameX, frameY;
    SdlWindowToFrame(x, y, &frameX, &frameY);
    PadMouseUsed(frameX, frameY);
    return (intptr_t)(frameY << 16 | frameX);
}

static void SdlToggleFullscreen()
{
    if (!sdlVideo.window)
        return;
    int full = SDL_GetWindowFlags(sdlVideo.window) & SDL_WINDOW_FULLSCREEN_DESKTOP;
    SDL_SetWindowFullscreen(sdlVideo.window, full ? 0 : SDL_WINDOW_FULLSCREEN_DESKTOP);
    SdlRepaint();
}

static void SdlWindowEvent(const SDL_WindowEvent& event)
{
    Window* owner = sdlVideo.owner;
    switch (event.event) {
    case SDL_WINDOWEVENT_FOCUS_GAINED:
        WindowSetForegroundState(owner);
        MessagePost(owner, WM_ACTIVATE, WA_ACTIVE, 0);
        break;
    case SDL_WINDOWEVENT_FOCUS_LOST:
        WindowSetForegroundState(nullptr);
        MessagePost(owner, WM_ACTIVATE, WA_INACTIVE, 0);
        break;
    case SDL_WINDOWEVENT_CLOSE:
        MessagePost(owner, WM_CLOSE, 0, 0);
        break;
    case SDL_WINDOWEVENT_EXPOSED:
    case SDL_WINDOWEVENT_SIZE_CHANGED:
        SdlRepaint();
        break;
    }
}

void SdlPumpEvents()
{
    Window* owner = sdlVideo.owner;
    SDL_Event event;
    RecordPumpBegin();
    while (SDL_PollEvent(&event)) {
        switch (event.type) {
        case SDL_QUIT:
            MessagePost(owner, WM_CLOSE, 0, 0);
            break;
        case SDL_WINDOWEVENT:
            SdlWindowEvent(event.window);
            break;
        case SDL_KEYDOWN:
            // The desktop's own keys: F11 or Alt+Enter fills the screen or
            // gives the window back, F12 saves a screenshot, M turns the sound
            // off and on; the game never sees them.
            if (!event.key.repeat && (event.key.keysym.scancode == SDL_SCANCODE_F11 ||
                                      (event.key.keysym.scancode == SDL_SCANCODE_RETURN && (event.key.keysym.mod & KMOD_ALT)))) {
                SdlToggleFullscreen();
                break;
            }
            if (event.key.keysym.scancode == SDL_SCANCODE_F12) {
                if (!event.key.repeat)
                    SdlScreenshot();
                break;
            }
            if (event.key.keysym.scancode == SDL_SCANCODE_M) {
                if (!event.key.repeat)
                    SdlTitleMessage(SdlAudioToggleMute() ? "sound off (M turns it on)" : "sound on");
                break;
            }
            [[fallthrough]];
        case SDL_KEYUP: {
            // Auto-repeat arrives as further key-down messages, as on the hand-held.
            int key = SdlVirtualKey(event.key.keysym.scancode);
            if (key)
                MessagePost(owner, event.type == SDL_KEYDOWN ? WM_KEYDOWN : WM_KEYUP, (uintptr_t)key,
                            1 | (event.key.repeat ? 1 << 30 : 0));
            break;
        }
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
            if (event.button.button == SDL_BUTTON_LEFT)
                MessagePost(owner, event.type == SDL_MOUSEBUTTONDOWN ? WM_LBUTTONDOWN : WM_LBUTTONUP,
                            event.type == SDL_MOUSEBUTTONDOWN, SdlStylusPosition(event.button.x, event.button.y));
            break;
        case SDL_MOUSEMOTION:
            MessagePost(owner, WM_MOUSEMOVE, 0, SdlStylusPosition(event.motion.x, event.motion.y));
            break;
        case SDL_AUDIODEVICEADDED:
        case SDL_AUDIODEVICEREMOVED:
            SdlAudioDeviceEvent(event.adevice);
            break;
        default:
            SdlPadEvent(event);
            break;
        }
    }
    SdlPadUpdate();
    SdlTitleUpdate();
    RecordPumpEnd();
}
