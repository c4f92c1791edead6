// Bosses: images made of separately destructible parts, the boss table, and the boss's frame.
#pragma once
#include <cstdint>

struct GameWorld;
struct Surface;

enum { BossPartSlots = 6 };

struct BossRect {
    int32_t left, top, right, bottom;
};

struct BossDef {
    Surface* image;
    Surface* damagedImage;   // same size: destroyed parts, and the whole boss once destroyed
    int32_t partCount;
    BossRect hitRects[BossPartSlots];      // relative to the image's top-left
    BossRect damageRects[BossPartSlots];   // the area a destroyed part takes
    uint32_t partHitPoints;
    int32_t emitterKind;   // 0 none, 1 an effect every 10 frames, 2 every 50
    int32_t emitX, emitY;
};

extern const BossDef BossTable[4];

void UpdateBoss(GameWorld* world);
void DrawBoss(GameWorld* world);
