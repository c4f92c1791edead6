// The autopilot's player: looks at the GameWorld after every frame and plays at the keys, game after game if asked.
#include "tools/autopilot/pilot.h"
#include "app/mem.h"
#include "game/boss.h"
#include "game/world.h"
#include "gfx/surface.h"
#include "platform/gx.h"
#include "platform/headless.h"
#include "ui/highscore.h"

#include <cstdarg>
#include <cstdio>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

enum PilotKey { PilotLeft, PilotRight, PilotUp, PilotDown, PilotKeyCount };

static const char* const pilotKeyNames[PilotKeyCount] = { "left", "right", "up", "down" };

struct Pilot {
    PilotOptions options;
    int held[PilotKeyCount];
    int leaving;            // done: 1 opens the menu and takes "Exit Game", 2 enters a name first
    uint32_t nextTap;       // taps on the menu repeat until the menu takes one
    uint32_t lastSaved;
    int started;
    size_t gameOverTap;     // the next of GameOverTapTable
    uint32_t lives;
    uint32_t stage;
    uint32_t stageSeen;     // when the stage number last changed
    int givingUp;           // stops dodging, to end the game
    uint32_t gamesOver;
    uint32_t nextReport;
};

static Pilot pilot;

struct PilotTapDef {
    int x, y;
};

// After a game over: the name "AB" on the name entry, OK, then "Exit" under
// the high scores and "Continue" on the Game Over screen. Taps that come
// while a screen fades wait in the queue for the screen after it.
static const PilotTapDef GameOverTapTable[] = {
    { 85, 235 },    // Select: A
    { 180, 127 },   // >>
    { 85, 235 },    // Select: B
    { 71, 288 },    // OK
    { 116, 289 },   // Exit
    { 116, 289 },   // Continue
};

static void Command(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Queues a script command at the current tick: it reaches the program as a
// player's input does, at the next pump.
static void Command(const char* format, ...)
{
    char line[96];
    int n = snprintf(line, sizeof line, "at %u ", HeadlessNow());
    va_list args;
    va_start(args, format);
    vsnprintf(line + n, sizeof line - (size_t)n, format, args);
    va_end(args);
    std::string error;
    if (!HeadlessScriptAppend(std::string(line) + "\n", &error))
        fprintf(stderr, "autopilot: %s: %s\n", line, error.c_str());
}

static void Hold(PilotKey key, int down)
{
    if (pilot.held[key] == down)
        return;
    pilot.held[key] = down;
    Command("%s %s", down ? "down" : "up", pilotKeyNames[key]);
}

// The x the ship should stand under: a boss part still standing, else the
// lowest enemy ship, else a pick-up falling towards the ship.
static int TargetX(const GameWorld* world, int* found)
{
    *found = 1;
    const Entity* player = &world->player;
    for (const Entity& item : world->enemyShots)
        if (item.active && !(item.motion & FlagHostile) && item.y > 120 && item.y < player->y)
            return item.x;
    if (world->bossActive && world->boss.active) {
        const BossDef* def = &BossTable[world->bossKind % 4];
        int width = def->image ? def->image->width : 0;
        for (int k = 0; k < def->partCount && k < BossPartSlots; k++)
            if (world->partHits[k])
                return world->boss.x - width / 2 + (def->hitRects[k].left + def->hitRects[k].right) / 2;
        return world->boss.x;
    }
    const Entity* lowest = nullptr;
    for (const Entity& enemy : world->enemies)
        if (enemy.active && enemy.y > 0 && enemy.y < player->y - 70 && (!lowest || enemy.y > lowest->y))
            lowest = &enemy;
    if (lowest)
        return lowest->x;
    *found = 0;
    return 120;
}

// Where every enemy ship stood a frame ago, to guess where it goes next.
static int16_t lastShipX[12], lastShipY[12];

static float Coast(float v, float drag)
{
    if (v > 0)
        return v - drag <= 0 ? 0 : v - drag;
    return v + drag >= 0 ? 0 : v + drag;
}

// The key to hold on one axis to bring position to goal without overshooting.
static int Approach(int position, float velocity, int goal)
{
    float wanted = (float)(goal - position) * 0.3f;
    wanted = wanted > 7 ? 7 : wanted < -7 ? -7 : wanted;
    if (velocity < wanted - 1)
        return 1;
    if (velocity > wanted + 1)
        return -1;
    return 0;
}

// The first frame in which something hits the ship if it holds the arrow
// given (-1 left, 0 none, 1 right) for a few frames and then heads for goal,
// keeping its row; horizon + 1 when nothing does.
static int HitTime(const GameWorld* world, int ax, int goal, int rowY, int horizon)
{
    const Entity* player = &world->player;
    int halfW = (player->image ? player->image->width / 2 : 12) + 3;
    int halfH = (player->image ? player->image->height / 2 : 12) + 3;
    float x = player->x, y = player->y, vx = player->vx, vy = player->vy;
    for (int t = 1; t <= horizon; t++) {
        int key = t <= 4 ? ax : Approach((int)x, vx, goal);
        vx = Coast(vx + 2.0f * (float)key, 0.75f);
        vy = Coast(vy + 2.0f * (float)Approach((int)y, vy, rowY), 0.75f);
        x = (float)(int)(x + (float)(int)vx);
        y = (float)(int)(y + (float)(int)vy);
        if (x < 12 || x > 228)
            return t;   // cornered: ships dive down the edges, and a dodge has nowhere to go
        for (const Entity& shot : world->enemyShots) {
            if (!shot.active || !(shot.motion & FlagHostile))
                continue;
            float sx = shot.x + shot.vx * (float)t, sy = shot.y + shot.vy * (float)t;
            if (fabsf(sx - x) <= (float)halfW && fabsf(sy - y) <= (float)halfH)
                return t;
        }
        for (int i = 0; i < 12; i++) {
            const Entity& ship = world->enemies[i];
            if (!ship.active)
                continue;
            float sx = ship.x + (float)(ship.x - lastShipX[i]) * (float)t;
            float sy = ship.y + (float)(ship.y - lastShipY[i]) * (float)t;
            if (fabsf(sx - x) <= (float)halfW + 8 && fabsf(sy - y) <= (float)halfH + 8)
                return t;
        }
    }
    return horizon + 1;
}

// Steers for the frame; returns whether there is anything to shoot at.
static int Steer(const GameWorld* world)
{
    const Entity* player = &world->player;
    int giveUp = pilot.givingUp || (pilot.options.giveUpScore && world->score >= pilot.options.giveUpScore);
    int found = 0;
    int goal = TargetX(world, &found);
    if (!found)
        goal = player->x;
    goal = goal < 40 ? 40 : goal > 200 ? 200 : goal;   // ships dive down the edges
    int rowY = 298;   // low enough that ships sweeping the bottom rows pass above
    if (giveUp) {
        // Into the nearest ship, to end the game.
        const Entity* nearest = nullptr;
        for (const Entity& enemy : world->enemies)
            if (enemy.active && (!nearest || abs(enemy.x - player->x) < abs(nearest->x - player->x)))
                nearest = &enemy;
        if (nearest) {
            goal = nearest->x;
            rowY = nearest->y > 60 ? nearest->y : 200;
        }
    }
    int ax = Approach(player->x, player->vx, goal);
    int ay = Approach(player->y, player->vy, rowY);
    if (!giveUp) {
        const int horizon = 24;
        int best = HitTime(world, ax, goal, rowY, horizon);
        // Sideways first; up out of the bottom rows only when sideways fails.
        const int rows[2] = { rowY, rowY - 50 };
        for (int row : rows) {
            for (int tryX = -1; tryX <= 1 && best <= horizon; tryX++) {
                int t = HitTime(world, tryX, goal, row, horizon);
                if (t > best) {
                    best = t;
                    ax = tryX;
                    ay = Approach(player->y, player->vy, row);
                }
            }
        }
    }
    if (pilot.options.trace && HeadlessFramesPresented() % 20 == 0) {
        fprintf(stderr, "t%u ship %d,%d v%.1f goal %d found %d ax %d ay %d best %d:", HeadlessNow(), player->x, player->y,
                player->vx, goal, found, ax, ay, HitTime(world, ax, goal, rowY, 16));
        for (const Entity& e : world->enemies)
            if (e.active)
                fprintf(stderr, " e%d,%d", e.x, e.y);
        for (const Entity& e : world->enemyShots)
            if (e.active)
                fprintf(stderr, " s%d,%d,m%d", e.x, e.y, e.motion);
        fprintf(stderr, " left %d alive %d", world->enemiesLeft, world->enemiesAlive);
        if (world->bossActive) {
            fprintf(stderr, " boss %d,%d kind %u parts", world->boss.x, world->boss.y, world->bossKind);
            for (int k = 0; k < BossTable[world->bossKind % 4].partCount; k++)
                fprintf(stderr, " %u", world->partHits[k]);
        }
        fprintf(stderr, " shots %d level %d\n", world->plainShots, world->weaponLevel);
    }
    for (int i = 0; i < 12; i++) {
        lastShipX[i] = world->enemies[i].x;
        lastShipY[i] = world->enemies[i].y;
    }
    Hold(PilotLeft, ax < 0);
    Hold(PilotRight, ax > 0);
    Hold(PilotUp, ay < 0);
    Hold(PilotDown, ay > 0);
    int turrets = 0;
    for (const Entity& turret : world->turrets)
        turrets |= turret.active && turret.y > 0 && turret.y < player->y;
    return found || turrets;
}

static void SaveFrame()
{
    if (pilot.options.frames.empty() || (pilot.lastSaved && HeadlessNow() - pilot.lastSaved < 1000))
        return;
    static uint16_t screen[240 * 320];
    HeadlessScreenRead(screen);
    char name[64];
    snprintf(name, sizeof name, "/pilot-%07u.png", HeadlessNow());
    HeadlessWritePng(pilot.options.frames + name, screen, GXGetDisplayProperties().ffFormat);
    pilot.lastSaved = HeadlessNow();
}

// With --trace: what was close to the ship in the frame before it was lost.
static void TraceNear(const GameWorld* world)
{
    static char near[512];
    if (world->lives < pilot.lives)
        fprintf(stderr, "  before: %s\n", near);
    const Entity* player = &world->player;
    int n = snprintf(near, sizeof near, "ship %d,%d w%d;", player->x, player->y, world->weaponLevel);
    for (const Entity& e : world->enemyShots)
        if (e.active && abs(e.x - player->x) < 40 && abs(e.y - player->y) < 60 && n < 400)
            n += snprintf(near + n, sizeof near - (size_t)n, " shot %d,%d v%.1f,%.1f m%d;", e.x, e.y, e.vx, e.vy, e.motion);
    for (const Entity& e : world->enemies)
        if (e.active && abs(e.x - player->x) < 40 && abs(e.y - player->y) < 60 && n < 400)
            n += snprintf(near + n, sizeof near - (size_t)n, " ship %d,%d;", e.x, e.y);
}

std::string PilotMemoryLine()
{
    long pages = 0, resident = 0;
    if (FILE* statm = fopen("/proc/self/statm", "r")) {
        if (fscanf(statm, "%ld %ld", &pages, &resident) != 2)
            resident = 0;
        fclose(statm);
    }
    char line[96];
    snprintf(line, sizeof line, "rss=%ld KB chunks=%u", resident * (sysconf(_SC_PAGESIZE) / 1024), MemGetStats().chunks);
    return line;
}

int PilotPlaying()
{
    return pilot.started && !pilot.leaving && gameWorld.lives;
}

uint32_t PilotGamesOver()
{
    return pilot.gamesOver;
}

// The stage a game of a long run gives up in: one, two or three stages
// cleared in turn (by default), so that runs see every boss and early deaths alike.
static uint32_t GiveUpStage()
{
    return pilot.options.giveUpFrom + pilot.gamesOver % 3;
}

// The taps after a game over, and the next game or the way out.
static void AfterPlay(uint32_t now)
{
    if ((int32_t)(now - pilot.nextTap) < 0)
        return;
    if (pilot.leaving == 2 && pilot.gameOverTap < sizeof GameOverTapTable / sizeof GameOverTapTable[0]) {
        const PilotTapDef& tap = GameOverTapTable[pilot.gameOverTap++];
        Command("tap %d %d", tap.x, tap.y);
        pilot.nextTap = now + 800;
        return;
    }
    int another = pilot.options.playFor && now < pilot.options.playFor;
    Command(pilot.leaving && !another ? "tap 120 219" : "tap 120 90");   // "Exit Game" or "New Game"
    pilot.nextTap = now + 1000;
}

// Runs after every presented frame: the pilot looks at the world and moves its hands.
void PilotOnFrame(void*)
{
    GameWorld* world = &gameWorld;
    SaveFrame();
    uint32_t now = HeadlessNow();
    if (pilot.options.reportEvery && now >= pilot.nextReport) {
        printf("autopilot: tick %u: games %u, %s\n", now, pilot.gamesOver, PilotMemoryLine().c_str());
        fflush(stdout);
        pilot.nextReport += pilot.options.reportEvery;
    }
    if (pilot.options.trace)
        TraceNear(world);
    if (!pilot.options.playFor && (world->lives != pilot.lives || world->stageNumber != pilot.stage))
        fprintf(stderr, "autopilot: tick %u: lives %u, stage %u, wave %u, score %u\n", now, world->lives,
                world->stageNumber, world->waveIndex, world->score);
    pilot.lives = world->lives;
    if (pilot.stage != world->stageNumber)
        pilot.stageSeen = now;
    pilot.stage = world->stageNumber;
    if (!pilot.started && world->lives) {
        pilot.started = 1;
        pilot.nextTap = 0;
    }
    // A long run: a new game has begun after the last one's screens.
    if (pilot.leaving == 2 && pilot.options.playFor && world->lives) {
        pilot.leaving = 0;
        pilot.gameOverTap = 0;
        pilot.givingUp = 0;
    }
    int over = pilot.started && world->lives == 0;
    if (pilot.options.playFor && !pilot.leaving && !over) {
        if ((world->stageNumber >= GiveUpStage() && now - pilot.stageSeen >= pilot.options.giveUpAfter) ||
            now >= pilot.options.playFor)
            pilot.givingUp = 1;
    } else if (!pilot.options.playFor && !pilot.leaving && (world->stageNumber >= pilot.options.stages || over)) {
        pilot.leaving = over ? 2 : 1;
        for (int key = 0; key < PilotKeyCount; key++)
            Hold((PilotKey)key, 0);
        if (!over) {
            Command("down menu");
            Command("up menu");
        }
        // The game ends once the grace after the last death has run out.
        pilot.nextTap = now + (over ? 8000 : 1500);
    }
    if (pilot.options.playFor && !pilot.leaving && over) {
        pilot.leaving = 2;
        pilot.gamesOver++;
        for (int key = 0; key < PilotKeyCount; key++)
            Hold((PilotKey)key, 0);
        // A score that places nowhere goes straight to the Game Over screen.
        if (!HighScorePlace((int32_t)world->score))
            pilot.gameOverTap = sizeof GameOverTapTable / sizeof GameOverTapTable[0] - 1;
        pilot.nextTap = now + 8000;
    }
    if (!pilot.started || pilot.leaving) {
        AfterPlay(now);
        return;
    }
    // The frame routine has framesEnabled down while it runs, so the pilot
    // simply plays on every frame: menus and banners swallow or queue the keys.
    // It holds its fire when there is nothing to hit: a wave ends only once
    // the shots' trails have faded too.
    if (Steer(world)) {
        Command("down fire");
        Command("up fire");
    }
}

void PilotStart(const PilotOptions& options)
{
    pilot = {};
    pilot.options = options;
    pilot.nextTap = 4000;
    pilot.nextReport = options.reportEvery;
    for (int i = 0; i < 12; i++)
        lastShipX[i] = lastShipY[i] = 0;
}
