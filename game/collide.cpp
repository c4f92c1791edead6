// Collisions, explosions and pick-ups. Stand-in: nothing collides yet.
#include "game/collide.h"
#include "game/world.h"

void ResolveCollisions(GameWorld*)
{
}

void BigExplosion(GameWorld*, int, int, int)
{
}

void SmallExplosion(GameWorld*, int, int, int)
{
}

bool SpawnPowerUp(GameWorld*, int, int)
{
    return false;
}

bool SpawnExtraLife(GameWorld*, int, int)
{
    return false;
}
