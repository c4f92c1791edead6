// The message queue's promises (peeking on an empty queue, nested loops, quitting, posts from other threads), and
// the headless input script: held keys repeat like a desktop keyboard's, and bad lines are named.
#include "platform/gx.h"
#include "platform/headless.h"
#include "platform/sys.h"
#include "platform/win.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <thread>
#include <vector>

namespace {

struct SeenMessage {
    uint32_t message;
    uintptr_t wParam;
    uint32_t tick;
    bool repeat;   // of a key
};

std::vector<SeenMessage> seen;
int nestedPumps;                 // how many messages the handler of 0x500 pumps itself

intptr_t TestProc(Window* window, uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    if (message >= WM_USER || message == WM_TIMER || message == WM_DESTROY || message == WM_KEYDOWN || message == WM_KEYUP)
        seen.push_back({ message, wParam, SysTicks(), ((lParam >> 30) & 1) != 0 });
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

    static std::vector<uint32_t> DownTicks(uintptr_t key, bool repeat)
    {
        std::vector<uint32_t> ticks;
        for (const SeenMessage& one : seen)
            if (one.message == WM_KEYDOWN && one.wParam == key && one.repeat == repeat)
                ticks.push_back(one.tick);
        return ticks;
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

// Posts before a due tick, ticks dropped while a handler works, sends and peeks
// that leave the message queued are held by the golden replays (planted: each
// fails there). A peek on an empty queue waits for the next tick.
TEST_F(MessageTest, APeekWaitsForTheNextTickAndCloseDestroysTheWindowAndItsTimers)
{
    TimerSet(window, 1, 50);
    Message peeked;
    ASSERT_EQ(MessagePeek(&peeked), 1);
    EXPECT_EQ(peeked.message, (uint32_t)WM_TIMER);
    EXPECT_EQ(HeadlessNow(), 50u);
    MessagePost(window, WM_CLOSE, 0, 0);   // taken before the tick that is due
    Pump(1);
    EXPECT_EQ(Seen(), U{ WM_DESTROY });
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
    EXPECT_EQ(Seen(), U{ WM_USER + 9 });
}

TEST_F(MessageTest, HeldKeysRepeatAfterADelayEachOnItsOwnUntilTheyComeUp)
{
    struct RepeatDef {
        const char* script;
        uintptr_t key;
        U repeats;
    };
    const char* const both = "at 0 down left\nat 200 down fire\nat 700 up fire\nat 760 up left\n";
    const RepeatDef repeatTable[] = {
        { "at 10 down menu\n", KeyMenu, { 510, 560 } },   // no timer: the held key keeps an idle program going
        { both, KeyLeft, { 500, 550, 600, 650, 700, 750 } },
        { both, KeyFire, {} },   // its first repeat was due at 700, with its release
        { "at 100 down fire\nat 900 up fire\n", KeyFire, { 600, 650, 700, 750, 800, 850 } },
    };
    for (const RepeatDef& row : repeatTable) {
        SetUp();
        ASSERT_EQ(HeadlessScriptLoad(row.script, nullptr), 1);
        int idle = row.key == KeyMenu;
        if (!idle)
            TimerSet(window, 1, 50);
        Message message;
        for (int i = 0; (idle ? i < 3 : HeadlessNow() < 2000) && MessageGet(&message); i++)
            MessageDispatch(&message);
        EXPECT_EQ(DownTicks(row.key, true), row.repeats) << row.script;
    }
    EXPECT_EQ(DownTicks(KeyFire, false), U{ 100 });
    auto last = std::find_if(seen.rbegin(), seen.rend(), [](const SeenMessage& one) { return one.message != WM_TIMER; });
    EXPECT_EQ(last->message, (uint32_t)WM_KEYUP);
    EXPECT_EQ(last->tick, 900u);
    EXPECT_EQ(InputKeyState(KeyFire), 0);
}

TEST_F(MessageTest, ABadScriptLineIsNamedByItsNumber)
{
    std::string error;
    EXPECT_EQ(HeadlessScriptLoad("# start\nat 10 tap 1 2\n\nat 20 down sideways\n", &error), 0);
    EXPECT_EQ(error, "line 4: unknown key \"sideways\"");
    for (const std::string& bad : { std::string("at 10 tap 1\n"), std::string("at ten quit\n"), std::string("at 10 qu\0it\n", 12) }) {
        EXPECT_EQ(HeadlessScriptLoad(bad, &error), 0);
        EXPECT_EQ(error.rfind("line 1: ", 0), 0u) << error;
    }
}

}  // namespace
