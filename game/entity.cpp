// Entities: activation, motion kinds, bounds and drawing.
#include "game/entity.h"
#include "app/random.h"
#include "gfx/blit.h"


void EntityInit(Entity* entity, Surface* image)
{
    entity->active = 0;
    entity->bounds[0] = 0;
    entity->bounds[1] = 0;
    entity->bounds[2] = 240;
    entity->bounds[3] = 320;
    entity->image = image;
    entity->x = 120;
    entity->y = 300;
}

void EntityActivate(Entity* entity, uint8_t flag)
{
    entity->active = flag;
    if (!flag)
        return;
    entity->step = 0;
    entity->loops = 0;
    entity->vx = entity->vy = 0;
    entity->dragX = entity->dragY = 0;
    entity->target = nullptr;
    entity->motion = 0;
    entity->hits = 1;
}

void EntitySetPosition(Entity* entity, int x, int y)
{
    entity->x = (int16_t)x;
    entity->y = (int16_t)y;
    entity->step++;
}

void EntitySetBounds(Entity* entity, int32_t left, int32_t top, int32_t right, int32_t bottom)
{
    entity->bounds[0] = left;
    entity->bounds[1] = top;
    entity->bounds[2] = right;
    entity->bounds[3] = bottom;
}

void EntitySetTarget(Entity* entity, Entity* target)
{
    entity->target = target;
}

void EntitySetMotion(Entity* entity, float dragX, float dragY, uint8_t motion)
{
    entity->dragX = dragX;
    entity->dragY = dragY;
    entity->motion = motion;
}

void EntityPush(Entity* entity, float ax, float ay)
{
    entity->vx += ax;
    entity->vy += ay;
}

// Drag brings a velocity toward zero and stops it there; 0 stays 0.
static float Coast(float v, float drag)
{
    if (v > 0) {
        v -= drag;
        return v <= 0 ? 0 : v;
    }
    v += drag;
    return v >= 0 ? 0 : v;
}

static int Clamp(int v, int low, int high)
{
    return v < low ? low : v > high ? high : v;
}

static float ClampF(float v, float low, float high)
{
    return v < low ? low : v > high ? high : v;
}

void EntityUpdate(Entity* entity, int kill)
{
    if (!entity->active)
        return;
    int kind = entity->motion & 15;
    if (kind == MotionCoast) {
        entity->vx = Coast(entity->vx, entity->dragX);
        entity->vy = Coast(entity->vy, entity->dragY);
    } else if (kind == MotionHoming && entity->target && entity->target->active) {
        entity->vx += (float)Clamp(entity->target->x - entity->x, -2, 2);
        entity->vy += (float)Clamp(entity->target->y - entity->y, -2, 2);
        entity->vx = ClampF(entity->vx, -10.0f, 10.0f);
        entity->vy = ClampF(entity->vy, -10.0f, 10.0f);
        // A missile chasing a live target is held inside its bounds.
        kill = 0;
    }
    entity->x = (int16_t)(entity->x + (int)entity->vx);
    entity->y = (int16_t)(entity->y + (int)entity->vy);
    EntityKeepInBounds(entity, kill);
}

void EntityMoveBy(Entity* entity, int16_t dx, int16_t dy, int kill)
{
    entity->x = (int16_t)(entity->x + dx);
    entity->y = (int16_t)(entity->y + dy);
    EntityKeepInBounds(entity, kill);
    entity->step++;
}

void EntityPlaceRandom(Entity* entity, int x0, int y0, int x1, int y1)
{
    entity->x = (int16_t)(x1 == x0 ? x0 : x0 + RandomNext() % (x1 - x0));
    entity->y = (int16_t)(y1 == y0 ? y0 : y0 + RandomNext() % (y1 - y0));
}

void EntityDraw(Entity* entity, Surface* destination)
{
    if (!entity->active)
        return;
    int w = entity->image ? entity->image->width : 0;
    int h = entity->image ? entity->image->height : 0;
    if (entity->image)
        Blit(destination, entity->x - (w + 1) / 2, entity->y - (h + 1) / 2, w, h, entity->image, 0, 0, BlitKeyedAlpha);
    entity->step++;
}

bool EntityDamage(Entity* entity)
{
    if (entity->hits)
        entity->hits--;
    return entity->hits == 0;
}

void EntityKeepInBounds(Entity* entity, int kill)
{
    if (entity->x > entity->bounds[2]) {
        if (kill)
            entity->active = 0;
        else
            entity->x = (int16_t)entity->bounds[2];
    }
    if (entity->x < entity->bounds[0]) {
        if (kill)
            entity->active = 0;
        else
            entity->x = (int16_t)entity->bounds[0];
    }
    if (entity->y > entity->bounds[3]) {
        if (kill)
            entity->active = 0;
        else
            entity->y = (int16_t)entity->bounds[3];
    }
    if (entity->y < entity->bounds[1]) {
        if (kill)
            entity->active = 0;
        else
            entity->y = (int16_t)entity->bounds[1];
    }
}
