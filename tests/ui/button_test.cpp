// Buttons (the set, lookup, changes by id) and the nested screen loop (taps and hit testing, keys, quit, a background too big).
#include "tests/headless_game.h"
#include "ui/button.h"

#include <cstring>

namespace {

// The default colours are pinned by the golden game over's buttons, the rectangles and hit testing by the
// taps below and the menu's edges (FlowTest).
TEST(ButtonSetTest, TwelveButtonsThenFullAndChangesByTheFirstOfAnId)
{
    PixelFormatSelect(0x80);
    ButtonSet set;
    ButtonSetInit(&set);
    for (int i = 0; i < ButtonSetCapacity; i++)
        ASSERT_EQ(AddButton(&set, (uint16_t)(i % 6 + 1), "B", 10 * i, 20, 8, 9, 0), 1);
    EXPECT_EQ(AddButton(&set, 99, "X", 0, 0, 5, 5, 0), 0);
    EXPECT_EQ(set.count, ButtonSetCapacity);
    EXPECT_EQ(FindButton(&set, 99), 0);
    const Button& b = set.buttons[3];

    // Ids repeat: lookups find the first; -1 keeps a colour; an unknown id changes nothing.
    EXPECT_EQ(FindButton(&set, 4), 4);
    EXPECT_EQ(SetButtonFlags(&set, 4, ButtonHidden), 4);
    EXPECT_EQ(set.buttons[3].flags, ButtonHidden);
    EXPECT_EQ(set.buttons[9].flags, 0);
    std::vector<int> colours = { 7, b.fillColour, 9, b.greyColour };
    EXPECT_EQ(SetButtonColours(&set, 4, 7, -1, 9, -1), 4);
    EXPECT_EQ((std::vector<int>{ b.labelColour, b.fillColour, b.frameColour, b.greyColour }), colours);
    ButtonSet before = set;
    EXPECT_EQ(SetButtonFlags(&set, 42, ButtonFlat) + SetButtonColours(&set, 42, 1, 2, 3, 4), 0);
    EXPECT_EQ(memcmp(&before, &set, sizeof set), 0);
}

// The loop, on a started program.
class ModalTest : public HeadlessGame {
protected:
    ButtonSet set;

    void SetUp() override
    {
        HeadlessGame::SetUp();
        ButtonSetInit(&set);
        AddButton(&set, 5, "One", 10, 10, 100, 30, 0);
        AddButton(&set, 6, "Two", 60, 30, 100, 30, 0);      // overlaps One's lower right
        AddButton(&set, 7, "Ghost", 10, 200, 100, 30, ButtonHidden);
        SurfaceClear(back, MakeColour(0, 0, 64));
    }
};

TEST_F(ModalTest, TapsChooseWhereTheStylusIsLiftedKeysAreSwallowedAndQuitEndsIt)
{
    MessagePost(window, WM_LBUTTONDOWN, 1, 20 << 16 | 20);   // down on One...
    Tap(150, 50);                                             // ...lifted on Two
    EXPECT_EQ(RunModalScreen(&set, back), 6);
    Tap(200, 300);   // outside every button: nothing
    Tap(70, 35);     // inside both: the first added
    EXPECT_EQ(RunModalScreen(&set, back), 5);
    Tap(20, 210);    // hidden, but still tapped
    EXPECT_EQ(RunModalScreen(&set, back), 7);

    MessagePost(window, WM_KEYDOWN, KeyMenu, 0);   // would open the menu during play
    MessagePost(window, WM_KEYUP, KeyMenu, 0);
    MessagePost(window, WM_MOUSEMOVE, 0, 20 << 16 | 20);
    Tap(20, 20);
    EXPECT_EQ(RunModalScreen(&set, back), 5);
    Message message;
    EXPECT_FALSE(MessagePeekNow(&message) && message.message == WM_SHOWMENU);

    MessagePostQuit(0);   // the quit ends the loop and reaches the outer one
    EXPECT_EQ(RunModalScreen(&set, back), 0);
    EXPECT_EQ(MessageGet(&message), 0);
}

// How often the loop redraws, and what, is pinned by the golden runs' menus.
TEST_F(ModalTest, ABackgroundTooBigToCopyIsNeverDrawnAndActsAsButtonOne)
{
    Surface huge;
    huge.width = 1 << 14;
    huge.height = 1 << 13;
    uint32_t frames = HeadlessFramesPresented();
    EXPECT_EQ(RunModalScreen(&set, &huge), 1);
    EXPECT_EQ(HeadlessFramesPresented(), frames);
    huge.width = huge.height = 0;
}

}  // namespace
