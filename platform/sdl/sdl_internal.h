// Shared state of the SDL backend's modules.
#pragma once
#include <SDL.h>

struct Window;

struct SdlVideo {
    SDL_Window* window;
    SDL_Renderer* renderer;
    SDL_Texture* texture;
    Window* owner;       // the game window bound to the SDL window
    int scale;           // the whole-number scale the window opened at
};

extern SdlVideo sdlVideo;

// Moves SDL's pending events into the game's queue as messages.
void SdlPumpEvents();
// Creates the renderer and the streaming texture on first use; 1 when ready.
int SdlVideoReady();
// Uploads the frame and shows it scaled and letterboxed.
void SdlShowFrame(const uint16_t* frame);
void SdlRepaint();
