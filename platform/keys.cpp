// The default key list: which virtual keys stand for fire, lock-on and menu.
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
