// The headless input script: held keys repeat like a desktop keyboard's, and bad lines are named.
#include "platform/gx.h"
#include "platform/headless.h"
#include "platform/sys.h"
#include "platform/win.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct KeySeen {
    uint32_t message;
    uintptr_t key;
    bool repeat;
    uint32_t tick;
};

std::vector<KeySeen> keysSeen;

intptr_t KeyProc(Window* window, uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    if (message == WM_KEYDOWN || message == WM_KEYUP)
        keysSeen.push_back({ message, wParam, ((lParam >> 30) & 1) != 0, SysTicks() });
    return WindowDefaultProc(window, message, wParam, lParam);
}

class ScriptTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        HeadlessReset();
        keysSeen.clear();
        WindowClass windowClass = { 3, KeyProc, 4, 0, L"KEYS" };
        ASSERT_NE(WindowRegisterClass(&windowClass), 0);
        window = WindowCreate(L"KEYS", L"Keys", 0, 0, 0, 240, 320, nullptr);
        ASSERT_NE(window, nullptr);
    }

    std::vector<uint32_t> DownTicks(uintptr_t key, bool repeat)
    {
        std::vector<uint32_t> ticks;
        for (const KeySeen& seen : keysSeen)
            if (seen.message == WM_KEYDOWN && seen.key == key && seen.repeat == repeat)
                ticks.push_back(seen.tick);
        return ticks;
    }

    Window* window = nullptr;
};

TEST_F(ScriptTest, HeldKeysRepeatAfterADelayEachOnItsOwnUntilTheyComeUp)
{
    struct RepeatDef {
        const char* script;
        uintptr_t key;
        std::vector<uint32_t> repeats;
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
    EXPECT_EQ(DownTicks(KeyFire, false), std::vector<uint32_t>({ 100 }));
    ASSERT_FALSE(keysSeen.empty());
    EXPECT_EQ(keysSeen.back().message, (uint32_t)WM_KEYUP);
    EXPECT_EQ(keysSeen.back().tick, 900u);
    EXPECT_EQ(InputKeyState(KeyFire), 0);
}

TEST_F(ScriptTest, ABadLineIsNamedByItsNumber)
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
