// The splash, the main menu with its closing screen, and the game-over flow.
#include "ui/menu.h"
#include "app/display.h"
#include "app/entry.h"
#include "game/loop.h"
#include "game/world.h"
#include "gfx/bitmap.h"
#include "gfx/fade.h"
#include "gfx/font.h"
#include "gfx/particle.h"
#include "platform/sys.h"
#include "sound/cea_sound.h"
#include "ui/button.h"
#include "ui/highscore.h"
#include "ui/nameentry.h"
#include "ui/screen.h"

#include <cstdio>

enum { FadeStep = 50 };

static uint16_t Black()
{
    return MakeColour(0, 0, 0);
}

int ShowSplash(GameWorld* world)
{
    Surface splash;
    if (!LoadBitmapResource(&splash, moduleHandle, L"SPLASH"))
        return 0;
    ScreenSetBackground(&world->backBuffer, &splash);
    FadeIn(&world->backBuffer, Black(), FadeStep);
    Present(&world->backBuffer);
    SysSleep(2000);
    FadeOut(&world->backBuffer, Black(), FadeStep);
    return 1;
}

struct MenuButtonDef {
    uint16_t id;
    const char* label;
    int x, y, width, height;
};

static const MenuButtonDef MainMenuTable[] = {
    { 1, "New Game",    52, 75,  132, 31 },
    { 2, "Resume Game", 52, 119, 132, 31 },
    { 3, "High Scores", 52, 162, 132, 31 },
    { 4, "Exit Game",   52, 204, 132, 31 },
};

enum { MenuNewGame = 1, MenuResume = 2, MenuHighScores = 3, MenuExit = 4 };

// The smoke of the menu's corner effect; the high-score fireworks reuse it.
static const ParticleKind menuSmokeKind = { ParticleSmoke, 2.0f, { 64, 128, 0, 255 }, { 0, 0, 0, 64 }, 0.25f, 0.5f };

struct MenuEffectDef {
    int kind, x, y;
    EffectParams params;
};

static const MenuEffectDef MenuEffectTable[] = {
    //              duration gravity speed speedVar rate   jitter angle   angleVar spin  flags
    { 1, 184, 35,  { 320.0f, 0.0f,   3.0f, 0.5f,    25.0f, 0,     180.0f, 25.0f,   0.0f, 0 } },
    { 6, 51,  268, { 320.0f, -0.1f,  0.6f, 0.5f,    8.0f,  0,     250.0f, 120.0f,  0.0f, 0 } },
};

struct ClosingLineDef {
    int y;
    const char* text;
    bool yellow;   // else white
};

static const ClosingLineDef ClosingTable[] = {
    { 100, "Thanks for playing",     false },
    { 130, "SPACE SHOOTER",          true },
    { 160, "Four bosses await you",  false },
    { 180, "Can you beat them all?", false },
};

// Shown after "Exit Game", before the program closes.
static void ShowClosingScreen(GameWorld* world)
{
    Surface* back = &world->backBuffer;
    FadeOut(back, Black(), FadeStep);
    SurfaceGradient(back, MakeColour(128, 0, 0), Black());
    for (const ClosingLineDef& line : ClosingTable) {
        // White is every bit set, whatever the layout.
        uint16_t colour = line.yellow ? MakeColour(255, 255, 0) : 0xFFFF;
        FontDrawText(&bitmapFont, back, -1, line.y, line.text, colour);
    }
    FadeIn(back, Black(), FadeStep);
    SysSleep(3000);
    FadeOut(back, Black(), FadeStep);
}

int RunMainMenu(GameWorld* world)
{
    Surface* back = &world->backBuffer;
    ButtonSet set;
    ButtonSetInit(&set);
    for (const MenuButtonDef& def : MainMenuTable) {
        AddButton(&set, def.id, def.label, def.x, def.y, def.width, def.height, ButtonTextOnly);
        SetButtonColours(&set, def.id, Black(), Black(), MakeColour(255, 255, 255), MakeColour(128, 128, 128));
    }
    SetParticleKind(&particleSystem, 1, &menuSmokeKind);

    for (;;) {
        SetButtonFlags(&set, MenuResume, world->lives ? ButtonTextOnly : ButtonTextOnly | ButtonGreyed);
        FadeOut(back, Black(), FadeStep);
        ScreenSetBackground(back, &pipesImage);
        ScreenDrawTitle(back, "Main Menu", 24, 8);
        DrawButtons(&set, back);
        FadeIn(back, Black(), FadeStep);
        ParticleSystemClear(&particleSystem);
        for (const MenuEffectDef& effect : MenuEffectTable)
            SpawnEffect(&particleSystem, effect.kind, effect.x, effect.y, &effect.params);

        int choice = RunModalScreen(&set, back);
        PlayEffect(SoundButton);
        switch (choice) {
        case MenuNewGame:
            NewGame(world);
            FadeOut(back, Black(), FadeStep);
            GameStartBanner(world);
            return 0;
        case MenuResume:
            FadeOut(back, Black(), FadeStep);
            ParticleSystemClear(&particleSystem);
            return 0;
        case MenuHighScores:
            ShowHighScores(back, 1);
            continue;
        case MenuExit:
            ShowClosingScreen(world);
            return 1;
        case 0:
            return 1;
        default:
            continue;
        }
    }
}

void RunGameOver(GameWorld* world)
{
    FadeOut(&world->backBuffer, Black(), FadeStep);
    if (HighScorePlace((int32_t)world->score))
        EnterHighScore(world);
    ShowGameOverScreen(world);
}

int EnterHighScore(GameWorld* world)
{
    char name[13] = {};
    int32_t score = (int32_t)world->score;
    int place = HighScorePlace(score);
    if (!place)
        return 0;
    if (EnterName(&world->backBuffer, name) != NameEntryOk)
        return 0;
    if (!HighScoreInsert(name, score))
        return 0;
    return ShowHighScores(&world->backBuffer, place) == 0;
}

int ShowGameOverScreen(GameWorld* world)
{
    Surface* back = &world->backBuffer;
    ButtonSet set;
    ButtonSetInit(&set);
    AddButton(&set, 1, "Continue", 50, 274, 132, 30, ButtonTextOnly);
    ScreenSetBackground(back, &page1Image);
    DrawButtons(&set, back);
    ScreenDrawTitle(back, "Score", 34, 8);
    FontSetAlpha(&bitmapFont, 255);
    FontDrawText(&bitmapFont, back, -1, 100, "Game Over", Black());
    char text[32];
    snprintf(text, sizeof text, "Score: %d", (int)world->score);
    FontDrawText(&bitmapFont, back, -1, 130, text, 0xFFFF);
    FadeIn(back, Black(), FadeStep);
    RunModalScreen(&set, back);
    return FadeOut(back, Black(), FadeStep);
}
