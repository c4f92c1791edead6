// The high-score table: its rules and its file (missing, malformed, replaced safely through a crash).
#include "platform/file.h"
#include "tests/headless_game.h"
#include "ui/highscore.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstring>

namespace {

using Bytes = std::vector<uint8_t>;

// Twelve records named A, B, ... scored from first down by step.
Bytes Table(int32_t first, int32_t step)
{
    Bytes table(HighScoreCount * HighScoreRecordSize, 0);
    for (int i = 0; i < HighScoreCount; i++) {
        table[i * HighScoreRecordSize] = (uint8_t)('A' + i);
        int32_t score = first - step * i;
        memcpy(&table[i * HighScoreRecordSize + 16], &score, 4);
    }
    return table;
}

// No program: only a folder of its own.
class TableTest : public HeadlessGame {
protected:
    void SetUp() override { folder = EnterOwnFolder(); }

    std::vector<HighScoreEntry> Read(int expectOpened = 1)
    {
        std::vector<HighScoreEntry> table(HighScoreCount);
        EXPECT_EQ(HighScoreRead(table.data()), expectOpened);
        return table;
    }
    std::string Names()
    {
        std::string names;
        for (const HighScoreEntry& entry : Read())
            names += std::string(entry.name) + ",";
        return names;
    }
};

TEST_F(TableTest, EqualScoresStayBelowOnePointMorePushesTheLastOut)
{
    // A fresh table and its first record are pinned by the golden game over.
    ASSERT_EQ(HighScoreCreateFile(), 1);
    EXPECT_EQ(HighScorePlace(0), 0);
    EXPECT_EQ(HighScoreInsert("ACE", 1500), 1);
    EXPECT_FALSE(std::filesystem::exists("hscore.tmp"));
    Bytes kept = FileBytes("Skyrend.dat");   // an existing table is kept as it is
    EXPECT_EQ(HighScoreCreateFile(), 1);
    EXPECT_EQ(FileBytes("Skyrend.dat"), kept);

    WriteFile("Skyrend.dat", Table(1200, 100));   // A 1200 ... L 100
    EXPECT_EQ(HighScorePlace(100), 0);
    EXPECT_EQ(HighScoreInsert("TIE", 100), 0);
    EXPECT_EQ(FileBytes("Skyrend.dat"), Table(1200, 100));
    EXPECT_EQ(HighScoreInsert("NEW", 101), 12);
    EXPECT_EQ(Names(), "A,B,C,D,E,F,G,H,I,J,K,NEW,");
    EXPECT_EQ(Read()[11].score, 101);
    EXPECT_EQ(HighScorePlace(1000), 4);   // the older 1000 stays above
    EXPECT_EQ(HighScoreInsert("MID", 1000), 4);
    EXPECT_EQ(Names(), "A,B,C,MID,D,E,F,G,H,I,J,K,");
}

// The rows as the screen shows them are pinned by the golden game over.
TEST_F(TableTest, MissingMalformedAndLeftOverFiles)
{
    EXPECT_EQ(HighScorePlace(0), 1);   // no table: every score counts as first, and nothing is stored
    EXPECT_EQ(HighScoreInsert("X", 10), 0);
    EXPECT_FALSE(std::filesystem::exists("Skyrend.dat") || std::filesystem::exists("hscore.tmp"));
    EXPECT_STREQ(Read(0)[5].name, "");

    WriteFile("Skyrend.dat", Table(1200, 100));   // the temporary cannot be made: the table stays
    std::filesystem::create_directory("hscore.tmp");
    EXPECT_EQ(HighScoreInsert("X", 5000), 0);
    EXPECT_EQ(FileBytes("Skyrend.dat"), Table(1200, 100));
    std::filesystem::remove("hscore.tmp");
    WriteFile("hscore.tmp", Bytes(100, 0xEE));   // a crash's half-written temporary is removed at start-up, unread
    EXPECT_EQ(HighScoreCreateFile(), 1);
    EXPECT_FALSE(std::filesystem::exists("hscore.tmp"));
    EXPECT_EQ(FileBytes("Skyrend.dat"), Table(1200, 100));

    // Empty, short (ending inside the third record) or long: read as far as they go, written whole.
    Bytes shortTable = Table(1200, 100), longTable = Table(1200, 100);
    shortTable.resize(50);
    longTable.resize(300, 0x55);
    for (auto [file, place] : { std::pair{ Bytes(), 1 }, { shortTable, 3 }, { longTable, 12 } }) {
        WriteFile("Skyrend.dat", file);
        EXPECT_EQ(HighScorePlace(101), place) << file.size();
        EXPECT_EQ(Read()[place - 1].score, place == 12 ? 100 : 0);   // the missing records are empty
        EXPECT_EQ(HighScoreInsert("N", 101), place);
        EXPECT_STREQ(Read()[place - 1].name, "N");
        EXPECT_EQ(FileBytes("Skyrend.dat").size(), 240u);
    }
    EXPECT_STREQ(Read()[1].name, "B");

    // Garbage: names without terminators, negative scores; the new record goes in once.
    Bytes garbage(240);
    for (size_t i = 0; i < garbage.size(); i++)
        garbage[i] = (uint8_t)(i * 167 + 0x9B);
    WriteFile("Skyrend.dat", garbage);
    std::vector<HighScoreEntry> table = Read();
    char row[64];
    for (int i = 0; i < HighScoreCount; i++) {
        EXPECT_LE(strlen(table[i].name), 16u);
        EXPECT_LT(HighScoreFormatRow(row, sizeof row, i + 1, table[i].name, table[i].score), 64);
    }
    int place = HighScorePlace(0);
    EXPECT_EQ(HighScoreInsert("G", 0), place);
    EXPECT_EQ(Names().find("G,") != std::string::npos, place != 0);
}

// The insertion cut off at each of its steps, in a child process: the table afterwards is the old one or
// the new one, byte for byte, and start-up then finds no temporary.
TEST_F(TableTest, ACrashAtAnyStepLeavesTheOldTableOrTheNew)
{
    const Bytes old = Table(1200, 100);
    WriteFile("Skyrend.dat", old);
    ASSERT_EQ(HighScoreInsert("NEW", 950), 4);
    const Bytes fresh = FileBytes("Skyrend.dat");
    ASSERT_NE(fresh, old);
    int crashes = 0, oldSeen = 0, newSeen = 0;
    for (int step = 1;; step++) {
        ASSERT_LT(step, 200) << "the insertion never completed";
        WriteFile("Skyrend.dat", old);
        fflush(nullptr);
        pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            FileSetCrashStep(step);
            _exit(HighScoreInsert("NEW", 950) == 4 ? 0 : 1);
        }
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        int code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
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

}  // namespace
