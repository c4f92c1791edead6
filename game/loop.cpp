// The game loop: new games, the wave schedule, stage changes, banners and the two per-frame routines.
#include "game/loop.h"
#include "app/display.h"
#include "app/entry.h"
#include "game/boss.h"
#include "game/collide.h"
#include "game/enemy.h"
#include "game/hud.h"
#include "game/player.h"
#include "game/turret.h"
#include "game/world.h"
#include "gfx/bitmap.h"
#include "gfx/blit.h"
#include "gfx/font.h"
#include "gfx/particle.h"
#include "platform/sys.h"
#include "sound/cea_sound.h"

#include <cstdio>
#include <cstdlib>

enum {
    GracePeriodMs = 5000,
    BannerPeriodMs = 50,
    BannerFrames = 100,
    BannerTextFrames = 50,
};

// Layers and key of a stage's look; the turret image is the caller's.
static void StageLoadLook(GameWorld* world, const StageDef* row)
{
    Parallax* parallax = &world->parallax;
    ParallaxLoadBack(parallax, row->backBitmap, row->backSpeed, (float)row->backWeight);
    ParallaxLoadFront(parallax, row->frontBitmap, row->frontSpeed, (float)row->frontWeight);
    ParallaxSetKey(parallax, row->keyFlag, parallax->front.pixels ? parallax->front.pixels[0] : 0);
}

int NewGame(GameWorld* world)
{
    for (Entity& enemy : world->enemies)
        EntityInit(&enemy, &shipImage);
    for (Entity& shot : world->playerShots)
        EntityInit(&shot, &missileImage);
    for (Entity& shot : world->enemyShots)
        EntityInit(&shot, &bombImage);
    for (Entity& turret : world->turrets)
        EntityInit(&turret, &turretImage);

    Entity* player = &world->player;
    EntityInit(player, &gunImage);
    EntityActivate(player, 1);
    EntitySetPosition(player, 120, 270);
    EntitySetBounds(player, 0, 0, 240, 320);
    EntitySetMotion(player, 0.75f, 0.75f, MotionCoast);

    ParticleSystemClear(&particleSystem);

    world->score = 0;
    world->waveIndex = 0;
    world->stageNumber = 0;
    world->weaponLevel = 2;
    world->firePresses = 0;
    world->lives = 3;
    world->loopCount = 1;
    world->plainShots = 0;
    world->bossKind = world->bossActive = world->bossDestroyed = 0;
    // lastDeathTick stays: a game started within 5 s of a death begins in grace.

    StageLoadLook(world, &StageTable[0]);
    return ScheduleWave(world, (int)world->waveIndex);
}

// Sets the boss of the boss row up at the first point of its path.
static void BossStart(GameWorld* world, uint32_t bossKind)
{
    const BossDef* def = &BossTable[bossKind];
    Entity* boss = &world->boss;
    world->bossKind = bossKind;
    EntityInit(boss, def->image);
    EntityActivate(boss, 1);
    int x, y;
    if (FlightPathNextPoint(&world->path, &x, &y, &boss->step, &boss->loops))
        EntitySetPosition(boss, x, y);
    boss->hits = (uint8_t)def->partHitPoints;
    for (int k = 0; k < def->partCount; k++)
        world->partHits[k] = (uint8_t)def->partHitPoints;
    PlayEffect(SoundAirRaid);
    world->bossActive = 1;
    world->bossDestroyed = 0;
}

int ScheduleWave(GameWorld* world, int index)
{
    if (index < 0 || index >= WaveCount)
        return 0;
    const WaveDef* row = &WaveTable[index];
    if (!row->script) {
        StageIntro(world, row->param);
        return ScheduleWave(world, index + 1);
    }
    if (!FlightPathCompile(&world->path, *row->script, (int)row->spacing))
        return 0;

    world->enemiesLeft = row->enemyCount;
    world->spawnInterval = (uint32_t)row->param;
    world->turretInterval = row->turretInterval;
    world->turretFirePeriod = row->turretFirePeriod;
    world->enemiesAlive = 0;
    world->spawnTimer = 0;
    world->turretTimer = 0;

    if (world->enemiesLeft == 0)
        BossStart(world, (uint32_t)row->param);
    else
        world->bossActive = 0;
    world->waveIndex = (uint32_t)index;
    return 1;
}

// A banner frame ends by showing the picture, resting out the 50 ms and reading the arrows.
static void BannerFrameEnd(GameWorld* world)
{
    Present(&world->backBuffer);
    WaitFrameRest(BannerPeriodMs);
    ReadSteerKeys(world);
}

// The scene of a stage intro frame: the background darkened by level, the ship and the display.
static void StageIntroFrame(GameWorld* world, int level)
{
    MarkFrameStart();
    ParallaxCompose(&world->parallax, &world->backBuffer);
    ShadeRect(&world->backBuffer, 0, 0, 240, 320, level);
    EntityDraw(&world->player, &world->backBuffer);
    DrawHud(world);
    BannerFrameEnd(world);
}

static void BannerTexts(GameWorld* world, const char* stageText)
{
    FontDrawText(&bitmapFont, &world->backBuffer, -1, 140, "Get Ready", MakeColour(255, 255, 0));
    FontDrawText(&bitmapFont, &world->backBuffer, -1, 160, stageText, MakeColour(255, 255, 255));
}

void StageIntro(GameWorld* world, int stageRow)
{
    world->framesEnabled = 0;
    for (int level = 0; level <= 250; level += 25)
        StageIntroFrame(world, level);

    ParallaxReset(&world->parallax);
    const StageDef* row = &StageTable[abs(stageRow) % 6];
    // A look that fails to load is not reported: the old or empty image stays in use.
    if (LoadBitmapResource(&turretImage, moduleHandle, row->turretBitmap) && turretImage.pixels)
        SurfaceSetColourKey(&turretImage, turretImage.pixels[0]);
    StageLoadLook(world, row);

    for (int level = 255; level >= 5; level -= 25)
        StageIntroFrame(world, level);

    world->stageNumber++;
    char stageText[32];
    snprintf(stageText, sizeof stageText, "Stage %u", world->stageNumber + 1);
    for (int frame = 0; frame < BannerFrames; frame++) {
        MarkFrameStart();
        ParallaxCompose(&world->parallax, &world->backBuffer);
        EntityDraw(&world->player, &world->backBuffer);
        DrawHud(world);
        // The texts blink: on in frames 8-15, 24-31 and 40-47.
        if (frame < BannerTextFrames && (frame / 8) % 2 == 1)
            BannerTexts(world, stageText);
        BannerFrameEnd(world);
    }
    world->framesEnabled = 1;
}

void GameStartBanner(GameWorld* world)
{
    Surface* snapshot = SurfaceCloneScreen(&world->backBuffer);
    char stageText[32];
    snprintf(stageText, sizeof stageText, "Stage %u", world->stageNumber + 1);

    // Over the faded-out menu, which is not redrawn: the texts appear after 16 frames.
    for (int frame = 0; frame < 30; frame++) {
        MarkFrameStart();
        if (frame > 15)
            BannerTexts(world, stageText);
        Present(&world->backBuffer);
        WaitFrameRest(BannerPeriodMs);
    }
    // The stage shows through the snapshot as it fades away.
    for (int level = 250; level >= 0; level -= 25) {
        MarkFrameStart();
        ParallaxCompose(&world->parallax, &world->backBuffer);
        DrawHud(world);
        EntityDraw(&world->player, &world->backBuffer);
        if (snapshot) {
            SurfaceSetAlpha(snapshot, (uint8_t)level);
            Blit(&world->backBuffer, 0, 0, snapshot->width, snapshot->height, snapshot, 0, 0, BlitAlpha);
        }
        BannerTexts(world, stageText);
        BannerFrameEnd(world);
    }
    for (int frame = 0; frame < BannerFrames; frame++) {
        MarkFrameStart();
        ParallaxCompose(&world->parallax, &world->backBuffer);
        EntityDraw(&world->player, &world->backBuffer);
        DrawHud(world);
        if (frame < BannerTextFrames)
            BannerTexts(world, stageText);
        BannerFrameEnd(world);
    }
    if (snapshot) {
        SurfaceRelease(snapshot);
        delete snapshot;
    }
}

// The ship is half transparent for 5000 ms after a death, and the game cannot
// end meanwhile. 0 when the game is over.
static int GraceOrGameOver(GameWorld* world)
{
    uint32_t elapsed = SysTicks() - world->lastDeathTick;
    if (elapsed <= GracePeriodMs) {
        SurfaceSetAlpha(world->player.image, 128);
        return 1;
    }
    if (world->lives == 0)
        return 0;
    SurfaceSetAlpha(world->player.image, 255);
    return 1;
}

int RunGameFrame(GameWorld* world)
{
    if (world->bossActive)
        return RunBossFrame(world);

    MarkFrameStart();
    ReadSteerKeys(world);

    if (world->spawnTimer >= world->spawnInterval) {
        world->spawnTimer = 0;
        if (world->enemiesAlive < world->enemiesLeft)
            SpawnEnemy(world);
    } else {
        world->spawnTimer++;
    }
    if (world->turretTimer >= world->turretInterval) {
        world->turretTimer = 0;
        SpawnTurret(world);
    } else {
        world->turretTimer++;
    }

    // Everything is drawn before anything moves: a frame shows where the last one left things.
    Surface* frame = &world->backBuffer;
    ParallaxCompose(&world->parallax, frame);
    DrawTurrets(world);
    if (!GraceOrGameOver(world))
        return 0;
    EntityDraw(&world->player, frame);
    DrawEnemies(world);
    DrawPlayerShots(world);
    DrawEnemyShots(world);
    ParticleSystemRender(&particleSystem, frame);

    UpdateTurrets(world);
    UpdateEnemies(world);
    UpdatePlayerShots(world);
    UpdateEnemyShots(world);
    ResolveCollisions(world);
    int live = ParticleLoadPercent(&particleSystem);
    DrawHud(world);
    Present(frame);

    // The wave ends when its ships are gone and the explosions have died down.
    if (world->enemiesAlive != 0 || world->enemiesLeft != 0 || live != 0)
        return 1;
    if (ScheduleWave(world, (int)world->waveIndex + 1))
        return 1;
    ScheduleWave(world, 0);
    world->loopCount++;
    return 1;
}

int RunBossFrame(GameWorld* world)
{
    MarkFrameStart();
    ReadSteerKeys(world);

    // Turrets stand above the ship here; enemy ships left from the wave before wait, unseen.
    Surface* frame = &world->backBuffer;
    ParallaxCompose(&world->parallax, frame);
    if (!GraceOrGameOver(world))
        return 0;
    EntityDraw(&world->player, frame);
    DrawTurrets(world);
    DrawBoss(world);
    DrawPlayerShots(world);
    DrawEnemyShots(world);
    ParticleSystemRender(&particleSystem, frame);

    UpdateTurrets(world);
    UpdatePlayerShots(world);
    UpdateEnemyShots(world);
    UpdateBoss(world);
    ResolveCollisions(world);
    DrawHud(world);
    Present(frame);
    return 1;
}
