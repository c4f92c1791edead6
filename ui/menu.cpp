// The front-end screens. Stand-in: the PIPES background with its title under "New Game", "Resume Game" and "Exit Game".
#include "ui/menu.h"
#include "app/display.h"
#include "game/loop.h"
#include "game/world.h"
#include "gfx/pixelfont.h"
#include "ui/button.h"

int ShowSplash(GameWorld*)
{
    return 0;
}

int RunMainMenu(GameWorld* world)
{
    ButtonSet set;
    ButtonSetInit(&set);
    AddButton(&set, 1, "New Game", 52, 75, 132, 31, ButtonTextOnly);
    AddButton(&set, 2, "Resume Game", 52, 119, 132, 31, world->lives ? ButtonTextOnly : ButtonTextOnly | ButtonGreyed);
    AddButton(&set, 4, "Exit Game", 52, 204, 132, 31, ButtonTextOnly);
    SurfaceClear(&world->backBuffer, MakeColour(0, 64, 128));
    SurfaceCopy(&world->backBuffer, &pipesImage);
    PixelFontDrawText(&world->backBuffer, "Main Menu", 25, 9, 0xFFFF);
    PixelFontDrawText(&world->backBuffer, "Main Menu", 24, 8, MakeColour(0, 0, 0));
    switch (RunModalScreen(&set, &world->backBuffer)) {
    case 1:
        NewGame(world);
        GameStartBanner(world);
        return 0;
    case 2:
        return 0;
    default:
        return 1;
    }
}

void RunGameOver(GameWorld*)
{
}
