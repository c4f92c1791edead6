// The game world: the one GameWorld, its program-wide images, and the stage table.
#pragma once
#include "game/entity.h"
#include "game/path.h"
#include "game/spritestrip.h"
#include "gfx/parallax.h"
#include "gfx/surface.h"

struct Window;

struct GameWorld {
    Window* owner = nullptr;
    Surface backBuffer;
    Parallax parallax;
    Entity player = {};
    Entity enemies[12] = {};
    Entity playerShots[15] = {};
    Entity enemyShots[12] = {};
    Entity turrets[6] = {};
    FlightPath path = {};
    uint32_t framesEnabled = 0;
    uint32_t waveIndex = 0;
    uint32_t stageNumber = 0;
    uint32_t loopCount = 0;
    uint32_t score = 0;
    uint32_t lives = 0;
    Entity boss = {};
    uint32_t bossKind = 0;
    uint32_t bossActive = 0;
    uint32_t bossDestroyed = 0;
    uint8_t partHits[16] = {};
    int32_t weaponLevel = 0;
    uint32_t firePresses = 0;
    int32_t plainShots = 0;
    uint32_t lastFireTick = 0;
    uint32_t lastDeathTick = 0;
    int32_t enemiesAlive = 0;
    int32_t enemiesLeft = 0;
    uint32_t spawnTimer = 0, spawnInterval = 0;
    uint32_t turretTimer = 0, turretInterval = 0;
    uint32_t turretFirePeriod = 0;
};

// The one game of the program, handed to the window at its creation.
extern GameWorld gameWorld;

struct StageDef {
    uint8_t keyFlag;
    const wchar_t* turretBitmap;
    const wchar_t* backBitmap;
    int32_t backSpeed;
    double backWeight;
    const wchar_t* frontBitmap;
    int32_t frontSpeed;
    double frontWeight;
};

extern const StageDef StageTable[6];

// The stage row whose look is on screen now.
const StageDef* StageInUse(const GameWorld* world);

// Program-wide images, filled once at start-up; the turret image again at each stage change.
extern Surface lifeImage, powerUpImage, gunImage, turretImage, shipImage, missileImage, bombImage,
    extraLifeImage, eye1Image, eye2Image, tentacle1Image, tentacle2Image, satelite1Image,
    satelite2Image, poo1Image, poo2Image, lockOnImage, pipesImage, page1Image, page2Image;
extern SpriteStrip powerUpStrip, extraLifeStrip;
