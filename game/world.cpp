// The game world and the stage table.
#include "game/world.h"
#include "game/loop.h"

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

// Script n of the path table; a stage break has none.
#define SCRIPT(n) (&PathScriptTable[n])

const WaveDef WaveTable[WaveCount] = {
    // script      count param spacing turretInterval turretFirePeriod
    { SCRIPT(0),  8, 5, 5, 1000, 250 },
    { SCRIPT(1),  8, 5, 5, 500,  250 },
    { SCRIPT(2),  8, 5, 5, 300,  250 },
    { SCRIPT(10), 0, 0, 1, 5000, 250 },   // boss 0
    { nullptr,    0, 1, 0, 0,    0 },     // stage 1
    { SCRIPT(3),  8, 5, 5, 250,  200 },
    { SCRIPT(4),  8, 5, 5, 250,  200 },
    { SCRIPT(5),  8, 5, 5, 250,  200 },
    { SCRIPT(11), 0, 1, 1, 5000, 100 },   // boss 1
    { nullptr,    0, 2, 0, 0,    0 },     // stage 2
    { SCRIPT(6),  8, 5, 5, 250,  200 },
    { SCRIPT(7),  8, 5, 5, 250,  200 },
    { SCRIPT(9),  8, 5, 5, 250,  200 },
    { SCRIPT(11), 0, 2, 1, 5000, 100 },   // boss 2
    { nullptr,    0, 3, 0, 0,    0 },     // stage 3
    { SCRIPT(0),  8, 5, 5, 1000, 250 },
    { SCRIPT(1),  8, 5, 5, 500,  250 },
    { SCRIPT(2),  8, 5, 5, 250,  250 },
    { SCRIPT(10), 0, 3, 1, 5000, 250 },   // boss 3
    { nullptr,    0, 4, 0, 0,    0 },     // stage 4
    { SCRIPT(3),  8, 5, 5, 250,  100 },
    { SCRIPT(4),  8, 5, 5, 250,  100 },
    { SCRIPT(5),  8, 5, 5, 250,  100 },
    { SCRIPT(11), 0, 2, 1, 5000, 100 },   // boss 2
    { nullptr,    0, 5, 0, 0,    0 },     // stage 5
    { SCRIPT(6),  8, 5, 5, 250,  100 },
    { SCRIPT(7),  8, 5, 5, 250,  100 },
    { SCRIPT(9),  8, 5, 5, 250,  100 },
    { SCRIPT(11), 0, 1, 1, 5000, 100 },   // boss 1
    { nullptr,    0, 0, 0, 0,    0 },     // stage 0
};

#undef SCRIPT

const StageDef* StageInUse(const GameWorld* world)
{
    // The break rows select stages 1, 2, 3, 4, 5, 0 in turn, so the count of
    // stage changes names the row in use.
    return &StageTable[world->stageNumber % 6];
}
