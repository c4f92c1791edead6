// The window procedure's handlers, driven message by message on the headless machine.
#include "tests/headless_game.h"

namespace {

class WindowProcTest : public HeadlessGame {
protected:
    // Runs the menu with a tap on New Game waiting in the queue.
    void NewGame()
    {
        MessagePost(window, WM_LBUTTONUP, 0, 90 << 16 | 118);
        MessageSend(window, WM_SHOWMENU, 0, 0);
    }
};

TEST_F(WindowProcTest, FocusReleasesAndRestoresTheDisplayOnceStartUpIsOver)
{
    NewGame();
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

    appReady = 0;   // as before start-up ends: focus changes are ignored
    MessageSend(window, WM_ACTIVATE, WA_INACTIVE, 0);
    MessageSend(window, WM_REDRAW, 0, 0);
    EXPECT_EQ(HeadlessFramesPresented(), frames + 3);
}

TEST_F(WindowProcTest, Keys)
{
    NewGame();
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

}  // namespace
