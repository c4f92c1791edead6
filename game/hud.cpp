// The head-up display. Stand-in: nothing is drawn yet.
#include "game/hud.h"
#include "game/world.h"

void DrawHud(GameWorld*)
{
}
