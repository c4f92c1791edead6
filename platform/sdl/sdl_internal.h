// Shared state of the SDL backend's modules.
#pragma once
#include <SDL.h>

#include <cstdint>
#include <string>

struct Window;

struct SdlVideo {
    SDL_Window* window;
    SDL_Renderer* renderer;
    SDL_Texture* texture;
    Window* owner;       // the game window bound to the SDL window
    int scale;           // the whole-number scale the window opened at
};

extern SdlVideo sdlVideo;

// Where the 240 x 320 picture sits in the renderer's output, in output pixels.
struct SdlLayout {
    int x;
    int y;
    int scale;
};

// Moves SDL's pending events into the game's queue as messages. Called by
// every wait and sleep of the message system, and after each shown frame.
void SdlPumpEvents();
// Creates the renderer and the streaming texture on first use; 1 when ready.
// Called when the game opens the display.
int SdlVideoReady();
// Uploads the frame and shows it scaled and letterboxed. Called by GXEndDraw.
void SdlShowFrame(const uint16_t* frame);
// Shows the last frame again, with the pad's pointer over it. Called when the
// desktop asks for a repaint and when the pointer moves.
void SdlRepaint();
// The picture's place for the current output size. Called when drawing and
// when mapping the mouse.
SdlLayout SdlLayoutNow();
// Maps a point in window coordinates (what mouse events carry) to the
// 240 x 320 frame, clamped to its edges. High-DPI outputs have more pixels
// than the window has coordinates; this accounts for both.
void SdlWindowToFrame(int x, int y, int* frameX, int* frameY);
// The last frame presented, 240 x 320 pixels of 565. Read by the screenshot.
const uint16_t* SdlLastFrame();

// The pad (pad_sdl.cpp). Every call is from the window's thread.
// Opens and closes pads as they come and go, turns their input into the
// game's key messages and taps. Called by SdlPumpEvents with each SDL event.
void SdlPadEvent(const SDL_Event& event);
// Reads the open pads' keys and sticks for the shared pad (platform/pad.h),
// which repeats held buttons and moves the pointer. Called by every pump.
void SdlPadUpdate();
// Drops every pad and the pointer's state (tests).
void SdlPadReset();

// Screenshots and the user's folders (files_sdl.cpp).
// Saves the last frame as a PNG at 1x and at the window's scale, in the
// pictures folder, and names the folder in the title for a moment. Called on F12.
void SdlScreenshot();
// Shows text after the usual title for a few seconds. Called for F12 and M.
void SdlTitleMessage(const std::string& text);
// Puts the usual title back once a message has been shown long enough.
// Called by every pump.
void SdlTitleUpdate();
// The folder screenshots go to: XDG_PICTURES_DIR (through xdg-user-dir), then
// ~/Pictures, then the data folder; made when missing. Empty when none can be.
std::string SdlPicturesFolder();
// The user's data folder for the game, XDG_DATA_HOME/space-shooter or
// ~/.local/share/space-shooter, made when missing. Empty when it cannot be.
std::string SdlDataFolder();
// Nonzero when the program runs from an installation: the install puts a
// marker file beside the program.
int SdlInstalled();
// For an installed program, makes the data folder the working folder, so the
// high-score file lives there. Run from the build, nothing changes. Called by
// main before the game starts.
void SdlEnterDataFolder();

// Audio (wave_sdl.cpp): the output device went away; sound goes on on the
// default device. Called by SdlPumpEvents for SDL_AUDIODEVICEREMOVED/ADDED.
void SdlAudioDeviceEvent(const SDL_AudioDeviceEvent& event);
// Turns the output silent or back, and returns 1 when it is now silent. The
// queue plays on either way, so the game and its sound keep their timing.
// Called on M.
int SdlAudioToggleMute();
