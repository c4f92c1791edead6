// Desktop display: the frame lives in memory and is shown through a streaming 565 texture, scaled by whole numbers.
#include "platform/gx.h"
#include "platform/internal.h"
#include "platform/pad.h"
#include "platform/record.h"
#include "platform/sdl/sdl_internal.h"

#include <cstring>

SdlVideo sdlVideo;

static uint16_t frame[240 * 320];

int SdlVideoReady()
{
    if (sdlVideo.texture)
        return 1;
    if (!sdlVideo.window)
        return 0;
    sdlVideo.renderer = SDL_CreateRenderer(sdlVideo.window, -1, SDL_RENDERER_ACCELERATED | SDL_RENDERER_PRESENTVSYNC);
    if (!sdlVideo.renderer)
        sdlVideo.renderer = SDL_CreateRenderer(sdlVideo.window, -1, SDL_RENDERER_SOFTWARE);
    if (!sdlVideo.renderer)
        return 0;
    // The picture is placed by hand (SdlLayoutNow) rather than by a logical
    // size, so that the pad's pointer can be drawn at the output's own pixels.
    sdlVideo.texture = SDL_CreateTexture(sdlVideo.renderer, SDL_PIXELFORMAT_RGB565, SDL_TEXTUREACCESS_STREAMING, 240, 320);
    return sdlVideo.texture != nullptr;
}

// The largest whole-number scale that fits the output, centred: nearest-
// neighbour pixels with black bars around them.
SdlLayout SdlLayoutNow()
{
    int w = 240, h = 320;
    if (!sdlVideo.renderer || SDL_GetRendererOutputSize(sdlVideo.renderer, &w, &h) != 0) {
        if (sdlVideo.window)
            SDL_GetWindowSize(sdlVideo.window, &w, &h);
    }
    int scale = w / 240 < h / 320 ? w / 240 : h / 320;
    if (scale < 1)
        scale = 1;
    return { (w - 240 * scale) / 2, (h - 320 * scale) / 2, scale };
}

void SdlWindowToFrame(int x, int y, int* frameX, int* frameY)
{
    int windowW = 240, windowH = 320, outputW = 240, outputH = 320;
    if (sdlVideo.window)
        SDL_GetWindowSize(sdlVideo.window, &windowW, &windowH);
    if (!sdlVideo.renderer || SDL_GetRendererOutputSize(sdlVideo.renderer, &outputW, &outputH) != 0) {
        outputW = windowW;
        outputH = windowH;
    }
    SdlLayout layout = SdlLayoutNow();
    long px = windowW > 0 ? (long)x * outputW / windowW : x;
    long py = windowH > 0 ? (long)y * outputH / windowH : y;
    // Floor division, so that the bar left of the picture maps to its edge.
    long fx = px - layout.x, fy = py - layout.y;
    fx = fx < 0 ? -1 : fx / layout.scale;
    fy = fy < 0 ? -1 : fy / layout.scale;
    *frameX = (int)(fx < 0 ? 0 : fx > 239 ? 239 : fx);
    *frameY = (int)(fy < 0 ? 0 : fy > 319 ? 319 : fy);
}

// The pad's pointer: an arrow whose tip is the point it taps, white with a
// black edge, sized to the output so that it reads on any screen.
struct PointerRowDef {
    int from;
    int to;   // the span of the row in pointer cells, tip at cell 0
};

static const PointerRowDef PointerTable[] = {
    { 0, 0 }, { 0, 1 }, { 0, 2 }, { 0, 3 }, { 0, 4 }, { 0, 5 }, { 0, 6 }, { 0, 7 },
    { 0, 8 }, { 0, 5 }, { 0, 2 }, { 0, 1 }, { 2, 3 }, { 3, 4 }, { 3, 4 },
};

static void SdlDrawPointer(const SdlLayout& layout)
{
    int fx, fy;
    if (!PadPointer(&fx, &fy))
        return;
    int cell = layout.scale < 2 ? 1 : (layout.scale + 1) / 2;
    int tipX = layout.x + fx * layout.scale + layout.scale / 2;
    int tipY = layout.y + fy * layout.scale + layout.scale / 2;
    for (int pass = 0; pass < 2; pass++) {
        // The black edge first, one cell wider all round; then the white body.
        int grow = pass == 0 ? cell : 0;
        Uint8 shade = pass == 0 ? 0 : 255;
        SDL_SetRenderDrawColor(sdlVideo.renderer, shade, shade, shade, 255);
        int row = 0;
        for (const PointerRowDef& def : PointerTable) {
            SDL_Rect span = { tipX + def.from * cell - grow, tipY + row * cell - grow,
                              (def.to - def.from + 1) * cell + 2 * grow, cell + 2 * grow };
            SDL_RenderFillRect(sdlVideo.renderer, &span);
            row++;
        }
    }
}

// Shows the texture as it stands: after a new frame, and whenever the desktop
// asks the window to repaint.
static void SdlRenderTexture()
{
    SdlLayout layout = SdlLayoutNow();
    SDL_SetRenderDrawColor(sdlVideo.renderer, 0, 0, 0, 255);
    SDL_RenderClear(sdlVideo.renderer);
    SDL_Rect picture = { layout.x, layout.y, 240 * layout.scale, 320 * layout.scale };
    SDL_RenderCopy(sdlVideo.renderer, sdlVideo.texture, nullptr, &picture);
    SdlDrawPointer(layout);
    SDL_RenderPresent(sdlVideo.renderer);
}

void SdlShowFrame(const uint16_t* pixels)
{
    if (!sdlVideo.texture)
        return;
    if (pixels != frame)
        memcpy(frame, pixels, sizeof frame);
    SDL_UpdateTexture(sdlVideo.texture, nullptr, pixels, 240 * 2);
    SdlRenderTexture();
}

const uint16_t* SdlLastFrame()
{
    return frame;
}

void SdlRepaint()
{
    if (sdlVideo.texture)
        SdlRenderTexture();
}

GXDisplayProperties GXGetDisplayProperties()
{
    return { 240, 320, 2, 480, 16, kfDirect | kfDirect565 };
}

int GXOpenDisplay(Window*, uint32_t)
{
    return GXGateOpen(SdlVideoReady());
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
    SdlShowFrame(frame);
    SdlPumpEvents();
    return 1;
}
