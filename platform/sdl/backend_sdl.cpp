// Desktop backend hooks: waiting on SDL's event queue, and the one SDL window.
#include "platform/backend.h"
#include "platform/internal.h"
#include "platform/res.h"
#include "platform/sdl/sdl_internal.h"

#include <cstring>
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

// The largest whole-number scale of 240 x 320 that fits the usable area of
// the window's display (the desktop less its panels), with room for the frame
// the window manager puts around the window, when it tells.
static int SdlWindowScale(int display, int borderW, int borderH)
{
    SDL_Rect usable;
    if (SDL_GetDisplayUsableBounds(display < 0 ? 0 : display, &usable) != 0)
        return 2;
    int w = usable.w - borderW, h = usable.h - borderH;
    int scale = w / 240 < h / 320 ? w / 240 : h / 320;
    return scale < 1 ? 1 : scale;
}

// The class icon: a 32-bit bitmap resource named after its id ("ICON107"),
// rows bottom-up with the alpha in each pixel's fourth byte.
static void SdlSetIcon(SDL_Window* sdlWindow, int iconId)
{
    std::wstring name = L"ICON" + std::to_wstring(iconId);
    uint32_t size = 0;
    const uint8_t* dib = ResourceFindBitmap(nullptr, name.c_str(), &size);
    if (!dib || size < 40)
        return;
    auto u32 = [dib](int at) { return (uint32_t)dib[at] | dib[at + 1] << 8 | dib[at + 2] << 16 | (uint32_t)dib[at + 3] << 24; };
    int32_t w = (int32_t)u32(4), h = (int32_t)u32(8);
    if (u32(0) != 40 || (dib[14] | dib[15] << 8) != 32 || w <= 0 || h <= 0 || w > 256 || h > 256 ||
        40 + (uint64_t)w * h * 4 > size)
        return;
    SDL_Surface* icon = SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, SDL_PIXELFORMAT_BGRA32);
    if (!icon)
        return;
    for (int y = 0; y < h; y++)
        memcpy((uint8_t*)icon->pixels + y * icon->pitch, dib + 40 + (size_t)(h - 1 - y) * w * 4, (size_t)w * 4);
    SDL_SetWindowIcon(sdlWindow, icon);
    SDL_FreeSurface(icon);
}

void BackendWindowCreated(Window* window, int iconId)
{
    if (sdlVideo.window)
        return;
    if (wakeEvent == (Uint32)-1)
        wakeEvent = SDL_RegisterEvents(1);
    std::string title;
    for (wchar_t c : window->title)
        title += (char)(c < 128 ? c : '?');
    sdlVideo.scale = SdlWindowScale(0, 0, 0);
    sdlVideo.window = SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                       240 * sdlVideo.scale, 320 * sdlVideo.scale,
                                       SDL_WINDOW_HIDDEN | SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI);
    sdlVideo.owner = window;
    if (!sdlVideo.window)
        return;
    SdlSetIcon(sdlVideo.window, iconId);
    SDL_SetWindowMinimumSize(sdlVideo.window, 240, 320);
    // Once the window exists its frame can be measured; a scale whose frame
    // would run off the usable area steps down.
    int top = 0, left = 0, bottom = 0, right = 0;
    if (SDL_GetWindowBordersSize(sdlVideo.window, &top, &left, &bottom, &right) == 0) {
        int scale = SdlWindowScale(SDL_GetWindowDisplayIndex(sdlVideo.window), left + right, top + bottom);
        if (scale < sdlVideo.scale) {
            sdlVideo.scale = scale;
            SDL_SetWindowSize(sdlVideo.window, 240 * scale, 320 * scale);
            SDL_SetWindowPosition(sdlVideo.window, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
        }
    }
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

// Without a real screen (SDL's dummy driver, as in tests) there is no desktop
// for a second copy to come forward on: each process is alone.
std::string BackendInstanceScope()
{
    const char* driver = SDL_GetCurrentVideoDriver();
    if (driver && strcmp(driver, "dummy") == 0)
        return "";
    return "sdl:" + std::to_string(getuid());
}

void BackendInstanceServed(uint32_t)
{
}
