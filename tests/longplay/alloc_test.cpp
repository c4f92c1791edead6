// Long play under the autopilot, game after game: frames leave the heap alone across waves, bosses, stages and
// deaths, and every frame of play shows the stage's scrolling background.
#include "app/entry.h"
#include "game/world.h"
#include "platform/headless.h"
#include "platform/headless_wave.h"
#include "platform/sys.h"
#include "tests/heap_count.h"
#include "tools/autopilot/pilot.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>

namespace {

namespace fs = std::filesystem;

// What the frames between two presents did, by what they may allocate.
enum FrameKind { FrameNormal, FrameWaveStart, FrameBoss, FrameWaveStartBoss, FrameStageChange };

struct FrameRecord {
    uint32_t frame, tick;
    long heapCalls;
    FrameKind kind;
    int background;   // the stage's layers shown at the scroll the frame drew them at
};

// A stage's new look is loaded in the middle of its intro, frames before the
// stage number moves on: frames are judged once this many more have passed.
enum { PendingFrames = 32, GameStartFrames = 60 };

struct FrameTally {
    int normal, waveStarts, bossFrames, stageChanges, deaths;
    long mostAtAWaveStart;
    int failures;
    std::string firstFailures;
    FrameRecord pending[PendingFrames];
    int pendingCount;
    // The world as the previous present left it.
    int playing, boss, playingFor;
    uint32_t wave, stage, lives;
};

FrameTally tally;

void Judge(const FrameRecord& record)
{
    static const long allowedTable[] = { 0, 1, 1, 2, -1 };
    static const char* const whatTable[] = { "a normal frame", "a wave start allocates its path alone",
                                             "a boss frame allocates its working image alone",
                                             "a boss's wave start: its path and its working image", "" };
    switch (record.kind) {
    case FrameNormal: tally.normal++; break;
    case FrameWaveStart:
        tally.waveStarts++;
        tally.mostAtAWaveStart = std::max(tally.mostAtAWaveStart, record.heapCalls);
        break;
    case FrameWaveStartBoss: tally.waveStarts++; break;
    case FrameBoss: tally.bossFrames++; break;
    case FrameStageChange: return;
    }
    int heapOk = record.heapCalls <= allowedTable[record.kind];
    if ((heapOk && record.background) || ++tally.failures > 10)
        return;
    char line[160];
    if (!heapOk)
        snprintf(line, sizeof line, "frame %u, tick %u: %ld heap calls (%s)\n", record.frame, record.tick,
                 record.heapCalls, whatTable[record.kind]);
    else
        snprintf(line, sizeof line, "frame %u, tick %u: the background is not the stage's, scrolled on\n",
                 record.frame, record.tick);
    tally.firstFailures += line;
}

// Whether the frame in the back buffer shows the stage's two layers as the
// composition draws them at the scroll before this frame's step (glows and
// ships may cover part of it). A frame left undrawn, or drawn without
// scrolling on, keeps the picture before it and matches hardly anywhere.
int BackgroundShown(const GameWorld* world)
{
    const Parallax* p = &world->parallax;
    if (!p->back.pixels || !p->front.pixels || p->backPeriod <= 0 || p->frontPeriod <= 0)
        return 0;
    auto before = [](int32_t offset, int32_t speed, int32_t period) {
        return ((offset - speed) % period + period) % period;
    };
    const uint16_t* back = p->back.pixels + before(p->backOffset, p->backSpeed, p->backPeriod) * 240;
    const uint16_t* front = p->front.pixels + before(p->frontOffset, p->frontSpeed, p->frontPeriod) * 240;
    const uint16_t* shown = world->backBuffer.pixels;
    int samples = 0, matches = 0;
    for (int y = 16; y < 284; y += 8) {   // clear of the display's score and weapon bar
        for (int x = 4; x < 240; x += 8, samples++) {
            int i = y * 240 + x;
            matches += shown[i] == (uint16_t)(back[i] + front[i]);
        }
    }
    return matches * 5 >= samples * 2;   // long runs match three in five at the least; a smeared frame, hardly one
}

void Push(const FrameRecord& record)
{
    if (tally.pendingCount == PendingFrames) {
        Judge(tally.pending[0]);
        std::copy(tally.pending + 1, tally.pending + PendingFrames, tally.pending);
        tally.pendingCount--;
    }
    tally.pending[tally.pendingCount++] = record;
}

// After every present: sort the frame just run by what it did, let the pilot
// play (its own heap calls are not the game's), and count the next one.
void OnFrame(void*)
{
    counting = false;
    const GameWorld* world = &gameWorld;
    int playing = PilotPlaying();
    tally.playingFor = playing ? tally.playingFor + 1 : 0;
    // A game's first frames fade the menu out and show its banner over a copy of it.
    if (tally.playing && playing && tally.playingFor > GameStartFrames) {
        int waveStart = world->waveIndex != tally.wave, boss = world->bossActive || tally.boss;
        FrameKind kind = waveStart ? (boss ? FrameWaveStartBoss : FrameWaveStart) : boss ? FrameBoss : FrameNormal;
        Push({ HeadlessFramesPresented(), HeadlessNow(), allocations, kind, BackgroundShown(world) });
        if (world->stageNumber != tally.stage) {
            tally.stageChanges++;
            for (int i = 0; i < tally.pendingCount; i++)
                tally.pending[i].kind = FrameStageChange;
        }
        tally.deaths += world->lives < tally.lives;
    }
    tally.playing = playing;
    tally.boss = world->bossActive;
    tally.wave = world->waveIndex;
    tally.stage = world->stageNumber;
    tally.lives = world->lives;
    PilotOnFrame(nullptr);
    allocations = 0;
    counting = true;
}

TEST(LongPlay, FramesLeaveTheHeapAloneAndShowTheStageScrolling)
{
    fs::path folder = fs::path(::testing::TempDir()) / "longplay";
    fs::remove_all(folder);
    fs::create_directories(folder);
    fs::path started = fs::current_path();
    fs::current_path(folder);
    HeadlessReset();
    HeadlessSetInstanceScope(folder.string());
    std::wstring program = fs::path(SS_BUILD_DIR "/space-shooter").wstring();
    HeadlessSetModuleFileName(program.c_str());
    HeadlessSetAudioCapture(0);

    // Twenty-five virtual minutes: some thirty thousand frames over several games.
    PilotOptions options;
    options.playFor = 25 * 60 * 1000;
    PilotStart(options);
    HeadlessSetTimeLimit(options.playFor + 30 * 60 * 1000);
    tally = {};
    HeadlessSetPresentHook(OnFrame, nullptr);
    WinMain(SysModule(), nullptr, "", 1);
    counting = false;
    HeadlessSetPresentHook(nullptr, nullptr);
    for (int i = 0; i < tally.pendingCount; i++)
        Judge(tally.pending[i]);
    HeadlessAudioReset();
    fs::current_path(started);

    EXPECT_EQ(tally.failures, 0) << tally.firstFailures;
    EXPECT_GE(PilotGamesOver(), 3u);
    EXPECT_GT(tally.normal, 15000);
    EXPECT_GT(tally.waveStarts, 30);
    EXPECT_EQ(tally.mostAtAWaveStart, 1);   // the counter sees the path buffer
    EXPECT_GT(tally.bossFrames, 500);
    EXPECT_GT(tally.stageChanges, 2);
    EXPECT_GT(tally.deaths, 6);
}

}  // namespace
