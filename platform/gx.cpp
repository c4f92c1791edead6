// The display interface parts every backend shares: the open and drawing state, the default keys, the key capture and the shell bars.
#include "platform/gx.h"
#include "platform/internal.h"
#include "platform/record.h"

static int displayOpen;
static int drawing;

int GXGateOpen(int live)
{
    displayOpen = RecordDisplay(live);
    return displayOpen;
}

int GXCloseDisplay()
{
    displayOpen = 0;
    return 1;
}

int GXGateBegin()
{
    if (!displayOpen)
        return 0;
    drawing = 1;
    return 1;
}

int GXGateEnd()
{
    if (!drawing)
        return 0;
    drawing = 0;
    return 1;
}

void GXGateReset()
{
    displayOpen = 0;
    drawing = 0;
}

GXKeyList GXGetDefaultKeys(int)
{
    GXKeyList keys = {};
    keys.vkUp = KeyUp;
    keys.vkDown = KeyDown;
    keys.vkLeft = KeyLeft;
    keys.vkRight = KeyRight;
    keys.vkA = KeyFire;
    keys.vkB = KeyLockOn;
    keys.vkC = KeyMenu;
    keys.vkStart = KeyStart;
    return keys;
}

// The desktop lets the game have every key without taking them from the
// shell, and has no taskbar or input panel to hide.
int GXOpenInput()
{
    return 1;
}

int GXCloseInput()
{
    return 1;
}

int SHFullScreen(Window*, uint32_t)
{
    return 1;
}
