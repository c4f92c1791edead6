// bossview: each of the four bosses in play over its own stage, whole, half destroyed and at its end.
//
//   bossview OUTDIR
//
// A new game is started and the schedule taken through the stage changes to
// each boss wave, whose frames then run as the game runs them. Parts are hit
// by player shots placed on them and settled by the collision pass. Saved to
// OUTDIR as boss<row>-<moment>.png: whole (paused at the top of its path),
// half (every other part destroyed, as the smoke clears), end (the wreck in
// its explosion) and rising (the wreck on its way off the screen). Besides,
// boss<row>-parts.png shows the boss at 3x over its stage: whole, with each
// part destroyed alone, with every part cut out, and as the wreck.
#include "app/display.h"
#include "app/entry.h"
#include "game/boss.h"
#include "game/loop.h"
#include "game/world.h"
#include "gfx/parallax.h"
#include "gfx/particle.h"
#include "platform/headless.h"
#include "platform/sys.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

// The boss waves of the table, one per boss row, and the stage break before each.
struct BossVisitDef {
    int stageBreak;   // -1: the boss is on the first stage
    int wave;
};
static const BossVisitDef BossVisitTable[4] = {
    { -1, 3 },
    { 4, 8 },
    { 9, 13 },
    { 14, 18 },
};

enum {
    EntryFrames = 90,   // the boss flies in from above and waits
    HitFrames = 12,     // frames given to shots on one part before it is declared missed
    SettleFrames = 30,
    EndFrames = 8,
    RiseFrames = 40,
    RiseLimit = 400,
};

static std::string outDir;
static int failures;
static bool collisionsMissed;

static void Save(int row, const char* moment)
{
    char name[64];
    snprintf(name, sizeof name, "/boss%d-%s.png", row, moment);
    if (!HeadlessWritePng(outDir + name, gameWorld.backBuffer.pixels, displayProps.ffFormat)) {
        fprintf(stderr, "bossview: cannot write %s%s\n", outDir.c_str(), name);
        failures++;
    }
}

enum { SheetCellWidth = 170, SheetCellHeight = 96, SheetZoom = 3 };

// The boss drawn by the game over its background, one cell per state, stacked
// and enlarged. The boss's place and parts are given back afterwards.
static void SaveParts(int row)
{
    const BossDef* def = &BossTable[row];
    Entity saved = gameWorld.boss;
    uint8_t savedHits[16];
    memcpy(savedHits, gameWorld.partHits, sizeof savedHits);
    int cells = def->partCount + 3;
    int width = SheetCellWidth * SheetZoom, height = SheetCellHeight * SheetZoom * cells;
    std::vector<uint8_t> sheet((size_t)width * height * 3);
    Surface* frame = &gameWorld.backBuffer;
    gameWorld.boss.x = 120;
    gameWorld.boss.y = 160;
    for (int cell = 0; cell < cells; cell++) {
        // Whole, part k alone, every part, the wreck.
        for (int k = 0; k < def->partCount; k++)
            gameWorld.partHits[k] = (cell == 0 || (cell <= def->partCount && cell - 1 != k)) ? 5 : 0;
        gameWorld.bossDestroyed = cell == cells - 1;
        ParallaxCompose(&gameWorld.parallax, frame);
        DrawBoss(&gameWorld);
        int x0 = 120 - SheetCellWidth / 2, y0 = 160 - SheetCellHeight / 2;
        for (int y = 0; y < SheetCellHeight * SheetZoom; y++)
            for (int x = 0; x < width; x++) {
                int r, g, b;
                SplitColour(frame->pixels[(y0 + y / SheetZoom) * 240 + x0 + x / SheetZoom], &r, &g, &b);
                uint8_t* out = &sheet[(((size_t)cell * SheetCellHeight * SheetZoom + y) * width + x) * 3];
                out[0] = (uint8_t)r;
                out[1] = (uint8_t)g;
                out[2] = (uint8_t)b;
            }
    }
    gameWorld.boss = saved;
    gameWorld.bossDestroyed = 0;
    memcpy(gameWorld.partHits, savedHits, sizeof savedHits);
    char name[64];
    snprintf(name, sizeof name, "/boss%d-parts.png", row);
    if (!HeadlessWritePngRows(outDir + name, width, height, 3, sheet.data())) {
        fprintf(stderr, "bossview: cannot write %s%s\n", outDir.c_str(), name);
        failures++;
    }
}

// One game frame with the ship kept in the game: a boss shot may take it, the tool plays on.
static void Frame()
{
    gameWorld.lives = 3;
    RunGameFrame(&gameWorld);
}

static void Frames(int count)
{
    for (int i = 0; i < count; i++)
        Frame();
}

// A plain shot standing still on the centre of part k, as one the ship fired would arrive there.
static void ShootPart(int k)
{
    const BossDef* def = &BossTable[gameWorld.bossKind];
    const BossRect& r = def->hitRects[k];
    int bx = gameWorld.boss.x - def->image->width / 2, by = gameWorld.boss.y - def->image->height / 2;
    for (Entity& shot : gameWorld.playerShots) {
        if (shot.active)
            continue;
        EntitySetPosition(&shot, bx + r.left + (r.right - r.left) / 2, by + r.top + (r.bottom - r.top) / 2);
        EntityActivate(&shot, 1);
        EntitySetMotion(&shot, 0, 0, 2);
        gameWorld.plainShots++;
        return;
    }
}

// Shoots part k until it is destroyed. Should the collision pass leave it
// standing, it is destroyed by hand so that the pictures still come out, and
// the run fails.
static void DestroyPart(int k)
{
    for (int i = 0; i < HitFrames && gameWorld.partHits[k]; i++) {
        ShootPart(k);
        Frame();
    }
    if (gameWorld.partHits[k]) {
        collisionsMissed = true;
        gameWorld.partHits[k] = 0;
        for (Entity& shot : gameWorld.playerShots)
            shot.active = 0;
        gameWorld.plainShots = 0;
    }
}

static void VisitBoss(int row)
{
    const BossVisitDef& visit = BossVisitTable[row];
    if (visit.stageBreak >= 0)
        ScheduleWave(&gameWorld, visit.stageBreak);   // the stage change, then the wave after it
    if (!ScheduleWave(&gameWorld, visit.wave) || !gameWorld.bossActive || gameWorld.bossKind != (uint32_t)row) {
        fprintf(stderr, "bossview: wave %d did not start boss %d\n", visit.wave, row);
        failures++;
        return;
    }
    // Leftovers of the waves before are cleared away so that the boss is seen alone.
    for (Entity& e : gameWorld.enemyShots)
        e.active = 0;
    for (Entity& e : gameWorld.turrets)
        e.active = 0;
    ParticleSystemClear(&particleSystem);
    // The ship waits at the left edge, out of the way of most of the fire.
    EntitySetPosition(&gameWorld.player, 10, 280);

    Frames(EntryFrames);
    Save(row, "whole");
    SaveParts(row);

    const BossDef* def = &BossTable[row];
    for (int k = 0; k < def->partCount; k += 2)
        DestroyPart(k);
    Frames(SettleFrames);
    Save(row, "half");

    for (int k = 1; k < def->partCount; k += 2)
        DestroyPart(k);
    // The pass declares the boss destroyed at the first shot it sees standing nothing.
    for (int i = 0; i < HitFrames && !gameWorld.bossDestroyed; i++) {
        ShootPart(0);
        Frame();
    }
    if (!gameWorld.bossDestroyed) {
        collisionsMissed = true;
        gameWorld.bossDestroyed = 1;
    }
    Frames(EndFrames);
    Save(row, "end");
    Frames(RiseFrames);
    Save(row, "rising");

    int frames = EndFrames + RiseFrames;
    while (gameWorld.bossActive && frames < RiseLimit) {
        Frame();
        frames++;
    }
    printf("boss %d (%d parts): gone %d frames after its destruction, at y = %d\n", row, def->partCount, frames,
           gameWorld.boss.y);
    if (gameWorld.bossActive) {
        fprintf(stderr, "bossview: boss %d never left the screen\n", row);
        failures++;
    }
}

int main(int argc, char** argv)
{
    if (argc != 2) {
        fprintf(stderr, "usage: bossview OUTDIR\n");
        return 2;
    }
    std::error_code error;
    std::filesystem::create_directories(argv[1], error);
    outDir = std::filesystem::absolute(argv[1], error).string();
    // Start-up writes the high-score file into the working folder: keep it in the output.
    std::filesystem::current_path(outDir, error);

    HeadlessReset();
    HeadlessSetInstanceScope(outDir);
    // As if started from the build folder, where the font and the page art lie.
    std::wstring program = std::filesystem::path(SS_BUILD_DIR "/space-shooter").wstring();
    HeadlessSetModuleFileName(program.c_str());
    displayProps = GXGetDisplayProperties();
    PixelFormatSelect(displayProps.ffFormat);
    if (!InitInstance(SysModule())) {
        fprintf(stderr, "bossview: the program did not start\n");
        return 1;
    }
    NewGame(&gameWorld);
    gameWorld.framesEnabled = 1;
    for (int row = 0; row < 4; row++)
        VisitBoss(row);
    if (collisionsMissed) {
        fprintf(stderr, "bossview: the collision pass left parts standing: they were destroyed by hand\n");
        failures++;
    }
    for (const std::string& box : HeadlessBoxes())
        printf("box: %s\n", box.c_str());
    return failures ? 1 : 0;
}
