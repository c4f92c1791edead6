// Bosses: every row's parts cut out and replaced by their wreck, and row zero's fourth fire slot.
// The flight, the sparks and the wreck's rise of the first two rows are pinned by the golden runs.
#include "game/boss.h"
#include "tests/game/play.h"

namespace {

class BossTest : public PlayTest {
protected:
    const BossDef* def = nullptr;
    int bx = 0, by = 0;

    // Starts the boss wave of a row of the boss table, the boss centred at (x, y).
    void StartBoss(int row, int x = 120, int y = 100)
    {
        const int bossWaves[4] = { 3, 8, 13, 18 };
        ScheduleWave(world, bossWaves[row]);
        ClearPlay();
        ASSERT_EQ(world->bossKind, (uint32_t)row);
        ASSERT_EQ(world->bossActive, 1u);
        def = &BossTable[row];
        ASSERT_NE(def->damagedImage->pixels, nullptr);
        world->boss.x = (int16_t)x;
        world->boss.y = (int16_t)y;
        Origin();
    }
    void Origin()
    {
        bx = world->boss.x - def->image->width / 2;
        by = world->boss.y - def->image->height / 2;
    }
    std::vector<uint16_t> Drawn()
    {
        Blank();
        DrawBoss(world);
        return Back();
    }
    // Seeds the game's generator so that the first draw rolls the fire chance and the second picks slot k.
    static void FireSeed(int k)
    {
        unsigned seed = 1;
        while (Draws(seed, 2)[0] % 20 != 1 || Draws(seed, 2)[1] % 4 != k)
            seed++;
    }
};

TEST_F(BossTest, EachDestroyedPartIsCutOutAndItsWreckDrawnInItsPlace)
{
    for (int row = 0; row < 4; row++) {
        SCOPED_TRACE(row);
        StartBoss(row);
        const std::vector<uint16_t> intact = Drawn();
        EXPECT_GT(std::count_if(intact.begin(), intact.end(), [](uint16_t p) { return p != 0; }), 3000);
        const Surface* wreck = def->damagedImage;
        for (int k = 0; k < def->partCount; k++) {
            SCOPED_TRACE(k);
            world->partHits[k] = 1;   // a part with a hit point left looks whole
            EXPECT_EQ(Drawn(), intact);
            world->partHits[k] = 0;
            const std::vector<uint16_t> damaged = Drawn();
            world->partHits[k] = 5;
            const BossRect& r = def->damageRects[k];
            const BossRect& hit = def->hitRects[k];
            long changed = 0, changedOnHit = 0;
            for (int y = 0; y < 320; y++)
                for (int x = 0; x < 240; x++) {
                    int u = x - bx, v = y - by;
                    uint16_t got = damaged[y * 240 + x];
                    if (u >= r.left && u < r.right && v >= r.top && v < r.bottom && u < wreck->width && v < wreck->height) {
                        uint16_t w = wreck->pixels[v * wreck->width + u];
                        ASSERT_EQ(got, w != wreck->colourKey ? w : 0) << x << "," << y;
                        bool differs = got != intact[y * 240 + x];
                        changed += differs;
                        changedOnHit += differs && u >= hit.left && u < hit.right && v >= hit.top && v < hit.bottom;
                    } else {
                        ASSERT_EQ(got, intact[y * 240 + x]) << x << "," << y;
                    }
                }
            // The damage must show: most of the part's hit box looks different.
            EXPECT_GT(changedOnHit, (long)(hit.right - hit.left) * (hit.bottom - hit.top) / 2);
            EXPECT_GT(changed, changedOnHit);
        }
    }
    // Parts are cut anywhere on the screen's edge, the top-left off it.
    StartBoss(2, 20, 10);
    for (int k = 0; k < 4; k++)
        world->partHits[k] = 0;
    std::vector<uint16_t> edge = Drawn();
    EXPECT_GT(std::count_if(edge.begin(), edge.end(), [](uint16_t p) { return p != 0; }), 100);
}

// Fire from each standing part's centre, the silence of a destroyed part and a missed roll are pinned by the golden
// runs' bosses, a full pool by the enemy ships' test (the boss fires through FireEnemyShot).
TEST_F(BossTest, RowZeroHasThreePartsAndItsFourthSlotNeverFires)
{
    StartBoss(0);
    EXPECT_EQ(def->partCount, 3);
    world->partHits[3] = 5;   // left over from a four-part boss
    FireSeed(3);
    UpdateBoss(world);
    EXPECT_EQ(ActiveShots(), 0);
    FireSeed(2);
    UpdateBoss(world);
    EXPECT_EQ(ActiveShots(), 1);
}

}  // namespace
