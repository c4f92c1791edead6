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
    if (message >= WM_USER || message == WM_TIMER || message == WM_DESTROY)
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
    }

    // The messages seen so far.
    static std::vector<uint32_t> Seen()
    {
        std::vector<uint32_t> messages;
        for (const auto& one : seen)
            messages.push_back(one.message);
        return messages;
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

using U = std::vector<uint32_t>;

TEST_F(MessageTest, PostedMessagesComeBeforeADueTickAndMissedTicksAreDropped)
{
    TimerSet(window, 1, 50);
    SysSleep(120);   // two ticks are due, and coalesce into one
    MessagePost(window, WM_USER + 1, 0, 0);
    MessagePost(window, WM_USER + 2, 0, 0);
    Pump(3);
    EXPECT_EQ(Seen(), (U{ WM_USER + 1, WM_USER + 2, WM_TIMER }));
    EXPECT_EQ(seen[2].wParam, 1u);

    seen.clear();
    sleepInTimer = 170;   // this tick's handler outlasts the ticks of 200, 250 and 300
    Pump(4);
    U ticks;
    for (const auto& one : seen)
        ticks.push_back(one.tick);
    EXPECT_EQ(ticks, (U{ 150, 320, 350, 400 }));   // the missed ticks arrive as one, and the period keeps its phase
}

TEST_F(MessageTest, SendCallsTheProcedureAtOncePeekDoesNotTakeAndWaitsForATick)
{
    MessagePost(window, WM_USER + 1, 0, 0);
    MessageSend(window, WM_USER + 2, 7, 0);
    ASSERT_EQ(Seen(), U{ WM_USER + 2 });
    EXPECT_EQ(seen[0].wParam, 7u);

    Message peeked, taken;
    ASSERT_EQ(MessagePeek(&peeked), 1);
    ASSERT_EQ(MessagePeek(&peeked), 1);
    ASSERT_EQ(MessageGet(&taken), 1);
    EXPECT_EQ(peeked.message, taken.message);
    EXPECT_EQ(taken.message, WM_USER + 1u);

    TimerSet(window, 1, 50);   // on an empty queue, a peek waits for the next tick
    ASSERT_EQ(MessagePeek(&peeked), 1);
    EXPECT_EQ(peeked.message, (uint32_t)WM_TIMER);
    EXPECT_EQ(HeadlessNow(), 50u);
}

TEST_F(MessageTest, NestedLoopsInsideAHandlerTakeTheQueueAndQuitEndsThemAll)
{
    nestedPumps = 2;
    for (uint32_t message : { WM_USER + 0x100, WM_USER + 1, WM_USER + 2, WM_USER + 3 })
        MessagePost(window, message, 0, 0);
    Pump(2);   // the nested loop takes 1 and 2, the outer one 3
    EXPECT_EQ(Seen(), (U{ WM_USER + 0x100, WM_USER + 1, WM_USER + 2, WM_USER + 3 }));

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
    EXPECT_EQ(Seen(), U{ WM_DESTROY });
    EXPECT_FALSE(WindowIsAlive(window));
    EXPECT_EQ(MessagePost(window, WM_USER, 0, 0), 0);
    MessagePostQuit(3);
    Message message;
    EXPECT_EQ(MessageGet(&message), 0);   // no tick is left to come first
    EXPECT_EQ(message.wParam, 3u);
}

TEST_F(MessageTest, OtherThreadsMayPostAndTheWindowKeepsItsData)
{
    std::thread poster([this] { MessagePost(window, WM_USER + 9, 9, 0); });
    poster.join();
    Pump(1);
    EXPECT_EQ(Seen(), U{ WM_USER + 9 });
    int value = 0;
    WindowSetData(window, &value);
    EXPECT_EQ(WindowData(window), &value);
    EXPECT_EQ(WindowForeground(), window);
    EXPECT_EQ(WindowFindRunning(L"NONE", L"None"), nullptr);
}

}  // namespace
