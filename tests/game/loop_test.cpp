// The course of a game: the wave schedule over the whole table, stage changes and their banners, the frame
// routines' order, the end of a wave, game over, and the heap left alone by play.
#include "game/boss.h"
#include "game/player.h"
#include "gfx/bitmap.h"
#include "sound/cea_sound.h"
#include "tests/game/play.h"
#include "tests/heap_count.h"

#include <algorithm>
#include <cstring>
#include <functional>

namespace {

class GameLoopTest : public HeadlessGame {
protected:
    std::vector<std::vector<uint16_t>> presented;   // every frame shown, when recording
    bool recording = false;

    void SetUp() override
    {
        HeadlessGame::SetUp();
        HeadlessSetPresentHook(OnPresent, this);
        NewGame(world);
        world->framesEnabled = 1;
    }
    static void OnPresent(void* context)
    {
        GameLoopTest* test = (GameLoopTest*)context;
        if (test->recording)
            test->presented.push_back(Screen());
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

    static long CountColour(const std::vector<uint16_t>& frame, int y0, int y1, uint16_t colour)
    {
        return std::count(frame.begin() + y0 * 240, frame.begin() + y1 * 240, colour);
    }

    // Mean of red + green + blue over a patch of sky clear of the ship and the display.
    static double Brightness(const std::vector<uint16_t>& frame)
    {
        double sum = 0;
        for (int i = 40 * 240; i < 120 * 240; i++) {
            int r, g, b;
            SplitColour(frame[i], &r, &g, &b);
            sum += r + g + b;
        }
        return sum / (80 * 240);
    }
};

TEST_F(GameLoopTest, ANewGameStartsWaveZeroOnStageZeroAndTheBossWavesSetTheBossUp)
{
    world->score = 99;
    NewGame(world);
    EXPECT_EQ((std::vector<long>{ world->score, world->lives, world->weaponLevel, world->loopCount, world->waveIndex,
                                  world->enemiesLeft, world->spawnInterval, world->turretInterval, world->player.active,
                                  world->player.x, world->player.y, world->parallax.frontSpeed, world->bossActive }),
              (std::vector<long>{ 0, 3, 2, 1, 0, 8, 5, 1000, 1, 120, 270, 1, 0 }));

    ScheduleWave(world, 8);
    const BossDef& def = BossTable[1];
    EXPECT_EQ((std::vector<long>{ world->bossActive, world->bossDestroyed, world->bossKind, world->enemiesLeft,
                                  world->boss.active, world->boss.hits, world->boss.step, world->boss.x }),
              (std::vector<long>{ 1, 0, 1, 0, 1, 5, 1, world->path.points[0].x }));   // on the path's first point
    EXPECT_EQ(world->boss.image, def.image);
    for (int k = 0; k < def.partCount; k++)
        EXPECT_EQ(world->partHits[k], 5);
    ScheduleWave(world, 10);
    EXPECT_EQ(world->bossActive, 0u);
}

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

TEST_F(GameLoopTest, AStageChangeDarkensLoadsTheLookAndBlinksItsBanner)
{
    recording = true;
    uint32_t start = HeadlessNow();
    StageIntro(world, 1);
    recording = false;
    ASSERT_EQ(presented.size(), 122u);
    EXPECT_GE(HeadlessNow() - start, 122u * 50);   // each frame rests out its 50 ms
    EXPECT_EQ(world->stageNumber, 1u);
    EXPECT_EQ(TurretStage(), 1);
    EXPECT_EQ(world->parallax.frontSpeed, -3);
    EXPECT_EQ(world->framesEnabled, 1u);

    // Levels 0 to 250 darken frame by frame, 255 is black, then it brightens again.
    for (int i = 1; i < 22; i++) {
        double now = Brightness(presented[i]), before = Brightness(presented[i - 1]);
        EXPECT_TRUE(i < 11 ? now < before : i == 11 ? now == 0.0 : now > before) << i;
    }
    EXPECT_GT(Brightness(presented[0]), 8 * Brightness(presented[10]));

    // The banner's texts: "Get Ready" in yellow at y 140, "Stage 2" in white at 160,
    // in banner frames 8-15, 24-31 and 40-47 only.
    for (int frame = 0; frame < 100; frame++) {
        bool shown = frame < 50 && (frame / 8) % 2 == 1;
        EXPECT_EQ(CountColour(presented[22 + frame], 140, 158, MakeColour(255, 255, 0)) > 40, shown) << frame;
    }
}

TEST_F(GameLoopTest, TheStartBannerFadesTheMenuIntoTheStage)
{
    uint16_t blue = MakeColour(0, 0, 255), yellow = MakeColour(255, 255, 0);
    SurfaceClear(back, blue);   // what the menu left
    recording = true;
    GameStartBanner(world);
    recording = false;
    ASSERT_EQ(presented.size(), 30u + 11u + 100u);
    // The old picture stays for 30 frames, the texts over it from the 17th.
    EXPECT_EQ(CountColour(presented[0], 0, 320, blue), 240 * 320);
    EXPECT_EQ(CountColour(presented[15], 140, 158, yellow), 0);
    EXPECT_GT(CountColour(presented[16], 140, 158, yellow), 40);
    // Then it fades out over the stage, and the texts stay for 50 frames.
    EXPECT_GT(CountColour(presented[30], 40, 120, blue), 0);
    EXPECT_EQ(CountColour(presented[40], 40, 120, blue), 0);
    EXPECT_GT(CountColour(presented[41 + 49], 140, 158, yellow), 40);
    EXPECT_EQ(CountColour(presented[41 + 50], 140, 158, yellow), 0);
}

TEST_F(GameLoopTest, TheDisplayIsDrawnOverTheShip)
{
    world->player.y = 310;
    world->player.vx = world->player.vy = 0;
    RunGameFrame(world);
    std::vector<uint16_t> frame = Screen();
    // The weapon bar lies over the ship's middle: its black frame and an unlit grey segment.
    EXPECT_EQ(frame[309 * 240 + 120], MakeColour(0, 0, 0));
    EXPECT_EQ(frame[315 * 240 + 120], MakeColour(0, 0, 0));
    EXPECT_EQ(frame[312 * 240 + 120], MakeColour(128, 128, 128));
    EXPECT_EQ(frame[312 * 240 + 25], MakeColour(0, 255, 0));
    EXPECT_NE(frame[305 * 240 + 120], frame[305 * 240 + 20]);   // above the bar the ship is seen
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

TEST_F(GameLoopTest, LosingTheLastShipEndsTheGameOnlyAfterTheGracePeriod)
{
    uint32_t frames = HeadlessFramesPresented();
    world->lives = 0;
    world->player.active = 0;
    world->lastDeathTick = SysTicks();
    SysSleep(4000);
    EXPECT_EQ(RunGameFrame(world), 1);
    EXPECT_EQ(world->player.image->alpha, 128);
    SysSleep(1000);   // 5000 ms: still in grace
    EXPECT_EQ(RunGameFrame(world), 1);
    SysSleep(1);
    EXPECT_EQ(RunGameFrame(world), 0);
    EXPECT_EQ(HeadlessFramesPresented(), frames + 2);   // nothing more of that frame is shown
    ScheduleWave(world, 3);   // a boss frame ends the game the same way
    EXPECT_EQ(RunGameFrame(world), 0);
    // With a ship left, the grace period only ends the transparency.
    world->lives = 1;
    EXPECT_EQ(RunGameFrame(world), 1);
    EXPECT_EQ(world->player.image->alpha, 255);
}

TEST_F(GameLoopTest, AWaveWaitsForTheSmokeToClear)
{
    // Six live particles are 1 percent: the wave waits (the frame ages them, they stay alive); five are 0.
    for (auto [particles, wave] : { std::pair{ 6, 0u }, { 5, 1u } }) {
        world->enemiesAlive = world->enemiesLeft = 0;
        ParticleSystemClear(&particleSystem);
        for (int i = 0; i < particles; i++)
            SpawnParticle(&particleSystem, 0, 120, 100, 0, 0, 0, 0, 0, 0);
        RunGameFrame(world);
        EXPECT_EQ(world->waveIndex, wave);
    }
}

TEST_F(GameLoopTest, NormalFramesLeaveTheHeapAlone)
{
    // Play on through wave starts, a boss wave and a stage change, counting heap calls frame by frame.
    PlayEffect(SoundButton);   // the first sound starts the mixer, as the menu's button does before play
    int waveStarts = 0, bossFrames = 0, quietFrames = 0;
    long mostAtAWaveStart = 0;
    for (int frame = 0; frame < 600; frame++) {
        if (frame % 60 == 59)
            EndWave();
        uint32_t wave = world->waveIndex, stage = world->stageNumber;
        int boss = world->bossActive;
        allocations = 0;
        counting = true;
        if (frame % 3 == 0)
            FireControl(world);   // shots, hits, explosions and their sounds
        RunGameFrame(world);
        counting = false;
        SysSleep(50);   // the timer's period, on the machine's clock
        if (world->stageNumber != stage)
            continue;   // a stage change loads the new look
        if (world->waveIndex != wave) {
            EXPECT_LE(allocations, 1) << "a wave start allocates only its path, frame " << frame;
            waveStarts++;
            mostAtAWaveStart = std::max(mostAtAWaveStart, allocations);
        } else if (boss) {
            EXPECT_LE(allocations, 1) << "a boss frame allocates only its working image, frame " << frame;
            bossFrames++;
        } else {
            EXPECT_EQ(allocations, 0) << "frame " << frame;
            quietFrames++;
        }
    }
    EXPECT_GT(waveStarts, 5);
    EXPECT_EQ(mostAtAWaveStart, 1);   // the counter sees the path buffer
    EXPECT_GT(world->score, 0u);      // shots hit: explosions and their sounds were counted too
    EXPECT_GT(bossFrames, 50);
    EXPECT_GT(quietFrames, 300);
}

}  // namespace
