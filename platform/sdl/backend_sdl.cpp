// Desktop backend hooks: waiting on SDL's event queue, and the one SDL window.
#include "platform/backend.h"
#include "platform/internal.h"
#include "platform/sdl/sdl_internal.h"

#include <string>
#include <unistd.h>

static Uint32 wakeEvent = (Uint32)-1;

uint32_t BackendNow()
{
    return SDL_GetTicks();
}

void BackendPump()
{
    SdlPumpEvents();
    InstanceServeInbox();
}

void BackendWait(uint32_t until, int hasDeadline)
{
    if (!hasDeadline) {
        SDL_WaitEvent(nullptr);
        return;
    }
    int32_t rest = (int32_t)(until - SDL_GetTicks());
    if (rest > 0)
        SDL_WaitEventTimeout(nullptr, rest);
}

// A screen loop polls without rest; yielding a millisecond here keeps it from
// burning a whole processor core on the desktop.
void BackendIdle(uint32_t, int)
{
    SDL_WaitEventTimeout(nullptr, 1);
}

void BackendWake()
{
    if (wakeEvent == (Uint32)-1)
        return;
    SDL_Event event = {};
    event.type = wakeEvent;
    SDL_PushEvent(&event);
}

// The largest whole-number scale of 240 x 320 that fits the desktop.
static int SdlWindowScale()
{
    SDL_Rect usable;
    if (SDL_GetDisplayUsableBounds(0, &usable) != 0)
        return 2;
    int scale = usable.w / 240 < usable.h / 320 ? usable.w / 240 : usable.h / 320;
    return scale < 1 ? 1 : scale;
}

void BackendWindowCreated(Window* window, int)
{
    if (sdlVideo.window)
        return;
    if (wakeEvent == (Uint32)-1)
        wakeEvent = SDL_RegisterEvents(1);
    std::string title;
    for (wchar_t c : window->title)
        title += (char)(c < 128 ? c : '?');
    sdlVideo.scale = SdlWindowScale();
    sdlVideo.window = SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                       240 * sdlVideo.scale, 320 * sdlVideo.scale,
                                       SDL_WINDOW_HIDDEN | SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI);
    sdlVideo.owner = window;
}

void BackendWindowShown(Window* window)
{
    if (window == sdlVideo.owner && sdlVideo.window)
        SDL_ShowWindow(sdlVideo.window);
}

void BackendWindowDestroyed(Window* window)
{
    if (window != sdlVideo.owner)
        return;
    if (sdlVideo.texture)
        SDL_DestroyTexture(sdlVideo.texture);
    if (sdlVideo.renderer)
        SDL_DestroyRenderer(sdlVideo.renderer);
    if (sdlVideo.window)
        SDL_DestroyWindow(sdlVideo.window);
    sdlVideo = {};
}

void BackendWindowRaise(Window* window)
{
    if (window == sdlVideo.owner && sdlVideo.window) {
        SDL_RestoreWindow(sdlVideo.window);
        SDL_RaiseWindow(sdlVideo.window);
    }
    WindowSetForegroundState(window);
}

std::string BackendInstanceScope()
{
    return "sdl:" + std::to_string(getuid());
}

void BackendInstanceServed(uint32_t, uint32_t)
{
}
