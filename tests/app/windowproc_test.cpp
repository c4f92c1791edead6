// The window procedure's handlers, driven message by message on the headless machine.
#include "tests/headless_game.h"

namespace {

// Stylus points on the main menu's buttons.
const intptr_t tapNewGame = 90 << 16 | 118;
const intptr_t tapResume = 134 << 16 | 118;
const intptr_t tapExit = 219 << 16 | 118;

class WindowProcTest : public HeadlessGame {
protected:
    // Runs the menu with a tap waiting in the queue.
    void Menu(intptr_t tap)
    {
        MessagePost(window, WM_LBUTTONUP, 0, tap);
        MessageSend(window, WM_SHOWMENU, 0, 0);
    }
};

TEST_F(WindowProcTest, FocusReleasesAndRestoresTheDisplay)
{
    Menu(tapNewGame);
    uint32_t frames = HeadlessFramesPresented();

    MessageSend(window, WM_ACTIVATE, WA_INACTIVE, 0);
    HeadlessSetForeground(nullptr);
    MessageSend(window, WM_TIMER, 1, 0);       // not in front: no frame
    MessageSend(window, WM_REDRAW, 0, 0);      // released: nothing reaches the screen
    EXPECT_EQ(HeadlessFramesPresented(), frames);

    MessageSend(window, WM_ACTIVATE, WA_CLICKACTIVE, 0);   // neither re-opens nor releases
    MessageSend(window, WM_REDRAW, 0, 0);
    EXPECT_EQ(HeadlessFramesPresented(), frames);

    MessageSend(window, WM_ACTIVATE, WA_ACTIVE, 0);        // the last frame is shown again
    EXPECT_EQ(HeadlessFramesPresented(), frames + 1);
    EXPECT_EQ(WindowForeground(), window);
    MessageSend(window, WM_TIMER, 1, 0);
    EXPECT_EQ(HeadlessFramesPresented(), frames + 2);
}

TEST_F(WindowProcTest, FocusIsIgnoredBeforeStartUpEnds)
{
    appReady = 0;
    uint32_t frames = HeadlessFramesPresented();
    MessageSend(window, WM_ACTIVATE, WA_INACTIVE, 0);
    MessageSend(window, WM_REDRAW, 0, 0);
    EXPECT_EQ(HeadlessFramesPresented(), frames + 1);
}

TEST_F(WindowProcTest, Keys)
{
    Menu(tapNewGame);
    Message message;

    MessageSend(window, WM_KEYDOWN, KeyMenu, 0);
    ASSERT_TRUE(MessagePeekNow(&message));
    EXPECT_EQ(message.message, (uint32_t)WM_SHOWMENU);
    TapsLeft();

    world->weaponLevel = 7;   // lock-on not allowed: nothing changes
    MessageSend(window, WM_KEYDOWN, KeyLockOn, 0);
    EXPECT_EQ(world->weaponLevel, 7);
    world->weaponLevel = 9;   // allowed: one level per press
    MessageSend(window, WM_KEYDOWN, KeyLockOn, 0);
    MessageSend(window, WM_KEYDOWN, KeyLockOn, 0);
    EXPECT_EQ(world->weaponLevel, 7);

    MessageSend(window, WM_KEYDOWN, KeyFire, 0);
    EXPECT_EQ(fireBusy, 0u);
}

TEST_F(WindowProcTest, ResumeContinuesAndExitCloses)
{
    Menu(tapNewGame);
    world->score = 1234;
    Menu(tapResume);
    EXPECT_EQ(world->score, 1234u);
    EXPECT_EQ(world->framesEnabled, 1u);

    Menu(tapExit);
    EXPECT_EQ(world->framesEnabled, 0u);
    Message message;
    ASSERT_TRUE(MessageGet(&message));
    EXPECT_EQ(message.message, (uint32_t)WM_CLOSE);
    MessageDispatch(&message);
    EXPECT_FALSE(WindowIsAlive(window));
    EXPECT_EQ(MessageGet(&message), 0);   // the quit that ends the program
}

}  // namespace
