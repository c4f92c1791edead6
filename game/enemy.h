// Enemy ships on the wave's flight path, and the shared pool of enemy shots and pick-ups.
#pragma once

struct Entity;
struct GameWorld;

void SpawnEnemy(GameWorld* world);
void UpdateEnemies(GameWorld* world);
void DrawEnemies(GameWorld* world);
bool FireEnemyShot(GameWorld* world, const Entity* ship);
void UpdateEnemyShots(GameWorld* world);
void DrawEnemyShots(GameWorld* world);
