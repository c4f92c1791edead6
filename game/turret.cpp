// Ground turrets. Stand-in: nothing spawns, moves or draws yet.
#include "game/turret.h"
#include "game/world.h"

void SpawnTurret(GameWorld*)
{
}

void UpdateTurrets(GameWorld*)
{
}

void DrawTurrets(GameWorld*)
{
}

bool FireTurretVolley(GameWorld*, int, int)
{
    return true;
}
