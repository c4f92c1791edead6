// Ground turrets: they scroll down with the background and fire four-way volleys.
#pragma once

struct GameWorld;

void SpawnTurret(GameWorld* world);
void UpdateTurrets(GameWorld* world);
void DrawTurrets(GameWorld* world);
bool FireTurretVolley(GameWorld* world, int x, int y);
