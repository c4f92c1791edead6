// The window procedure: start-up, the frame tick, keys, focus, menus and the private messages.
#include "app/windowproc.h"
#include "app/display.h"
#include "app/entry.h"
#include "game/loop.h"
#include "game/player.h"
#include "game/world.h"
#include "gfx/particle.h"
#include "sound/cea_sound.h"
#include "ui/menu.h"

uint32_t appReady;
uint32_t fireBusy;

// The sparks that rise where a particle that asked for it dies.
static const EffectParams expirySparks = { 0.5f, 0.2f, 2.0f, 0.5f, 40.0f, 255, 270.0f, 90.0f, 0.0f, 0 };

static void OnCreate(Window* window, const WindowCreateInfo* info)
{
    GameWorld* world = (GameWorld*)info->createParam;
    WindowSetData(window, world);
    InitGame(world, window);
    world->framesEnabled = 0;
    ShowSplash(world);
    WindowShow(window);
    TimerSet(window, 1, 50);
    MessagePost(window, WM_SHOWMENU, 0, 0);
}

static void OnKeyDown(GameWorld* world, uintptr_t wParam)
{
    int16_t key = (int16_t)(wParam & 0xFFFF);
    if (key == keyList.vkC)
        MessagePost(world->owner, WM_SHOWMENU, 0, 0);
    if (key == keyList.vkA && !fireBusy) {
        fireBusy = 1;
        FireControl(world);
        fireBusy = 0;
    }
    if (key == keyList.vkB && world->weaponLevel >= 0 && world->weaponLevel < 10 &&
        WeaponTable[world->weaponLevel].lockOnAllowed) {
        world->weaponLevel--;
        LaunchLockOn(world);
    }
}

static void OnTimer(Window* window, GameWorld* world)
{
    if (!world->framesEnabled || WindowForeground() != window)
        return;
    // A frame may run a whole stage intro; no tick may re-enter meanwhile.
    world->framesEnabled = 0;
    if (!RunGameFrame(world)) {
        RunGameOver(world);
        MessagePost(window, WM_SHOWMENU, 0, 0);
    }
    world->framesEnabled = 1;
}

static void OnShowMenu(Window* window, GameWorld* world)
{
    world->framesEnabled = 0;
    if (RunMainMenu(world)) {
        MessagePost(window, WM_CLOSE, 0, 0);
        return;
    }
    world->framesEnabled = 1;
}

intptr_t WindowProc(Window* window, uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    if (message == WM_CREATE) {
        OnCreate(window, (const WindowCreateInfo*)lParam);
        return 0;
    }
    GameWorld* world = (GameWorld*)WindowData(window);
    if (!world)
        return WindowDefaultProc(window, message, wParam, lParam);

    switch (message) {
    case WM_DESTROY:
        world->framesEnabled = 0;
        TimerKill(window, 1);
        CloseDisplay(window);
        MessagePostQuit(0);
        return 0;
    case WM_ACTIVATE:
        if (!appReady)
            return 0;
        if ((wParam & 0xFFFF) == WA_INACTIVE) {
            SuspendDisplay(window);
        } else if ((wParam & 0xFFFF) == WA_ACTIVE) {
            ResumeDisplay(window);
            Present(&world->backBuffer);
        }
        return 0;
    case WM_PAINT:
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_KEYDOWN:
        OnKeyDown(world, wParam);
        return 0;
    case WM_COMMAND:
        return 0;
    case WM_TIMER:
        OnTimer(window, world);
        return 0;
    case WM_SOUNDDONE:
        if (lParam) {
            SoundDestroy((Sound*)lParam);
            delete (Sound*)lParam;
        }
        return 0;
    case WM_PARTICLEEXPIRED: {
        const Particle* particle = (const Particle*)lParam;
        SpawnEffect(&particleSystem, 7, (int)particle->x, (int)particle->y, &expirySparks);
        return 0;
    }
    case WM_EMITTERDONE:
        if (world->lives) {
            EntityActivate(&world->player, 1);
            EntitySetMotion(&world->player, 0.75f, 0.75f, MotionCoast);
        }
        return 0;
    case WM_REDRAW:
        Present(&world->backBuffer);
        return 0;
    case WM_SHOWMENU:
        OnShowMenu(window, world);
        return 0;
    }
    return WindowDefaultProc(window, message, wParam, lParam);
}
