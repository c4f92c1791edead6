// The main menu, the game-over flow with its high-score steps and the button sound.
#include "gfx/particle.h"
#include "sound/cea_sound.h"
#include "platform/file.h"
#include "tests/headless_game.h"
#include "tests/sound/wave_file.h"
#include "ui/highscore.h"
#include "ui/menu.h"
#include "ui/nameentry.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace {

// One point inside "OK" of the name entry, "Exit" of the table and "Continue"
// of the Game Over screen alike.
const int okX = 60, okY = 285;

class FlowTest : public HeadlessGame {
protected:
    int Menu() { return RunMainMenu(world); }
    // Taps at the given points, then the game-over flow: how many taps it left waiting.
    int GameOver(uint32_t score, std::initializer_list<std::pair<int, int>> taps)
    {
        world->score = score;
        for (auto [x, y] : taps)
            Tap(x, y);
        RunGameOver(world);
        return TapsLeft();
    }
};

// The splash and the menu's fades are pinned by the golden runs, which all start with them.
TEST_F(FlowTest, MenuButtonsTheirEdgesAndAQuit)
{
    Tap(52, 106);    // below "New Game"
    Tap(184, 75);    // right of it
    Tap(51, 90);     // left of it
    Tap(183, 105);   // its last pixel
    EXPECT_EQ(Menu(), 0);
    EXPECT_EQ(TapsLeft(), 0);
    EXPECT_EQ(world->lives, 3u);   // a new game

    world->score = 4321;
    Tap(52, 119);    // "Resume Game" top left
    EXPECT_EQ(Menu(), 0);
    EXPECT_EQ(world->score, 4321u);   // the same game goes on
    EXPECT_EQ(TapsLeft(), 0);

    Tap(183, 192);   // "High Scores" bottom right
    Tap(okX, okY);   // the table's "Exit"
    Tap(100, 150);   // between buttons
    Tap(52, 204);    // "Exit Game"
    uint32_t start = HeadlessNow();
    EXPECT_EQ(Menu(), 1);
    EXPECT_GE(HeadlessNow() - start, 3000u);   // the closing screen is held
    EXPECT_EQ(TapsLeft(), 0);

    MessagePostQuit(0);   // a quit ends the menu at once, with no closing screen, and reaches the outer loop
    start = HeadlessNow();
    EXPECT_EQ(Menu(), 1);
    EXPECT_LT(HeadlessNow() - start, 3000u);
    Message message;
    EXPECT_EQ(MessageGet(&message), 0);
}

TEST_F(FlowTest, TheGameOverFlowAsksForANameOnlyWhenTheScorePlaces)
{
    const std::pair<int, int> ok = { okX, okY };
    // No place: the Game Over screen alone ("Continue" top left).
    EXPECT_EQ(GameOver(0, { { 50, 274 }, ok }), 1);
    EXPECT_EQ(FileBytes("Skyrend.dat"), std::vector<uint8_t>(240, 0));
    // A cancelled name entry skips the table; a quit in it stores nothing either.
    EXPECT_EQ(GameOver(700, { { 150, 280 }, ok, ok }), 1);
    EXPECT_EQ(FileBytes("Skyrend.dat"), std::vector<uint8_t>(240, 0));
    MessagePostQuit(0);
    EXPECT_EQ(EnterHighScore(world), 0);
    Message message;
    EXPECT_EQ(MessageGet(&message), 0);
    // A place goes through the name entry and the table: the golden game over.
    // Without a table the name is asked but not stored (damaged tables are the table's own tests).
    std::filesystem::remove("Skyrend.dat");
    EXPECT_EQ(GameOver(0, { ok, ok, ok }), 1);
    EXPECT_FALSE(std::filesystem::exists("Skyrend.dat"));
    Tap(okX, okY);   // nor is the table shown from the menu: no loop runs
    EXPECT_EQ(ShowHighScores(back, 1), 0);
    EXPECT_EQ(TapsLeft(), 1);
}

// The sound table: a damaged file and six missing are reported by name and stay silent.
TEST_F(FlowTest, SoundsLoadOrAreReportedAndMenuTableAndNameEntryEndWithTheButtonSound)
{
    // A button sound long enough to be still playing when the checks run.
    std::filesystem::path sounds = folder / "program" / "sounds";
    std::filesystem::create_directories(sounds);
    WriteFile((sounds / "button.wav").c_str(), Wav(1, 1, 22050, 8, std::vector<uint8_t>(22050 * 60, 140)));
    WriteFile((sounds / "die.wav").c_str(), Wav(1, 1, 22050, 8, std::vector<uint8_t>(500, 180)));
    WriteFile((sounds / "metal.wav").c_str(), { 'R', 'I', 'F', 'F' });
    HeadlessSetModuleFileName((folder / "program" / "space-shooter").wstring().c_str());
    LoadSounds();
    std::vector<std::string> expected;
    for (const char* name : { "fire", "homer", "powerup", "click", "airraid", "metal" })
        expected.push_back(std::string("File Missing: sounds\\") + name + ".wav");
    EXPECT_EQ(HeadlessBoxes(), expected);
    EXPECT_EQ(SoundTableEntry(SoundDie)->length, 500u);
    PlayEffect(SoundFire);
    PlayEffect(SoundDie);
    PlayEffect(99);
    EXPECT_EQ(SoundTableEntry(SoundFire)->playCount, 0u);
    EXPECT_EQ(SoundTableEntry(SoundDie)->playCount, 1u);
    const Sound* button = SoundTableEntry(SoundButton);
    ASSERT_TRUE(button && button->data);

    Tap(118, 177);   // "High Scores"
    Tap(okX, okY);   // its "Exit"
    Tap(118, 134);   // "Resume Game"
    Menu();
    EXPECT_EQ(button->playCount, 3u);   // each menu choice and the table's end

    char name[13] = {};
    Tap(okX, okY);
    EnterName(back, name);
    EXPECT_EQ(button->playCount, 4u);

    Tap(okX, okY);
    ShowGameOverScreen(world);   // silent
    EXPECT_EQ(button->playCount, 4u);
    UnloadSounds();   // ends the playing voice before freeing its data
    EXPECT_EQ(SoundTableEntry(SoundButton), nullptr);
    MixerClose();
}

}  // namespace
