// The game world and the stage table.
#include "game/world.h"

GameWorld gameWorld;

Surface lifeImage, powerUpImage, gunImage, turretImage, shipImage, missileImage, bombImage,
    extraLifeImage, eye1Image, eye2Image, tentacle1Image, tentacle2Image, satelite1Image,
    satelite2Image, poo1Image, poo2Image, lockOnImage, pipesImage, page1Image, page2Image;
SpriteStrip powerUpStrip, extraLifeStrip;

const StageDef StageTable[6] = {
    // keyFlag  turret        back   speed weight  front  speed weight
    { 1, L"TURRET5", L"BK3", -1, 0.75, L"FG3",  1, 0.25 },
    { 1, L"TURRET1", L"BK1", -1, 0.85, L"FG1", -3, 0.15 },
    { 1, L"TURRET3", L"BK5", -1, 0.85, L"FG3", -5, 0.15 },
    { 1, L"TURRET6", L"BK6", -2, 0.5,  L"BK4", -1, 0.5 },
    { 1, L"TURRET4", L"BK4", -1, 0.75, L"FG3", -5, 0.25 },
    { 1, L"TURRET2", L"BK2", -1, 0.85, L"FG1", -3, 0.15 },
};
