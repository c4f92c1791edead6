// Desktop display: the frame lives in memory and is shown through a streaming 565 texture, scaled by whole numbers.
#include "platform/gx.h"
#include "platform/record.h"
#include "platform/sdl/sdl_internal.h"

SdlVideo sdlVideo;

static uint16_t frame[240 * 320];
static int displayOpen;
static int drawing;

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
    // Logical size with whole-number scaling gives nearest-neighbour pixels,
    // letterboxing, and stylus coordinates already in 240 x 320.
    SDL_RenderSetLogicalSize(sdlVideo.renderer, 240, 320);
    SDL_RenderSetIntegerScale(sdlVideo.renderer, SDL_TRUE);
    sdlVideo.texture = SDL_CreateTexture(sdlVideo.renderer, SDL_PIXELFORMAT_RGB565, SDL_TEXTUREACCESS_STREAMING, 240, 320);
    return sdlVideo.texture != nullptr;
}

// Shows the texture as it stands: after a new frame, and whenever the desktop
// asks the window to repaint.
static void SdlRenderTexture()
{
    SDL_SetRenderDrawColor(sdlVideo.renderer, 0, 0, 0, 255);
    SDL_RenderClear(sdlVideo.renderer);
    SDL_RenderCopy(sdlVideo.renderer, sdlVideo.texture, nullptr, nullptr);
    SDL_RenderPresent(sdlVideo.renderer);
}

void SdlShowFrame(const uint16_t* pixels)
{
    if (!sdlVideo.texture)
        return;
    SDL_UpdateTexture(sdlVideo.texture, nullptr, pixels, 240 * 2);
    SdlRenderTexture();
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
    displayOpen = RecordDisplay(SdlVideoReady());
    return displayOpen;
}

int GXCloseDisplay()
{
    displayOpen = 0;
    return 1;
}

void* GXBeginDraw()
{
    if (!displayOpen)
        return nullptr;
    drawing = 1;
    return frame;
}

int GXEndDraw()
{
    if (!drawing)
        return 0;
    drawing = 0;
    RecordFrame(frame);
    SdlShowFrame(frame);
    SdlPumpEvents();
    return 1;
}
