// The player's ship and weapons: steering, the weapon table, firing and the player's shots.
#pragma once
#include <cstdint>

struct GameWorld;

struct WeaponLevel {
    uint16_t fireInterval;
    uint8_t maxShots;
    uint8_t spreadPeriod;
    uint8_t homingPeriod;
    uint8_t lockOnAllowed;
};

extern const WeaponLevel WeaponTable[10];

void ReadSteerKeys(GameWorld* world);
void FireControl(GameWorld* world);
void LaunchLockOn(GameWorld* world);
