// The high-score table: its rules, its file (missing, malformed, replaced safely through a crash) and its screen.
#include "platform/file.h"
#include "screen_fixture.h"
#include "ui/highscore.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstring>

namespace {

using Bytes = std::vector<uint8_t>;

Bytes Record(const char* name, int32_t score)
{
    Bytes record(HighScoreRecordSize, 0);
    memcpy(record.data(), name, strlen(name));
    for (int i = 0; i < 4; i++)
        record[16 + i] = (uint8_t)((uint32_t)score >> 8 * i);
    return record;
}

// Twelve records named A, B, ... scored from first down by step.
Bytes Table(int32_t first, int32_t step)
{
    Bytes table;
    for (int i = 0; i < HighScoreCount; i++) {
        char name[2] = { (char)('A' + i), 0 };
        Bytes record = Record(name, first - step * i);
        table.insert(table.end(), record.begin(), record.end());
    }
    return table;
}

class TableTest : public ScreenTest {
protected:
    // No program: only a folder of its own.
    void SetUp() override
    {
        folder = std::filesystem::path(::testing::TempDir()) / "ui" / "table" /
                 ::testing::UnitTest::GetInstance()->current_test_info()->name();
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
        std::filesystem::current_path(folder);
    }
    void TearDown() override {}   // nothing was started

    std::vector<HighScoreEntry> Read(int expectOpened = 1)
    {
        std::vector<HighScoreEntry> table(HighScoreCount);
        EXPECT_EQ(HighScoreRead(table.data()), expectOpened);
        return table;
    }
};

TEST_F(TableTest, FreshFileTakesAnyScoreAtTheTop)
{
    ASSERT_EQ(HighScoreCreateFile(), 1);
    EXPECT_EQ(FileBytes("Skyrend.dat"), Bytes(240, 0));
    EXPECT_EQ(HighScorePlace(0), 0);
    EXPECT_EQ(HighScorePlace(1), 1);
    EXPECT_EQ(HighScoreInsert("ACE", 1500), 1);

    std::vector<HighScoreEntry> table = Read();
    EXPECT_STREQ(table[0].name, "ACE");
    EXPECT_EQ(table[0].score, 1500);
    for (int i = 1; i < HighScoreCount; i++) {
        EXPECT_STREQ(table[i].name, "");
        EXPECT_EQ(table[i].score, 0);
    }
    EXPECT_EQ(FileBytes("Skyrend.dat").size(), 240u);
    EXPECT_FALSE(std::filesystem::exists("hscore.tmp"));

    // An existing table is kept as it is.
    Bytes kept = FileBytes("Skyrend.dat");
    EXPECT_EQ(HighScoreCreateFile(), 1);
    EXPECT_EQ(FileBytes("Skyrend.dat"), kept);
}

TEST_F(TableTest, EqualScoresStayBelowOnePointMorePushesTheLastOut)
{
    WriteFile("Skyrend.dat", Table(1200, 100));   // A 1200 ... L 100
    EXPECT_EQ(HighScorePlace(100), 0);
    EXPECT_EQ(HighScoreInsert("TIE", 100), 0);
    EXPECT_EQ(FileBytes("Skyrend.dat"), Table(1200, 100));   // replaced, unchanged

    EXPECT_EQ(HighScorePlace(101), 12);
    EXPECT_EQ(HighScoreInsert("NEW", 101), 12);
    std::vector<HighScoreEntry> table = Read();
    EXPECT_STREQ(table[10].name, "K");
    EXPECT_STREQ(table[11].name, "NEW");
    EXPECT_EQ(table[11].score, 101);

    EXPECT_EQ(HighScorePlace(1000), 4);   // the older 1000 stays above
    EXPECT_EQ(HighScoreInsert("MID", 1000), 4);
    table = Read();
    EXPECT_STREQ(table[2].name, "C");
    EXPECT_STREQ(table[3].name, "MID");
    EXPECT_STREQ(table[4].name, "D");
    EXPECT_STREQ(table[11].name, "K");   // NEW dropped out
    EXPECT_EQ(FileBytes("Skyrend.dat").size(), 240u);

    EXPECT_EQ(HighScoreInsert("TOP", 5000), 1);
    EXPECT_STREQ(Read()[0].name, "TOP");
}

TEST_F(TableTest, RowsAndEmptyNames)
{
    char row[64];
    EXPECT_EQ(HighScoreFormatRow(row, sizeof row, 3, "ACE", 1500), 19);
    EXPECT_STREQ(row, " 3:ACE         1500");
    HighScoreFormatRow(row, sizeof row, 12, "", 0);
    EXPECT_STREQ(row, "12:Empty          0");

    ASSERT_EQ(HighScoreCreateFile(), 1);
    EXPECT_EQ(HighScoreInsert("", 50), 1);   // OK with no letters
    std::vector<HighScoreEntry> table = Read();
    EXPECT_STREQ(table[0].name, "");
    EXPECT_EQ(table[0].score, 50);
    HighScoreFormatRow(row, sizeof row, 1, table[0].name, table[0].score);
    EXPECT_STREQ(row, " 1:Empty         50");
}

TEST_F(TableTest, MissingFilesAndALeftOverTemporary)
{
    EXPECT_EQ(HighScorePlace(0), 1);   // no table: every score counts as first
    EXPECT_EQ(HighScoreInsert("X", 10), 0);
    EXPECT_FALSE(std::filesystem::exists("Skyrend.dat"));
    EXPECT_FALSE(std::filesystem::exists("hscore.tmp"));
    std::vector<HighScoreEntry> table = Read(0);
    EXPECT_STREQ(table[5].name, "");

    // The temporary cannot be made: the table stays.
    WriteFile("Skyrend.dat", Table(1200, 100));
    std::filesystem::create_directory("hscore.tmp");
    EXPECT_EQ(HighScoreInsert("X", 5000), 0);
    EXPECT_EQ(FileBytes("Skyrend.dat"), Table(1200, 100));
    std::filesystem::remove("hscore.tmp");

    // A half-written temporary from a crash is removed at start-up, never read.
    WriteFile("hscore.tmp", Bytes(100, 0xEE));
    EXPECT_EQ(HighScoreCreateFile(), 1);
    EXPECT_FALSE(std::filesystem::exists("hscore.tmp"));
    EXPECT_EQ(FileBytes("Skyrend.dat"), Table(1200, 100));
}

TEST_F(TableTest, MalformedFilesReadAsFarAsTheyGo)
{
    // Empty: every record empty.
    WriteFile("Skyrend.dat", {});
    EXPECT_EQ(HighScorePlace(0), 0);
    EXPECT_EQ(HighScorePlace(1), 1);
    EXPECT_EQ(Read()[0].score, 0);
    EXPECT_EQ(HighScoreInsert("E", 7), 1);
    EXPECT_EQ(FileBytes("Skyrend.dat").size(), 240u);
    EXPECT_STREQ(Read()[0].name, "E");

    // Short, ending inside the third record: that one and the rest are empty.
    Bytes shortTable = Table(1200, 100);
    shortTable.resize(50);
    WriteFile("Skyrend.dat", shortTable);
    EXPECT_EQ(HighScorePlace(1), 3);
    std::vector<HighScoreEntry> table = Read();
    EXPECT_STREQ(table[1].name, "B");
    EXPECT_STREQ(table[2].name, "");
    EXPECT_EQ(table[2].score, 0);
    EXPECT_EQ(HighScoreInsert("S", 1), 3);
    EXPECT_EQ(FileBytes("Skyrend.dat").size(), 240u);

    // Long: what follows the twelfth record is ignored, and dropped on insertion.
    Bytes longTable = Table(1200, 100);
    longTable.resize(300, 0x55);
    WriteFile("Skyrend.dat", longTable);
    EXPECT_EQ(HighScorePlace(101), 12);
    EXPECT_EQ(HighScoreInsert("L", 101), 12);
    EXPECT_EQ(FileBytes("Skyrend.dat").size(), 240u);

    // Garbage: names without terminators, negative scores; the new record goes in once.
    Bytes garbage(240);
    for (size_t i = 0; i < garbage.size(); i++)
        garbage[i] = (uint8_t)(i * 167 + 0x9B);
    WriteFile("Skyrend.dat", garbage);
    table = Read();
    for (const HighScoreEntry& entry : table)
        EXPECT_LE(strlen(entry.name), 16u);
    char row[64];
    for (int i = 0; i < HighScoreCount; i++)
        EXPECT_LT(HighScoreFormatRow(row, sizeof row, i + 1, table[i].name, table[i].score), 64);
    int place = HighScorePlace(0);
    EXPECT_EQ(HighScoreInsert("G", 0), place);
    int found = 0;
    for (const HighScoreEntry& entry : Read())
        found += strcmp(entry.name, "G") == 0;
    EXPECT_EQ(found, place ? 1 : 0);
}

// The insertion cut off at each of its steps, in a child process: the table
// afterwards is the old one or the new one, byte for byte, and start-up then
// finds no temporary.
TEST_F(TableTest, ACrashAtAnyStepLeavesTheOldTableOrTheNew)
{
    const Bytes old = Table(1200, 100);
    std::filesystem::create_directory("reference");
    std::filesystem::current_path("reference");
    WriteFile("Skyrend.dat", old);
    ASSERT_EQ(HighScoreInsert("NEW", 950), 4);
    const Bytes fresh = FileBytes("Skyrend.dat");
    std::filesystem::current_path("..");
    ASSERT_NE(fresh, old);

    int crashes = 0, oldSeen = 0, newSeen = 0;
    for (int step = 1;; step++) {
        ASSERT_LT(step, 200) << "the insertion never completed";
        WriteFile("Skyrend.dat", old);
        std::filesystem::remove("hscore.tmp");
        fflush(nullptr);
        pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            FileSetCrashStep(step);
            _exit(HighScoreInsert("NEW", 950) == 4 ? 0 : 1);
        }
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status));
        int code = WEXITSTATUS(status);
        ASSERT_TRUE(code == 0 || code == FileCrashExitCode) << "step " << step << " exit " << code;

        Bytes now = FileBytes("Skyrend.dat");
        EXPECT_TRUE(now == old || now == fresh) << "step " << step << ": " << now.size() << " bytes";
        oldSeen += now == old;
        newSeen += now == fresh;
        ASSERT_EQ(HighScoreCreateFile(), 1);
        EXPECT_FALSE(std::filesystem::exists("hscore.tmp"));
        EXPECT_EQ(FileBytes("Skyrend.dat"), now);
        if (code == 0) {
            EXPECT_EQ(now, fresh);
            break;
        }
        crashes++;
    }
    // Twelve writes with a point on each side, the flush and the rename.
    EXPECT_GE(crashes, 2 * HighScoreCount + 4);
    EXPECT_GT(oldSeen, 0);
    EXPECT_GT(newSeen, 1);
}

// The screen, on a started program.
class HighScoreScreenTest : public ScreenTest {
protected:
    // Pixels of colour in the band of row (1 to 12) of the table.
    int RowPixels(int row, uint16_t colour)
    {
        std::vector<uint16_t> screen = Screen();
        int n = 0;
        for (int y = 65 + 15 * (row - 1); y < 72 + 15 * (row - 1); y++)
            for (int x = 38; x < 240; x++)
                n += screen[y * 240 + x] == colour;
        return n;
    }
};

TEST_F(HighScoreScreenTest, TableWithItsHighlightUntilExit)
{
    ASSERT_EQ(HighScoreInsert("ACE", 1500), 1);
    uint16_t yellow = MakeColour(255, 255, 0), white = MakeColour(255, 255, 255);
    Tap(49, 290);     // just outside "Exit"
    Tap(182, 290);
    Tap(100, 304);
    Tap(181, 303);    // its last pixel
    EXPECT_EQ(ShowHighScores(back, 1), 1);
    EXPECT_EQ(TapsLeft(), 0);
    EXPECT_GT(RowPixels(1, yellow), 50);
    EXPECT_EQ(RowPixels(1, white), 0);
    for (int row = 2; row <= 12; row++) {
        EXPECT_EQ(RowPixels(row, yellow), 0) << row;
        EXPECT_GT(RowPixels(row, white), 50) << row;
    }

    Tap(50, 274);
    EXPECT_EQ(ShowHighScores(back, 13), 1);   // no row highlighted
    for (int row = 1; row <= 12; row++)
        EXPECT_EQ(RowPixels(row, yellow), 0) << row;
}

TEST_F(HighScoreScreenTest, MissingAndMalformedFiles)
{
    std::filesystem::remove("Skyrend.dat");
    Tap(100, 290);
    EXPECT_EQ(ShowHighScores(back, 1), 0);
    EXPECT_EQ(TapsLeft(), 1);   // no loop ran
    std::vector<uint16_t> screen = Screen();
    EXPECT_EQ(std::count(screen.begin(), screen.end(), 0), 240 * 320);   // left black

    for (const Bytes& file : { Bytes(), Bytes(30, 'Z'), Bytes(500, 0xFF) }) {
        WriteFile("Skyrend.dat", file);
        Tap(100, 290);
        EXPECT_EQ(ShowHighScores(back, 2), 1);
        EXPECT_GT(RowPixels(12, MakeColour(255, 255, 255)), 30);
    }
}

}  // namespace
