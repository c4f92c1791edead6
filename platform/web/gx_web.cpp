// Web display: the frame lives in memory and is painted into the page's 240 x 320 canvas, which the page scales.
#include "platform/gx.h"
#include "platform/internal.h"
#include "platform/record.h"
#include "platform/web/web_internal.h"

#include <emscripten.h>

static uint16_t frame[240 * 320];
static uint8_t rgba[240 * 320 * 4];

// The whole-number or fractional scale, the bars and the nearest-neighbour
// pixels are the page's (shell.html): the canvas itself is always 240 x 320.
static void WebShowFrame()
{
    for (int i = 0; i < 240 * 320; i++) {
        unsigned p = frame[i];
        uint8_t* out = rgba + 4 * i;
        out[0] = (uint8_t)((p >> 11) << 3 | (p >> 13));
        out[1] = (uint8_t)(((p >> 5) & 63) << 2 | ((p >> 9) & 3));
        out[2] = (uint8_t)((p & 31) << 3 | ((p >> 2) & 7));
        out[3] = 255;
    }
    EM_ASM({
        var canvas = Module['canvas'];
        if (!canvas)
            return;
        if (!Module.frameImage) {
            Module.frameContext = canvas.getContext('2d');
            Module.frameImage = Module.frameContext.createImageData(240, 320);
        }
        Module.frameImage.data.set(HEAPU8.subarray($0, $0 + 240 * 320 * 4));
        Module.frameContext.putImageData(Module.frameImage, 0, 0);
        if (Module['onFrame'])
            Module['onFrame']();
    }, rgba);
}

GXDisplayProperties GXGetDisplayProperties()
{
    return { 240, 320, 2, 480, 16, kfDirect | kfDirect565 };
}

int GXOpenDisplay(Window*, uint32_t)
{
    return GXGateOpen(1);
}

void* GXBeginDraw()
{
    return GXGateBegin() ? frame : nullptr;
}

int GXEndDraw()
{
    if (!GXGateEnd())
        return 0;
    RecordFrame(frame);
    WebShowFrame();
    WebPumpInput();
    WebYieldIfBusy();
    return 1;
}
