// The game's entry point on the desktop: SDL up, the program, SDL down.
#include "app/entry.h"
#include "platform/gx.h"
#include "platform/record.h"
#include "platform/sys.h"
#include "platform/sdl/sdl_internal.h"

#include <cstdio>
#include <cstring>
#include <string>

int main(int argc, char** argv)
{
    // The game reads no command line; --record FILE is the desktop's own.
    const char* recordPath = nullptr;
    for (int i = 1; i + 1 < argc; i++)
        if (!strcmp(argv[i], "--record"))
            recordPath = argv[++i];

    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "0");
    SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS | SDL_INIT_TIMER) != 0) {
        fprintf(stderr, "space-shooter: cannot start SDL: %s\n", SDL_GetError());
        return 1;
    }
    std::string error;
    if (recordPath && !RecordStart(recordPath, GXGetDisplayProperties().ffFormat, &error)) {
        fprintf(stderr, "space-shooter: %s\n", error.c_str());
        SDL_Quit();
        return 1;
    }
    // Pads are welcome, not needed: a machine without them plays on the keyboard.
    SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER);
    SdlEnterDataFolder();
    int result = WinMain(SysModule(), nullptr, "", 1);
    if (recordPath && !RecordFinish(&error))
        fprintf(stderr, "space-shooter: %s\n", error.c_str());
    SDL_Quit();
    return result;
}
