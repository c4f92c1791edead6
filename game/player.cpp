// The player's ship and weapons. Stand-in: the weapon table is here; firing and steering come with the game.
#include "game/player.h"
#include "game/world.h"

const WeaponLevel WeaponTable[10] = {
    // fireInterval maxShots spreadPeriod homingPeriod lockOnAllowed
    { 500, 1, 0, 0, 0 },
    { 500, 2, 0, 0, 0 },
    { 500, 3, 0, 0, 0 },
    { 400, 5, 0, 0, 0 },
    { 400, 5, 0, 20, 0 },
    { 300, 5, 0, 10, 0 },
    { 300, 5, 0, 5, 0 },
    { 250, 5, 20, 5, 0 },
    { 250, 5, 10, 5, 1 },
    { 200, 5, 10, 5, 1 },
};

void ReadSteerKeys(GameWorld*)
{
}

void FireControl(GameWorld*)
{
}

bool FirePlainShot(GameWorld*)
{
    return false;
}

bool FireHomingMissile(GameWorld*)
{
    return false;
}

bool FireSpreadShot(GameWorld*)
{
    return true;
}

void LaunchLockOn(GameWorld*)
{
}

void UpdatePlayerShots(GameWorld*)
{
}

void DrawPlayerShots(GameWorld*)
{
}
