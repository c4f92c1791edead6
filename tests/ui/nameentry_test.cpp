// Name entry: the letter patterns, the buttons and the name they spell, the glowing letter and its morph.
#include "gfx/particle.h"
#include "screen_fixture.h"
#include "ui/nameentry.h"

#include <cstring>

namespace {

// Points on the six buttons.
const int okX = 40, okY = 280, cancelX = 150, cancelY = 280;
const int nextX = 180, nextY = 120, previousX = 55, previousY = 120;
const int selectX = 80, selectY = 235, deleteX = 150, deleteY = 235;

TEST(LetterPatternTest, TwentySixLettersOfTwentyFourPoints)
{
    ASSERT_EQ(strlen(LetterPatternTable), (size_t)NameLetters * NameCells);
    for (int letter = 0; letter < NameLetters; letter++) {
        int points = 0;
        for (int cell = 0; cell < NameCells; cell++) {
            char c = LetterPatternTable[letter * NameCells + cell];
            ASSERT_TRUE(c == '*' || c == '$' || c == ' ') << (char)('A' + letter);
            points += c != ' ';
        }
        EXPECT_EQ(points, NamePoints) << (char)('A' + letter);
    }
    // Spot checks of rows: A's top, E's unlit points, Z's middle.
    EXPECT_EQ(std::string(LetterPatternTable, 5), " *** ");
    EXPECT_EQ(std::string(LetterPatternTable + 4 * NameCells + 15, 5), "*$   ");
    EXPECT_EQ(std::string(LetterPatternTable + 25 * NameCells + 20, 5), " *** ");
}

class NameEntryTest : public ScreenTest {
protected:
    char name[13] = {};

    int Run()
    {
        return EnterName(back, name);
    }
    int ActiveEffects()
    {
        int n = 0;
        for (const Emitter& emitter : particleSystem.emitters)
            n += emitter.active != 0;
        return n;
    }
};

TEST_F(NameEntryTest, SelectAddsAtMostEightLetters)
{
    for (int i = 0; i < 9; i++)
        Tap(selectX, selectY);
    Tap(okX, okY);
    EXPECT_EQ(Run(), NameEntryOk);
    EXPECT_STREQ(name, "AAAAAAAA");
}

TEST_F(NameEntryTest, TheAlphabetWrapsBothWays)
{
    Tap(previousX, previousY);   // A back to Z
    Tap(selectX, selectY);
    Tap(nextX, nextY);           // Z on to A
    Tap(selectX, selectY);
    Tap(nextX, nextY);
    Tap(nextX, nextY);
    Tap(selectX, selectY);
    Tap(okX, okY);
    EXPECT_EQ(Run(), NameEntryOk);
    EXPECT_STREQ(name, "ZAC");
}

TEST_F(NameEntryTest, DeleteCutsTheLastLetterAndNothingOnAnEmptyName)
{
    Tap(deleteX, deleteY);
    Tap(selectX, selectY);
    Tap(nextX, nextY);
    Tap(selectX, selectY);
    Tap(deleteX, deleteY);
    Tap(cancelX, cancelY);
    EXPECT_EQ(Run(), NameEntryCancel);
    EXPECT_STREQ(name, "A");
    // The removal burst: every lit cell of B throws out particles.
    int lit = 0;
    for (int cell = 0; cell < NameCells; cell++)
        lit += LetterPatternTable[NameCells + cell] == '*';
    EXPECT_EQ(ActiveEffects(), lit);
}

TEST_F(NameEntryTest, OkWithNoLettersAndQuitting)
{
    Tap(okX, okY);
    EXPECT_EQ(Run(), NameEntryOk);
    EXPECT_STREQ(name, "");

    strcpy(name, "XY");   // a starting name is extended
    Tap(selectX, selectY);
    MessagePost(window, WM_LBUTTONDOWN, 0, 0);
    MessagePostQuit(0);
    EXPECT_EQ(Run(), NameEntryQuit);
    EXPECT_STREQ(name, "XYA");
    Message message;
    EXPECT_EQ(MessageGet(&message), 0);
}

TEST_F(NameEntryTest, ButtonEdges)
{
    Tap(165, 90);     // ">>" top left: B
    Tap(114, 244);    // "Select" bottom right
    Tap(115, 244);    // between "Select" and "Delete": nothing
    Tap(40, 164);     // "<<" bottom left: A
    Tap(55, 225);     // "Select" top left
    Tap(184, 244);    // "Delete" bottom right
    Tap(125, 225);    // "Delete" top left
    Tap(124, 230);    // nothing
    Tap(194, 164);    // ">>" bottom right: B
    Tap(70, 100);     // right of "<<": nothing
    Tap(164, 100);    // left of ">>": nothing
    Tap(55, 244);     // "Select"
    Tap(110, 280);    // between "OK" and "Cancel": nothing
    Tap(204, 299);    // "Cancel" bottom right
    EXPECT_EQ(Run(), NameEntryCancel);
    EXPECT_STREQ(name, "B");
    Message message;
    EXPECT_FALSE(MessagePeekNow(&message) && message.message == WM_LBUTTONUP);

    Tap(32, 276);     // "OK" top left
    Tap(127, 276);
    EXPECT_EQ(Run(), NameEntryOk);
    ASSERT_TRUE(MessagePeekNow(&message));
    EXPECT_EQ(message.message, (uint32_t)WM_LBUTTONUP);   // the "Cancel" tap is still waiting
}

TEST_F(NameEntryTest, LettersGlowOnLitCellsOnly)
{
    SurfaceClear(back, 0);
    DrawLetter(back, 80, 60, 4, 1);   // E
    auto centre = [&](int c, int r) { return back->pixels[(60 + 15 * r + 7) * 240 + 80 + 15 * c + 7]; };
    EXPECT_NE(centre(0, 0), 0);   // '*'
    EXPECT_EQ(centre(1, 3), 0);   // '$': a point, but unlit
    EXPECT_EQ(centre(4, 3), 0);   // ' '
    EXPECT_EQ(ActiveEffects(), 22);   // one burst per lit cell
    DrawLetter(back, 80, 60, 4, 0);
    EXPECT_EQ(ActiveEffects(), 0);    // the old burst ends

    std::vector<uint16_t> before(back->pixels, back->pixels + 240 * 320);
    DrawLetter(back, 80, 60, 26, 1);  // no such letter
    DrawLetter(back, 80, 60, -1, 1);
    EXPECT_EQ(std::vector<uint16_t>(back->pixels, back->pixels + 240 * 320), before);
}

TEST_F(NameEntryTest, MorphShowsThirteenFramesOfMovingPoints)
{
    SurfaceClear(back, MakeColour(0, 0, 80));
    back->pixels[310 * 240 + 100] = MakeColour(0, 255, 0);   // below the grid, kept
    std::vector<uint16_t> plain(back->pixels, back->pixels + 240 * 320);
    static std::vector<std::vector<uint16_t>> frames;
    frames.clear();
    HeadlessSetPresentHook([](void*) { frames.emplace_back(240 * 320); HeadlessScreenRead(frames.back().data()); }, nullptr);
    MorphLetter(back, 80, 60, 4, 5);   // E to F
    ASSERT_EQ(frames.size(), 13u);
    EXPECT_EQ(back->pixels[310 * 240 + 100], MakeColour(0, 255, 0));

    // E's two unlit points fade in as they move onto F: the first frame shows
    // nothing at (1, 3), later frames light the cells F has there.
    Surface e, f;
    SurfaceCopy(&e, back);
    SurfaceCopy(&f, back);
    std::copy(plain.begin(), plain.end(), e.pixels);
    std::copy(plain.begin(), plain.end(), f.pixels);
    DrawLetter(&e, 80, 60, 4, 0);
    DrawLetter(&f, 80, 60, 5, 0);
    EXPECT_EQ(frames.front(), std::vector<uint16_t>(e.pixels, e.pixels + 240 * 320));
    EXPECT_NE(frames[6], frames.front());
    EXPECT_NE(frames[6], std::vector<uint16_t>(f.pixels, f.pixels + 240 * 320));
    int differFromF = 0;
    for (int i = 0; i < 240 * 320; i++)
        differFromF += frames.back()[i] != f.pixels[i];
    int differFromE = 0;
    for (int i = 0; i < 240 * 320; i++)
        differFromE += frames.back()[i] != e.pixels[i];
    EXPECT_LT(differFromF, differFromE);   // the last frame is nearly F

    frames.clear();
    MorphLetter(back, 80, 60, 0, 30);   // no such letter: nothing shown
    EXPECT_TRUE(frames.empty());
}

}  // namespace
