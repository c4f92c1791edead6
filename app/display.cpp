// Display binding: the screen and keys taken and given back, frames copied by the reported pitches, the frame clock.
#include "app/display.h"
#include "gfx/surface.h"
#include "platform/sys.h"
#include "platform/win.h"

#include <cstring>

GXDisplayProperties displayProps;
GXKeyList keyList;

static uint32_t frameMark;

int OpenDisplay(Surface* backBuffer, Window* window)
{
    SHFullScreen(window, 0x2A);
    WindowShow(window);
    if (!GXOpenDisplay(window, GX_FULLSCREEN)) {
        SysMessageBox(WindowFocus(), "GXOpenDisplay", "Init Failed", SysBoxOk);
        return 0;
    }
    GXOpenInput();
    return SurfaceCreate(backBuffer, (int32_t)displayProps.cxWidth, (int32_t)displayProps.cyHeight);
}

void CloseDisplay(Window* window)
{
    SHFullScreen(window, 0x15);
    GXCloseInput();
    GXCloseDisplay();
}

void SuspendDisplay(Window* window)
{
    GXCloseInput();
    GXCloseDisplay();
    SHFullScreen(window, 0x01);
    SHFullScreen(window, 0x04);
    SHFullScreen(window, 0x10);
}

void ResumeDisplay(Window* window)
{
    WindowSetForeground(window);
    SHFullScreen(window, 0x02);
    SHFullScreen(window, 0x08);
    SHFullScreen(window, 0x20);
    GXOpenDisplay(window, GX_FULLSCREEN);
    GXOpenInput();
}

// A plain load and store per pixel through two address steps taken once: the
// display's memory may run in any direction.
void Present(const Surface* backBuffer)
{
    uint8_t* base = (uint8_t*)GXBeginDraw();
    if (!base)
        return;
    if (backBuffer->pixels && backBuffer->width * backBuffer->height >= 240 * 320) {
        intptr_t xStep = displayProps.cbxPitch & ~1;
        intptr_t yStep = displayProps.cbyPitch & ~1;
        uint8_t* rowStart = base + (displayProps.cbyPitch < 0 ? 640 : 0);
        const uint16_t* source = backBuffer->pixels;
        for (int y = 0; y < 320; y++) {
            if (xStep == 2) {
                // Pixels side by side in memory: the row is one block move.
                memcpy(rowStart, source, 480);
                source += 240;
            } else {
                uint8_t* target = rowStart;
                for (int x = 0; x < 240; x++) {
                    memcpy(target, source++, 2);
                    target += xStep;
                }
            }
            rowStart += yStep;
        }
    }
    GXEndDraw();
}

uint32_t MarkFrameStart()
{
    frameMark = SysTicks();
    return frameMark;
}

uint32_t FrameElapsed()
{
    return SysTicks() - frameMark;
}

void WaitFrameRest(uint32_t period)
{
    int32_t rest = (int32_t)(period - FrameElapsed());
    if (rest > 0)
        SysSleep((uint32_t)rest);
}
