// Program entry: start-up with its image loads, the message loop, shutdown, and the program-folder paths.
#include "app/entry.h"
#include "app/display.h"
#include "app/windowproc.h"
#include "game/loop.h"
#include "game/spritestrip.h"
#include "game/world.h"
#include "gfx/bitmap.h"
#include "gfx/font.h"
#include "gfx/particle.h"
#include "gfx/pixelfont.h"
#include "platform/sys.h"
#include "sound/cea_sound.h"
#include "ui/highscore.h"

#include <cstdio>
#include <cstdlib>
#include <cwchar>

Module* moduleHandle;

enum ImageKey { KeyNone, KeyTopLeft, KeyZero, KeyByStrip };

struct ImageLoadDef {
    const wchar_t* resource;   // null for a file beside the program
    const char* file;
    Surface* image;
    ImageKey key;
    SpriteStrip* strip;        // the animation cut from this image, if any
    const char* failure;
};

// The images of play, loaded in this order at start-up.
static const ImageLoadDef ImageLoadTable[] = {
    { L"LIFE",                     nullptr, &lifeImage,      KeyTopLeft, nullptr,         "Unable to load LIFE bitmap" },
    { L"POWERUP",                  nullptr, &powerUpImage,   KeyByStrip, &powerUpStrip,   "Unable to load POWERUP bitmap" },
    { L"GUN2",                     nullptr, &gunImage,       KeyNone,    nullptr,         "Unable to load GUN2 bitmap" },
    { StageTable[0].turretBitmap,  nullptr, &turretImage,    KeyTopLeft, nullptr,         "Unable to load TURRET bitmap" },
    { L"SHIP",                     nullptr, &shipImage,      KeyTopLeft, nullptr,         "Unable to load SHIP bitmap" },
    { L"MISSILE",                  nullptr, &missileImage,   KeyTopLeft, nullptr,         "Unable to load MISSILE bitmap" },
    { L"MISSILE",                  nullptr, &bombImage,      KeyTopLeft, nullptr,         "Unable to load BOMB bitmap" },
    { L"EXTRALIFE",                nullptr, &extraLifeImage, KeyByStrip, &extraLifeStrip, "Unable to load EXTRALIFE bitmap" },
    { L"EYE1",                     nullptr, &eye1Image,      KeyTopLeft, nullptr,         "Unable to load EYE1 bitmap" },
    { L"EYE2",                     nullptr, &eye2Image,      KeyTopLeft, nullptr,         "Unable to load EYE2 bitmap" },
    { L"TENTACLE1",                nullptr, &tentacle1Image, KeyTopLeft, nullptr,         "Unable to load TENTACLE1 bitmap" },
    { L"TENTACLE2",                nullptr, &tentacle2Image, KeyTopLeft, nullptr,         "Unable to load TENTACLE2 bitmap" },
    { L"SATELITE1",                nullptr, &satelite1Image, KeyTopLeft, nullptr,         "Unable to load SATELITE1 bitmap" },
    { L"SATELITE2",                nullptr, &satelite2Image, KeyTopLeft, nullptr,         "Unable to load SATELITE2 bitmap" },
    { L"POO1",                     nullptr, &poo1Image,      KeyTopLeft, nullptr,         "Unable to load POO1 bitmap" },
    { L"POO2",                     nullptr, &poo2Image,      KeyTopLeft, nullptr,         "Unable to load POO2 bitmap" },
    { L"LOCKON",                   nullptr, &lockOnImage,    KeyZero,    nullptr,         "Unable to load LOCKON font" },
    { nullptr,            "GFX\\PIPES.BMP", &pipesImage,     KeyNone,    nullptr,         "Unable to load PIPES bitmap" },
    { nullptr,            "GFX\\PAGE1.BMP", &page1Image,     KeyNone,    nullptr,         "Unable to load PAGE1 bitmap" },
    { nullptr,            "GFX\\PAGE2.BMP", &page2Image,     KeyNone,    nullptr,         "Unable to load PAGE2 bitmap" },
};

static void LoadImages()
{
    for (const ImageLoadDef& def : ImageLoadTable) {
        int loaded = def.file ? LoadBitmapFile(def.image, ModuleFilePathA(def.file))
                              : LoadBitmapResource(def.image, moduleHandle, def.resource);
        if (!loaded)
            SysMessageBox(WindowFocus(), def.failure, "Debug", SysBoxOk);
        if (def.key == KeyTopLeft && def.image->pixels)
            SurfaceSetColourKey(def.image, def.image->pixels[0]);
        if (def.key == KeyZero)
            SurfaceSetColourKey(def.image, 0);
        if (def.strip)
            SpriteStripInit(def.strip, def.image, 0, 0, 16, 16, 16, 0, 16, 2);
    }
}

int RegisterWindowClass(Module*, const wchar_t* className)
{
    WindowClass windowClass = {};
    windowClass.style = 3;
    windowClass.proc = WindowProc;
    windowClass.extraBytes = 4;
    windowClass.iconId = 107;
    windowClass.name = className;
    return WindowRegisterClass(&windowClass);
}

int InitInstance(Module* instance)
{
    moduleHandle = instance;
    const wchar_t* className = L"FIRSTGX";
    const wchar_t* title = L"Space Shooter";

    Window* running = WindowFindRunning(className, title);
    if (running) {
        WindowSetForeground(running);
        MessagePost(running, WM_REDRAW, 0, 0);
        return 0;
    }

    LoadImages();
    RegisterWindowClass(instance, className);
    Window* window = WindowCreate(className, title, 0x12000000, 0, 0, 240, 320, &gameWorld);
    if (!window)
        return 0;
    keyList = GXGetDefaultKeys(GX_NORMALKEYS);
    return 1;
}

int InitGame(GameWorld* world, Window* window)
{
    static const ParticleKind trailKind = { ParticleSmoke, 0.5f, { 255, 255, 255, 255 }, { 0, 0, 0, 0 }, 0.25f, 0.5f };

    world->owner = window;
    ParticleSystemLoad(&particleSystem, window, 50.0f);
    OpenDisplay(&world->backBuffer, window);
    HighScoreCreateFile();
    SetParticleKind(&particleSystem, 0, &trailKind);
    FontLoad(&bitmapFont, ModuleFilePathA("GFX\\FONT.BMP"));
    EntityInit(&world->boss, &eye1Image);
    int result = NewGame(world);
    world->lives = 0;
    return result;
}

int WinMain(Module* instance, Module*, const char*, int)
{
    displayProps = GXGetDisplayProperties();
    PixelFormatSelect(displayProps.ffFormat);
    PixelFontBuild();
    if (!InitInstance(instance))
        return 0;
    appReady = 1;
    LoadSounds();

    Message message = {};
    while (MessageGet(&message)) {
        MessageTranslate(&message);
        MessageDispatch(&message);
    }
    UnloadSounds();
    PixelFontFree();
    return (int)message.wParam;
}

// One buffer serves both forms, as callers expect: a result lasts until the next call.
static wchar_t pathBuffer[520];

static const wchar_t* ModuleFolderJoin(const wchar_t* name)
{
    wchar_t folder[520];
    SysModuleFileName(moduleHandle, folder, 520);
    wchar_t* cut = wcsrchr(folder, sysPathSeparator);
    if (cut)
        *cut = 0;
    swprintf(pathBuffer, 520, L"%ls%lc%ls", folder, (wint_t)sysPathSeparator, name);
    for (wchar_t* p = pathBuffer; *p; p++)
        if (*p == L'\\')
            *p = sysPathSeparator;
    return pathBuffer;
}

const wchar_t* ModuleFilePathW(const wchar_t* name)
{
    return ModuleFolderJoin(name);
}

const char* ModuleFilePathA(const char* name)
{
    wchar_t wide[260];
    size_t count = mbstowcs(wide, name, 259);
    wide[count == (size_t)-1 ? 0 : count] = 0;
    wchar_t joined[520];
    wcscpy(joined, ModuleFolderJoin(wide));
    char* narrow = (char*)pathBuffer;
    size_t bytes = wcstombs(narrow, joined, 259);
    narrow[bytes == (size_t)-1 ? 0 : bytes] = 0;
    return narrow;
}
