// Entities: the one record of every moving thing, and its motion.
#pragma once
#include <cstdint>

struct Surface;

// Motion kinds (low four bits of motion) and flags (high bits).
enum : uint8_t {
    MotionCoast = 1,
    MotionHoming = 3,
    FlagHostile = 8,
    FlagPowerUp = 16,
    FlagExtraLife = 32,
    FlagStrip = 64,
    FlagSpecial = 128,
};

struct Entity {
    uint8_t active;
    int16_t x;
    int16_t y;
    uint32_t step;
    uint32_t loops;
    uint8_t hits;
    float vx, vy;
    float dragX, dragY;
    uint8_t motion;
    Entity* target;
    int32_t bounds[4];   // left, top, right, bottom
    Surface* image;
};

void EntityInit(Entity* entity, Surface* image);
void EntityActivate(Entity* entity, uint8_t flag);
void EntitySetPosition(Entity* entity, int x, int y);
void EntitySetBounds(Entity* entity, int32_t left, int32_t top, int32_t right, int32_t bottom);
void EntitySetTarget(Entity* entity, Entity* target);
void EntitySetMotion(Entity* entity, float dragX, float dragY, uint8_t motion);
void EntityPush(Entity* entity, float ax, float ay);
void EntityUpdate(Entity* entity, int kill);
void EntityMoveBy(Entity* entity, int16_t dx, int16_t dy, int kill);
void EntityPlaceRandom(Entity* entity, int x0, int y0, int x1, int y1);
void EntityDraw(Entity* entity, Surface* destination);
bool EntityDamage(Entity* entity);
void EntityKeepInBounds(Entity* entity, int kill);
