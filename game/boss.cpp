// Bosses: the boss table, and the boss's update and drawing. Stand-in: the boss neither moves nor draws yet.
#include "game/boss.h"
#include "game/world.h"

const BossDef BossTable[4] = {
    { &satelite1Image, &satelite2Image, 3,
      { { 21, 59, 34, 74 }, { 66, 55, 87, 66 }, { 118, 59, 134, 75 } },
      { { 0, 23, 34, 74 }, { 63, 38, 102, 66 }, { 118, 31, 150, 75 } },
      5, 1, 81, 49 },
    { &tentacle1Image, &tentacle2Image, 4,
      { { 10, 50, 20, 60 }, { 65, 45, 75, 55 }, { 82, 45, 92, 55 }, { 136, 50, 146, 60 } },
      { { 0, 35, 30, 65 }, { 55, 20, 78, 62 }, { 78, 20, 98, 62 }, { 125, 33, 155, 62 } },
      5, 0, 0, 0 },
    { &eye1Image, &eye2Image, 4,
      { { 10, 22, 28, 45 }, { 30, 25, 50, 52 }, { 108, 25, 128, 52 }, { 128, 22, 148, 45 } },
      { { 10, 0, 28, 79 }, { 30, 0, 50, 79 }, { 108, 0, 128, 79 }, { 128, 0, 148, 79 } },
      5, 0, 0, 0 },
    { &poo1Image, &poo2Image, 4,
      { { 1, 30, 13, 42 }, { 20, 41, 42, 53 }, { 130, 43, 142, 55 }, { 144, 30, 156, 42 } },
      { { 1, 0, 15, 76 }, { 20, 0, 36, 76 }, { 125, 0, 142, 76 }, { 143, 0, 158, 76 } },
      5, 0, 0, 0 },
};

void UpdateBoss(GameWorld*)
{
}

void DrawBoss(GameWorld*)
{
}
