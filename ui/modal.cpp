// The nested screen loop: redraws the screen with live particles and waits for a tap on a button.
#include "app/display.h"
#include "gfx/particle.h"
#include "gfx/surface.h"
#include "platform/sys.h"
#include "platform/win.h"
#include "ui/button.h"

int RunModalScreen(const ButtonSet* set, Surface* screen)
{
    Surface background;
    if (!SurfaceCopy(&background, screen))
        return 1;
    uint32_t last = 0;
    bool first = true;
    for (;;) {
        uint32_t now = SysTicks();
        if (first || now - last > 40) {
            SurfaceCopy(screen, &background);
            ParticleSystemRender(&particleSystem, screen);
            DrawButtons(set, screen);
            Present(screen);
            last = now;
            first = false;
        }
        Message message;
        if (!MessagePeek(&message))
            continue;
        if (!MessageGet(&message)) {
            // The outer loop must see the quit too.
            MessagePostQuit(0);
            return 0;
        }
        switch (message.message) {
        case WM_KEYDOWN:
        case WM_KEYUP:
        case WM_MOUSEMOVE:
        case WM_LBUTTONDOWN:
            break;
        case WM_LBUTTONUP: {
            int hit = ButtonHitTest(set, (int16_t)(message.lParam & 0xFFFF), (int16_t)((message.lParam >> 16) & 0xFFFF));
            if (hit)
                return set->buttons[hit - 1].id;
            break;
        }
        default:
            MessageTranslate(&message);
            MessageDispatch(&message);
            break;
        }
    }
}
