// The player's ship and weapons: steering, the weapon table, firing and the player's shots.
#pragma once
#include <cstdint>

struct GameWorld;

struct WeaponLevel {
    uint16_t fireInterval;   // minimum ms between accepted fire presses
    uint8_t maxShots;        // plain shots in flight at once
    uint8_t spreadPeriod;    // every n-th accepted press fires a spread (0: never)
    uint8_t homingPeriod;    // every n-th accepted press fires a homing missile (0: never)
    uint8_t lockOnAllowed;   // the lock-on key works at this level
};

extern const WeaponLevel WeaponTable[10];

// Pushes the ship by the arrow keys held now, then moves it one frame.
// Called once per game frame and per banner frame.
void ReadSteerKeys(GameWorld* world);
// The fire key went down: a plain shot, a spread or a homing missile by the weapon level.
void FireControl(GameWorld* world);
bool FirePlainShot(GameWorld* world);
bool FireHomingMissile(GameWorld* world);
bool FireSpreadShot(GameWorld* world);
// Up to four homing missiles at the enemy ships, or else at the turrets.
// The caller has already lowered the weapon level.
void LaunchLockOn(GameWorld* world);
void UpdatePlayerShots(GameWorld* world);
void DrawPlayerShots(GameWorld* world);
