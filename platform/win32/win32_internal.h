// Shared state of the Windows backend's modules: the real window and what it shows.
#pragma once
#include <windows.h>
#include <mmsystem.h>

#include <cstdint>
#include <string>

struct Window;

struct Win32Video {
    HWND hwnd;          // the real window of class "FIRSTGX"
    Window* owner;      // the game's window bound to it
    int fullscreen;
    RECT windowed;      // where the window was before it filled the screen
};

extern Win32Video win32Video;

// The real window procedure (events_win32.cpp): input becomes the game's
// messages. Registered with the class when the game's window is created.
LRESULT CALLBACK Win32WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// Takes every waiting real message and hands it to Win32WindowProc. Called by
// every wait and sleep, and after each shown frame.
void Win32PumpEvents();

// The picture's whole-number scale and place in the client area (gx_win32.cpp).
struct Win32Layout {
    int x;
    int y;
    int scale;
};
Win32Layout Win32LayoutNow();
// Paints the last frame into the client area, black around it. Called on
// WM_PAINT and after each frame.
void Win32Paint(HDC dc);
// The last frame presented, 240 x 320 pixels of 565.
const uint16_t* Win32LastFrame();
// Fills the monitor or gives the window back. Called on F11 and Alt+Enter.
void Win32ToggleFullscreen();

// The pad through XInput (pad_win32.cpp), read on every pump: its buttons
// and stick become the game's key messages.
void Win32PadUpdate();
// Nonzero while a pad holds the direction's arrow (KeyUp..KeyRight).
int Win32PadKeyHeld(int virtualKey);

// Files (files_win32.cpp). Saves the last frame as PNG at 1x and at the
// window's scale in the pictures folder; called on F12.
void Win32Screenshot();
// Shows text after the usual title for a few seconds. Called for F12, M and
// a missing sound device.
void Win32TitleMessage(const std::wstring& text);
// Puts the usual title back once a message has been shown long enough.
void Win32TitleUpdate();
// Makes the high-score file's folder the working folder: beside the program
// when that folder is writable, else %APPDATA%\space-shooter. Called at start.
void Win32EnterDataFolder();

// Sound (wave_win32.cpp): turns the output silent or back; 1 when now silent.
int Win32AudioToggleMute();
// 1 once after the device first failed to open: the title tells the player.
int Win32AudioMissingNews();
