// The course of a game: the wave schedule over the whole table, stage changes, the frame routines' order and game
// over. The banners' frames, the display over the ship and the wave's wait for the smoke are pinned by the golden
// replays.
#include "game/boss.h"
#include "game/player.h"
#include "gfx/bitmap.h"
#include "sound/cea_sound.h"
#include "tests/game/play.h"
#include "tests/heap_count.h"   // the heap wrappers game_tests links with; long play counts the heap calls

#include <algorithm>
#include <cstring>
#include <functional>

namespace {

class GameLoopTest : public HeadlessGame {
protected:
    void SetUp() override
    {
        HeadlessGame::SetUp();
        NewGame(world);
        world->framesEnabled = 1;
    }
    // Lets the wave in play end, as when its last ship is destroyed and the smoke has cleared.
    void EndWave()
    {
        world->enemiesAlive = world->enemiesLeft = 0;
        world->bossActive = 0;
        ParticleSystemClear(&particleSystem);
    }

    // The turret bitmap now in use, by comparing it with each stage's.
    int TurretStage()
    {
        for (int row = 0; row < 6; row++) {
            Surface expected;
            LoadBitmapResource(&expected, moduleHandle, StageTable[row].turretBitmap);
            if (expected.width == turretImage.width && expected.height == turretImage.height &&
                !memcmp(expected.pixels, turretImage.pixels, (size_t)expected.width * expected.height * 2))
                return row;
        }
        return -1;
    }
};

TEST_F(GameLoopTest, ANewGameKeepsWhatItDoesNotSetAnew)
{
    // What a game left behind: the third stage's turrets, the ship half seen after its last loss, a boss met, a
    // ship shot down, a shot just fired, the menu's smoke and a sound still playing.
    LoadBitmapResource(&turretImage, moduleHandle, StageTable[2].turretBitmap);
    world->lastDeathTick = 1234;
    world->lastFireTick = 777;
    SurfaceSetAlpha(&gunImage, 128);
    ScheduleWave(world, 8);
    world->partHits[0] = 2;
    world->enemies[0].vx = 4.0f;
    const ParticleKind smoke = { 0, 9.0f };
    SetParticleKind(&particleSystem, 1, &smoke);
    std::vector<uint8_t> samples(22050, 128);
    Sound sound = {};
    WaveFormat format = { WAVE_FORMAT_PCM, 1, 22050, 22050, 1, 8, 0 };
    ASSERT_EQ(SetSamples(&sound, &format, samples.data(), (uint32_t)samples.size()), 1);
    SoundPlay(&sound, 1);
    const std::pair<const char*, std::function<long()>> carried[] = {
        { "the time of the last loss", [&] { return (long)world->lastDeathTick; } },
        { "the time of the last shot", [&] { return (long)world->lastFireTick; } },
        { "the ship's transparency", [&] { return (long)gunImage.alpha; } },
        { "the turret picture", [&] { return (long)TurretStage(); } },
        { "the boss", [&] { return world->boss.active * 1000L + world->boss.hits * 100 + world->partHits[0]; } },
        { "a released ship's velocity", [&] { return (long)world->enemies[0].vx; } },
        { "the particle kinds", [&] { return (long)particleSystem.kinds[1].lifetime; } },
        { "a sound still playing", [&] { return (long)sound.playCount; } },
    };
    const long left[] = { 1234, 777, 128, 2, 1502, 4, 9, 1 };
    NewGame(world);
    for (int i = 0; i < 8; i++)
        EXPECT_EQ(carried[i].second(), left[i]) << carried[i].first;
    SoundDestroy(&sound);
    MixerClose();
}

TEST_F(GameLoopTest, ANewGameAfterAGameOverInAnyStageScrollsItsFirstStage)
{
    // The offsets a game over in each stage row leaves at their largest, one frame into the new game's first
    // stage (periods 100 and 128, speeds -1 and +1): the speed added and one period taken off.
    const int32_t table[6][3] = { { 0, 98, 0 }, { 1, 98, 0 }, { 2, 6, 0 }, { 3, 26, 96 }, { 4, 94, 0 }, { 5, 26, 0 } };
    for (const auto& [row, backAfter, frontAfter] : table) {
        SCOPED_TRACE(row);
        StageIntro(world, row);
        Parallax* parallax = &world->parallax;
        world->lives = 0;
        world->lastDeathTick = SysTicks() - 6000;
        ASSERT_EQ(RunGameFrame(world), 0);
        parallax->backOffset = parallax->backPeriod - 1;
        parallax->frontOffset = parallax->frontPeriod - 1;
        NewGame(world);
        // Each frame composes a background (the layers' sum never comes out white) and moves it on.
        std::vector<uint16_t> last;
        for (int frame = 0; frame < 3; frame++) {
            SurfaceClear(back, 0xFFFF);
            ASSERT_EQ(RunGameFrame(world), 1);
            if (frame == 0) {
                EXPECT_EQ(parallax->backOffset * 1000 + parallax->frontOffset, backAfter * 1000 + frontAfter);
            }
            std::vector<uint16_t> strip;
            for (int y = 20; y < 280; y++)   // below the score, left of the ship
                strip.insert(strip.end(), back->pixels + y * 240, back->pixels + y * 240 + 40);
            EXPECT_EQ(std::count(strip.begin(), strip.end(), 0xFFFF), 0) << frame;
            EXPECT_TRUE(strip != last) << frame;
            last = strip;
        }
    }
}

TEST_F(GameLoopTest, TheWholeTableIsPlayedInOrderAndThenAgainHarder)
{
    // Five rows a stage, the break row run inside the schedule: 24 waves a pass. Bosses on rows 3, 8, 13,
    // 18, 23, 28, of kinds 0, 1, 2, 3, 2, 1; the break rows select stage rows 1, 2, 3, 4, 5, 0, each
    // stage showing its own turret.
    const uint32_t rows[] = { 0, 1, 2, 3, 5, 6, 7, 8, 10, 11, 12, 13, 15, 16, 17, 18,
                              20, 21, 22, 23, 25, 26, 27, 28, 0, 1, 2, 3, 5, 6, 7, 8 };
    const uint32_t bossKinds[] = { 0, 1, 2, 3, 2, 1, 0, 1 };
    const int stageRows[] = { 0, 1, 2, 3, 4, 5, 0, 1 };
    for (uint32_t i = 0; i < 32; i++) {
        SCOPED_TRACE(i);
        EXPECT_EQ(world->waveIndex, rows[i]);
        EXPECT_EQ(world->loopCount, i < 24 ? 1u : 2u);
        EXPECT_EQ(world->stageNumber, i / 4);
        EXPECT_EQ(world->bossActive, (uint32_t)(i % 4 == 3));
        if (i % 4 == 3) {
            EXPECT_EQ(world->bossKind, bossKinds[i / 4]);
            EXPECT_EQ(world->boss.image, BossTable[bossKinds[i / 4]].image);   // set afresh for each boss
        }
        EXPECT_EQ(TurretStage(), stageRows[i / 4]);
        EndWave();
        RunGameFrame(world);
    }

    // Past the table the schedule fails. The last row is a stage change to row 0, and the row after it
    // is past the end.
    EXPECT_EQ(ScheduleWave(world, 30), 0);
    ScheduleWave(world, 26);
    uint32_t stage = world->stageNumber;
    EXPECT_EQ(ScheduleWave(world, 29), 0);
    EXPECT_EQ(world->stageNumber, stage + 1);
    EXPECT_EQ(TurretStage(), 0);
    EXPECT_EQ(world->waveIndex, 26u);
}

// The pixel of an image at its centre, where an entity's centre is drawn.
static uint16_t CentrePixel(const Surface* image)
{
    return image->pixels[(image->height + 1) / 2 * image->width + (image->width + 1) / 2];
}

TEST_F(GameLoopTest, TurretsLieUnderTheShipInNormalFramesAndOverItInBossFrames)
{
    ASSERT_NE(CentrePixel(&turretImage), CentrePixel(&gunImage));
    world->lastDeathTick = SysTicks() - 10000;   // out of grace: the ship is drawn solid
    Entity* turret = &world->turrets[0];
    for (int boss = 0; boss < 2; boss++) {
        if (boss)
            ScheduleWave(world, 3);
        EntitySetPosition(&world->player, 120, 250);
        world->player.vx = world->player.vy = 0;
        EntityActivate(turret, 1);
        EntitySetPosition(turret, 120, 250);
        turret->hits = 2;   // silenced: no blinking light over it
        RunGameFrame(world);
        EXPECT_EQ(Screen()[250 * 240 + 120], CentrePixel(boss ? &turretImage : &gunImage)) << boss;
    }
}

// The grace period, and a normal frame's end of the game, show in the golden replays; a boss frame's end does not.
TEST_F(GameLoopTest, LosingTheLastShipInABossFrameEndsTheGameOnlyAfterTheGracePeriod)
{
    ScheduleWave(world, 3);
    world->lives = 0;
    world->player.active = 0;
    world->lastDeathTick = SysTicks();
    SysSleep(5000);
    EXPECT_EQ(RunGameFrame(world), 1);
    SysSleep(1);
    EXPECT_EQ(RunGameFrame(world), 0);
}

}  // namespace
