// The message queue's promises: ordering, dropped ticks, synchronous sends, nested loops and quitting.
#include "platform/headless.h"
#include "platform/sys.h"
#include "platform/win.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace {

struct Seen {
    uint32_t message;
    uintptr_t wParam;
    uint32_t tick;
};

std::vector<Seen> seen;
uint32_t sleepInTimer;           // how long the timer handler works
int nestedPumps;                 // how many messages the handler of 0x500 pumps itself

intptr_t TestProc(Window* window, uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    if (message == WM_CREATE || message == WM_DESTROY) {
        seen.push_back({ message, wParam, SysTicks() });
        return 0;
    }
    if (message >= WM_USER || message == WM_TIMER)
        seen.push_back({ message, wParam, SysTicks() });
    if (message == WM_TIMER && sleepInTimer) {
        SysSleep(sleepInTimer);
        sleepInTimer = 0;
    }
    if (message == WM_USER + 0x100) {
        // A nested loop, as a modal screen runs one from inside a handler.
        Message nested;
        for (int i = 0; i < nestedPumps; i++) {
            EXPECT_EQ(MessagePeek(&nested), 1);
            if (!MessageGet(&nested)) {
                MessagePostQuit(0);
                return 0;
            }
            MessageDispatch(&nested);
        }
    }
    return WindowDefaultProc(window, message, wParam, lParam);
}

class MessageTest : public ::testing::Test {
protected:
    Window* window = nullptr;

    void SetUp() override
    {
        HeadlessReset();
        HeadlessSetInstanceScope("message-test");
        seen.clear();
        sleepInTimer = 0;
        nestedPumps = 0;
        WindowClass windowClass = { 3, TestProc, 4, 0, L"TEST" };
        ASSERT_NE(WindowRegisterClass(&windowClass), 0);
        window = WindowCreate(L"TEST", L"Test", 0, 0, 0, 240, 320, nullptr);
        ASSERT_NE(window, nullptr);
        seen.clear();
    }

    // Runs the outer loop until quit or count dispatches.
    int Pump(int count)
    {
        Message message;
        for (int i = 0; i < count; i++) {
            if (!MessageGet(&message))
                return 0;
            MessageDispatch(&message);
        }
        return 1;
    }
};

TEST_F(MessageTest, PostedMessagesComeBeforeADueTick)
{
    TimerSet(window, 1, 50);
    SysSleep(120);   // two ticks are due, and coalesce into one
    MessagePost(window, WM_USER + 1, 0, 0);
    MessagePost(window, WM_USER + 2, 0, 0);
    Pump(3);
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[0].message, WM_USER + 1u);
    EXPECT_EQ(seen[1].message, WM_USER + 2u);
    EXPECT_EQ(seen[2].message, (uint32_t)WM_TIMER);
    EXPECT_EQ(seen[2].wParam, 1u);
}

TEST_F(MessageTest, TicksMissedWhileAHandlerRunsAreDropped)
{
    TimerSet(window, 1, 50);
    sleepInTimer = 170;   // the first tick's handler outlasts the ticks of 100, 150 and 200
    Pump(4);
    ASSERT_EQ(seen.size(), 4u);
    EXPECT_EQ(seen[0].tick, 50u);
    EXPECT_EQ(seen[1].tick, 220u);   // the missed ticks arrive as one
    EXPECT_EQ(seen[2].tick, 250u);   // and the period keeps its phase
    EXPECT_EQ(seen[3].tick, 300u);
}

TEST_F(MessageTest, SendCallsTheProcedureAtOnceAndPeekDoesNotTake)
{
    MessagePost(window, WM_USER + 1, 0, 0);
    MessageSend(window, WM_USER + 2, 7, 0);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].message, WM_USER + 2u);
    EXPECT_EQ(seen[0].wParam, 7u);

    Message peeked, taken;
    ASSERT_EQ(MessagePeek(&peeked), 1);
    ASSERT_EQ(MessagePeek(&peeked), 1);
    ASSERT_EQ(MessageGet(&taken), 1);
    EXPECT_EQ(peeked.message, taken.message);
    EXPECT_EQ(taken.message, WM_USER + 1u);
}

TEST_F(MessageTest, PeekOnAnEmptyQueueWaitsForTheNextTick)
{
    TimerSet(window, 1, 50);
    Message message;
    ASSERT_EQ(MessagePeek(&message), 1);
    EXPECT_EQ(message.message, (uint32_t)WM_TIMER);
    EXPECT_EQ(HeadlessNow(), 50u);
}

TEST_F(MessageTest, NestedLoopsInsideAHandlerTakeTheQueue)
{
    nestedPumps = 2;
    MessagePost(window, WM_USER + 0x100, 0, 0);
    MessagePost(window, WM_USER + 1, 0, 0);
    MessagePost(window, WM_USER + 2, 0, 0);
    MessagePost(window, WM_USER + 3, 0, 0);
    Pump(2);
    ASSERT_EQ(seen.size(), 4u);
    EXPECT_EQ(seen[1].message, WM_USER + 1u);   // taken by the nested loop
    EXPECT_EQ(seen[2].message, WM_USER + 2u);
    EXPECT_EQ(seen[3].message, WM_USER + 3u);   // back in the outer loop
}

TEST_F(MessageTest, QuitInsideANestedLoopEndsTheOuterLoopToo)
{
    nestedPumps = 5;
    MessagePost(window, WM_USER + 0x100, 0, 0);
    MessagePost(window, WM_CLOSE, 0, 0);   // destroys the window; its handler would post quit
    MessagePostQuit(0);
    EXPECT_EQ(Pump(10), 0);
    EXPECT_FALSE(WindowIsAlive(window));
}

TEST_F(MessageTest, CloseDestroysTheWindowAndItsTimers)
{
    TimerSet(window, 1, 50);
    MessagePost(window, WM_CLOSE, 0, 0);
    Pump(1);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].message, (uint32_t)WM_DESTROY);
    EXPECT_FALSE(WindowIsAlive(window));
    EXPECT_EQ(MessagePost(window, WM_USER, 0, 0), 0);
    MessagePostQuit(3);
    Message message;
    EXPECT_EQ(MessageGet(&message), 0);   // no tick is left to come first
    EXPECT_EQ(message.wParam, 3u);
}

TEST_F(MessageTest, OtherThreadsMayPost)
{
    std::thread poster([this] { MessagePost(window, WM_USER + 9, 9, 0); });
    poster.join();
    Pump(1);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].message, WM_USER + 9u);
}

TEST_F(MessageTest, WindowDataAndForeground)
{
    int value = 0;
    WindowSetData(window, &value);
    EXPECT_EQ(WindowData(window), &value);
    EXPECT_EQ(WindowForeground(), window);
    EXPECT_EQ(WindowFindRunning(L"NONE", L"None"), nullptr);
}

}  // namespace
