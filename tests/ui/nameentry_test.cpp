// Name entry: the letter patterns, the buttons and the name they spell, the glowing letter and its morph.
#include "gfx/particle.h"
#include "tests/headless_game.h"
#include "ui/nameentry.h"

#include <cstring>
#include <numeric>

namespace {

TEST(LetterPatternTest, TwentySixLettersOfTwentyFourPoints)
{
    ASSERT_EQ(strlen(LetterPatternTable), (size_t)NameLetters * NameCells);
    for (int letter = 0; letter < NameLetters; letter++) {
        std::string cells(LetterPatternTable + letter * NameCells, NameCells);
        EXPECT_EQ(cells.find_first_not_of("*$ "), std::string::npos) << (char)('A' + letter);
        EXPECT_EQ(NameCells - std::count(cells.begin(), cells.end(), ' '), NamePoints) << (char)('A' + letter);
    }
}

class NameEntryTest : public HeadlessGame {
protected:
    char name[13] = {};

    // Taps each named button (or a point, as {x, y}) in turn, then runs the name entry.
    int Run(std::initializer_list<std::pair<int, int>> taps)
    {
        for (auto [x, y] : taps)
            Tap(x, y);
        return EnterName(back, name);
    }
};

// Points on the six buttons.
const std::pair<int, int> ok = { 40, 280 }, cancel = { 150, 280 }, next = { 180, 120 }, previous = { 55, 120 },
                          select = { 80, 235 }, erase = { 150, 235 };

TEST_F(NameEntryTest, SelectWrapsDeleteOkAndQuit)
{
    // At most eight letters.
    EXPECT_EQ(Run({ select, select, select, select, select, select, select, select, select, ok }), NameEntryOk);
    EXPECT_STREQ(name, "AAAAAAAA");
    // The alphabet wraps both ways: A back to Z, Z on to A.
    name[0] = 0;
    EXPECT_EQ(Run({ previous, select, next, select, next, next, select, ok }), NameEntryOk);
    EXPECT_STREQ(name, "ZAC");
    // Delete cuts the last letter, and nothing from an empty name.
    name[0] = 0;
    EXPECT_EQ(Run({ erase, select, next, select, erase, cancel }), NameEntryCancel);
    EXPECT_STREQ(name, "A");
    // The removal burst: every lit cell of B throws out particles.
    int lit = (int)std::count(LetterPatternTable + NameCells, LetterPatternTable + 2 * NameCells, '*');
    EXPECT_EQ((int)std::count_if(particleSystem.emitters, particleSystem.emitters + EmitterCount,
                                 [](const Emitter& e) { return e.active; }), lit);
    // OK with no letters; a starting name is extended; a quit ends it and reaches the outer loop.
    name[0] = 0;
    EXPECT_EQ(Run({ ok }), NameEntryOk);
    EXPECT_STREQ(name, "");
    strcpy(name, "XY");
    Tap(select.first, select.second);
    MessagePost(window, WM_LBUTTONDOWN, 0, 0);
    MessagePostQuit(0);
    EXPECT_EQ(Run({}), NameEntryQuit);
    EXPECT_STREQ(name, "XYA");
    Message message;
    EXPECT_EQ(MessageGet(&message), 0);
}

TEST_F(NameEntryTest, LettersGlowOnLitCellsOnlyAndMorphInThirteenFrames)
{
    SurfaceClear(back, 0);
    DrawLetter(back, 80, 60, 4, 1);   // E
    auto centre = [&](int c, int r) { return back->pixels[(60 + 15 * r + 7) * 240 + 80 + 15 * c + 7]; };
    EXPECT_NE(centre(0, 0), 0);   // '*'
    EXPECT_EQ(centre(1, 3), 0);   // '$': a point, but unlit
    EXPECT_EQ(centre(4, 3), 0);   // ' '
    auto effects = [] {
        return std::count_if(particleSystem.emitters, particleSystem.emitters + EmitterCount, [](const Emitter& e) { return e.active; });
    };
    EXPECT_EQ(effects(), 22);   // one burst per lit cell
    DrawLetter(back, 80, 60, 4, 0);
    EXPECT_EQ(effects(), 0);    // the old burst ends
    std::vector<uint16_t> before = Back();
    DrawLetter(back, 80, 60, 26, 1);  // no such letter
    DrawLetter(back, 80, 60, -1, 1);
    EXPECT_EQ(Back(), before);

    SurfaceClear(back, MakeColour(0, 0, 80));
    back->pixels[310 * 240 + 100] = MakeColour(0, 255, 0);   // below the grid, kept
    std::vector<uint16_t> plain = Back();
    static std::vector<std::vector<uint16_t>> frames;
    frames.clear();
    HeadlessSetPresentHook([](void*) { frames.push_back(Screen()); }, nullptr);
    MorphLetter(back, 80, 60, 4, 5);   // E to F
    ASSERT_EQ(frames.size(), 13u);
    EXPECT_EQ(back->pixels[310 * 240 + 100], MakeColour(0, 255, 0));
    // E's two unlit points fade in as they move onto F: the first frame is E, the last nearly F.
    std::vector<uint16_t> e, f;
    for (auto [letter, picture] : { std::pair{ 4, &e }, { 5, &f } }) {
        std::copy(plain.begin(), plain.end(), back->pixels);
        DrawLetter(back, 80, 60, letter, 0);
        *picture = Back();
    }
    EXPECT_EQ(frames.front(), e);
    EXPECT_NE(frames[6], e);
    EXPECT_NE(frames[6], f);
    auto differences = [](const std::vector<uint16_t>& a, const std::vector<uint16_t>& b) {
        return std::inner_product(a.begin(), a.end(), b.begin(), 0, std::plus<>(), std::not_equal_to<>());
    };
    EXPECT_LT(differences(frames.back(), f), differences(frames.back(), e));
    frames.clear();
    MorphLetter(back, 80, 60, 0, 30);   // no such letter: nothing shown
    EXPECT_TRUE(frames.empty());
}

}  // namespace
