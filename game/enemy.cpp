// Enemy ships and enemy shots. Stand-in: nothing spawns, moves or draws yet.
#include "game/enemy.h"
#include "game/world.h"

void SpawnEnemy(GameWorld*)
{
}

void UpdateEnemies(GameWorld*)
{
}

void DrawEnemies(GameWorld*)
{
}

bool FireEnemyShot(GameWorld*, const Entity*)
{
    return false;
}

void UpdateEnemyShots(GameWorld*)
{
}

void DrawEnemyShots(GameWorld*)
{
}
