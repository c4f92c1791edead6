// The display interface parts both backends share: the default keys, the key capture and the shell bars.
#include "platform/gx.h"

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
