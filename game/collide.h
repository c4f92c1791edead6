// Collisions, scoring and pick-ups: every contact of a frame, the explosions and the dropped pick-ups.
#pragma once

struct GameWorld;

void ResolveCollisions(GameWorld* world);
void BigExplosion(GameWorld* world, int x, int y, int sound);
void SmallExplosion(GameWorld* world, int x, int y, int sound);
bool SpawnPowerUp(GameWorld* world, int x, int y);
bool SpawnExtraLife(GameWorld* world, int x, int y);
