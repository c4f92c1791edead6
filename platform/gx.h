// The game display and input interface: frame memory with its layout, and the hardware keys.
#pragma once
#include <cstdint>

struct Window;

struct GXDisplayProperties {
    uint32_t cxWidth;
    uint32_t cyHeight;
    int32_t cbxPitch;   // bytes from a pixel to the one on its right
    int32_t cbyPitch;   // bytes from a pixel to the one below it
    int32_t cBPP;
    uint32_t ffFormat;
};

enum : uint32_t {
    kfLandscape = 0x08,
    kfPalette = 0x10,
    kfDirect = 0x20,
    kfDirect555 = 0x40,
    kfDirect565 = 0x80,
};

struct GXPoint {
    int32_t x;
    int32_t y;
};

struct GXKeyList {
    int16_t vkUp;    GXPoint ptUp;
    int16_t vkDown;  GXPoint ptDown;
    int16_t vkLeft;  GXPoint ptLeft;
    int16_t vkRight; GXPoint ptRight;
    int16_t vkA;     GXPoint ptA;
    int16_t vkB;     GXPoint ptB;
    int16_t vkC;     GXPoint ptC;
    int16_t vkStart; GXPoint ptStart;
};
static_assert(sizeof(GXKeyList) == 96, "the key list is eight 12-byte entries");

enum : uint32_t { GX_FULLSCREEN = 1, GX_NORMALKEYS = 2 };

// Virtual key codes of the keys the game reads. The arrows are fixed; fire,
// lock-on and menu are what GXGetDefaultKeys hands out as vkA, vkB and vkC.
enum : int {
    KeyLeft = 37,
    KeyUp = 38,
    KeyRight = 39,
    KeyDown = 40,
    KeyFire = 0xC1,
    KeyLockOn = 0xC2,
    KeyMenu = 0xC3,
    KeyStart = 0xC4,
};

// The display's size, pitches and pixel format. Read once at entry.
GXDisplayProperties GXGetDisplayProperties();

// The portrait key list. Read once the window exists.
GXKeyList GXGetDefaultKeys(int options);

// Takes the whole screen for the window: nonzero on success. Called when the
// game starts and each time its window comes back to the front.
int GXOpenDisplay(Window* window, uint32_t flags);

// Gives the screen back. Called when the window loses the front and at the end.
int GXCloseDisplay();

// Take and give back the hardware keys, alongside the display calls.
int GXOpenInput();
int GXCloseInput();

// The frame memory for this frame (the top-left pixel in portrait), or null
// while the display is not open. Every non-null result is followed by GXEndDraw,
// which shows the frame.
void* GXBeginDraw();
int GXEndDraw();

// Hides (0x02, 0x08, 0x20) or shows (0x01, 0x04, 0x10) the taskbar, the
// input-panel button and the Start icon. The desktop has none of them; the
// calls are kept where the game makes them.
int SHFullScreen(Window* window, uint32_t flags);

// Negative while the key is held. Read once per frame for the arrows.
int16_t InputKeyState(int virtualKey);
