// Desktop system services: real milliseconds, sleeps that keep the window alive, and message boxes.
#include "platform/sys.h"
#include "platform/record.h"
#include "platform/sdl/sdl_internal.h"

#include <cstdio>

uint32_t SysTicks()
{
    return RecordClock(SDL_GetTicks());
}

// The desktop flags a window whose events go unread as hung, and held keys
// must stay current, so a sleep keeps reading events in short slices.
void SysSleep(uint32_t ms)
{
    uint32_t end = SDL_GetTicks() + ms;
    RecordPumpBegin();
    for (;;) {
        SdlPumpEvents();
        int32_t rest = (int32_t)(end - SDL_GetTicks());
        if (rest <= 0)
            break;
        SDL_Delay(rest < 5 ? (uint32_t)rest : 5);
    }
    RecordPumpEnd();
}

int SysMessageBox(Window*, const char* text, const char* caption, uint32_t flags)
{
    SDL_MessageBoxButtonData buttons[2] = {
        { SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, SysAnswerOk, "OK" },
        { SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, SysAnswerCancel, "Cancel" },
    };
    SDL_MessageBoxData box = {};
    box.flags = flags & SysBoxError ? SDL_MESSAGEBOX_ERROR : SDL_MESSAGEBOX_INFORMATION;
    box.window = sdlVideo.window;
    box.title = caption;
    box.message = text;
    box.numbuttons = flags & SysBoxOkCancel ? 2 : 1;
    box.buttons = buttons;
    int answer = SysAnswerOk;
    if (SDL_ShowMessageBox(&box, &answer) != 0) {
        fprintf(stderr, "%s: %s\n", caption, text);
        answer = SysAnswerOk;
    }
    return RecordBox(caption, text, answer < 0 ? SysAnswerCancel : answer);
}
