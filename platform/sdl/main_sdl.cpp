// The game's entry point on the desktop: SDL up, the program, SDL down.
#include "app/entry.h"
#include "platform/sys.h"
#include "platform/sdl/sdl_internal.h"

#include <cstdio>

int main(int, char**)
{
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "0");
    SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS | SDL_INIT_TIMER) != 0) {
        fprintf(stderr, "space-shooter: cannot start SDL: %s\n", SDL_GetError());
        return 1;
    }
    // Pads are welcome, not needed: a machine without them plays on the keyboard.
    SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER);
    SdlEnterDataFolder();
    int result = WinMain(SysModule(), nullptr, "", 1);
    SDL_Quit();
    return result;
}
