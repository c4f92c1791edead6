// Recording and replay in one process: a small program recorded from a script, replayed, and held to every answer.
#include "platform/gx.h"
#include "platform/headless.h"
#include "platform/record.h"
#include "platform/sys.h"
#include "platform/win.h"
#include "tests/outside.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <vector>

namespace {

namespace fs = std::filesystem;
using namespace outside;

// The small program: steered by the arrows, counts key presses, draws a bar
// where it stands, and works too long on every seventh frame so that ticks drop.
struct Mini {
    int variant = 0;   // 1 polls another key, 2 draws another picture from frame 5, 3 reads the clock after quitting
    int x = 120;
    int presses = 0;
    int frames = 0;
    std::vector<uint32_t> taken;   // every message the loop took, in order
    std::vector<uint32_t> ticks;   // the tick each frame was drawn at
    std::vector<uint64_t> hashes;
};

Mini mini;
std::string failure;
Window* miniWindow;

// The replay has stopped and the platform answers live: the program is told to end.
void OnFail(const char* message)
{
    failure = message;
    MessagePost(miniWindow, WM_USER + 2, 0, 0);
}

void OnPresent(void*)
{
    std::vector<uint16_t> screen(240 * 320);
    HeadlessScreenRead(screen.data());
    mini.hashes.push_back(RecordHash(screen.data()));
}

void MiniDraw(uint32_t now)
{
    uint16_t* pixels = (uint16_t*)GXBeginDraw();
    if (!pixels)
        return;
    for (int i = 0; i < 240 * 320; i++)
        pixels[i] = (uint16_t)(now / 10 + mini.presses * 31);
    for (int y = 0; y < 320; y++)
        pixels[y * 240 + (mini.x & 0xFF) % 240] = 0xFFFF;
    if (mini.variant == 2 && mini.frames >= 4)
        pixels[0] ^= 1;
    GXEndDraw();
}

intptr_t MiniProc(Window* window, uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    switch (message) {
    case WM_TIMER:
        if (!failure.empty()) {
            WindowDestroy(window);
            return 0;
        }
        if (WindowForeground() != window)
            return 0;
        if (InputKeyState(mini.variant == 1 && mini.frames == 6 ? KeyUp : KeyLeft) < 0)
            mini.x--;
        if (InputKeyState(KeyRight) < 0)
            mini.x++;
        MiniDraw(SysTicks());
        mini.ticks.push_back(SysTicks());
        if (++mini.frames % 7 == 0)
            SysSleep(120);
        return 0;
    case WM_KEYDOWN:
        mini.presses++;
        if (wParam == KeyFire)
            MessagePost(window, WM_USER + 1, 0, 0);   // the program's own post, behind outside input
        return 0;
    case WM_USER + 1:
        mini.presses += 10;
        return 0;
    case WM_USER + 2:
        WindowDestroy(window);
        return 0;
    case WM_LBUTTONUP:
        mini.x = (int)(lParam & 0xFFFF);
        return 0;
    case WM_DESTROY:
        MessagePostQuit(0);
        return 0;
    }
    return WindowDefaultProc(window, message, wParam, lParam);
}

void RunMini(int variant)
{
    mini = Mini();
    mini.variant = variant;
    HeadlessSetPresentHook(OnPresent, nullptr);
    WindowClass windowClass = { 0, MiniProc, 0, 0, L"MINI" };
    WindowRegisterClass(&windowClass);
    Window* window = WindowCreate(L"MINI", L"Mini", 0, 0, 0, 240, 320, nullptr);
    ASSERT_NE(window, nullptr);
    miniWindow = window;
    ASSERT_EQ(GXOpenDisplay(window, GX_FULLSCREEN), 1);
    TimerSet(window, 1, 50);
    Message message;
    while (MessageGet(&message)) {
        mini.taken.push_back(message.message);
        MessageDispatch(&message);
    }
    if (mini.variant == 3)
        SysTicks();
}

const char* const miniScript =
    "at 200 down left\nat 600 up left\nat 700 down fire\nat 710 up fire\nat 900 tap 30 40\n"
    "at 1000 deactivate\nat 1300 activate\nat 1500 down right\nat 1800 up right\nat 2000 quit\n";

class RecordTest : public ::testing::Test {
protected:
    fs::path home;
    fs::path folder;

    void SetUp() override
    {
        home = fs::current_path();
        folder = fs::path(::testing::TempDir()) /
                 (std::string("record-") + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder);
        fs::create_directories(folder);
        fs::current_path(folder);
        failure.clear();
    }

    void TearDown() override
    {
        HeadlessReset();
        fs::current_path(home);
    }

    // Records the small program driven by the script; returns what it did.
    // finished is what finishing the recording must give; error holds its message.
    Mini Record(const std::string& path = "mini.rec", int finished = 1)
    {
        HeadlessReset();
        EXPECT_EQ(HeadlessScriptLoad(miniScript, &error), 1) << error;
        EXPECT_EQ(RecordStart(path, kfDirect | kfDirect565, &error), 1) << error;
        RunMini(0);
        EXPECT_EQ(RecordFinish(&error), finished) << error;
        return mini;
    }
    std::string error;

    // Replays path with the program in variant; returns the start's error, if any.
    std::string Replay(int variant, const std::string& path = "mini.rec")
    {
        HeadlessReset();
        failure.clear();
        if (!ReplayStart(path, &error))
            return error;
        RecordSetFailHandler(OnFail);
        HeadlessFollowReplay();
        RunMini(variant);
        return "";
    }
};

TEST_F(RecordTest, AReplayIsTheRecordedSessionFrameForFrameAndStopsWhereItGoesAnotherWay)
{
    Mini recorded = Record();
    ASSERT_GT(recorded.hashes.size(), 20u);
    EXPECT_NE(recorded.hashes.front(), recorded.hashes.back());
    EXPECT_GT(recorded.presses, 10);   // the fire key and the program's own answer to it
    EXPECT_GT(recorded.x, 30);         // the tap, then the right arrow held for a few frames

    ASSERT_EQ(Replay(0), "");
    EXPECT_EQ(ReplayFinish(&error), 1) << error << failure;
    EXPECT_EQ(failure, "");
    EXPECT_EQ(mini.hashes, recorded.hashes);
    EXPECT_EQ(mini.ticks, recorded.ticks);
    EXPECT_EQ(mini.taken, recorded.taken);
    EXPECT_EQ(HeadlessNow(), 2000u);   // the virtual clock followed the recorded reads
    EXPECT_EQ(RecordFrames(), recorded.hashes.size());

    // A program that goes another way stops the replay, which names the frame.
    ASSERT_EQ(Replay(1), "");
    EXPECT_NE(failure.find("after frame 6: out of step"), std::string::npos) << failure;
    EXPECT_NE(failure.find("polls key 38"), std::string::npos) << failure;

    ASSERT_EQ(Replay(2), "");
    EXPECT_NE(failure.find("frame 5 differs from the recording"), std::string::npos) << failure;

    ASSERT_EQ(Replay(3), "");   // the program goes on past the recording's end
    EXPECT_NE(failure.find("the recording ends"), std::string::npos) << failure;
    EXPECT_EQ(ReplayFinish(&error), 0);
}

TEST_F(RecordTest, DamagedTruncatedOrNonsenseRecordingsAreRefused)
{
    Record();
    std::string bytes = ReadFile("mini.rec");
    ASSERT_GT(bytes.size(), 100u);
    auto refused = [&](const std::string& content, const char* why) {
        std::ofstream("bad.rec", std::ios::binary) << content;
        std::string got = Replay(0, "bad.rec");
        EXPECT_NE(got.find(why), std::string::npos) << got;
        return !got.empty();
    };
    for (size_t at = 0; at < bytes.size(); at++) {
        std::string flipped = bytes;
        flipped[at] = (char)(flipped[at] ^ 0x10);
        ASSERT_TRUE(refused(flipped, "")) << "a flip at byte " << at << " went unnoticed";
    }
    for (size_t size = 0; size < bytes.size(); size += 7)
        ASSERT_TRUE(refused(bytes.substr(0, size), "")) << "a cut at " << size << " went unnoticed";
    refused(bytes.substr(0, bytes.size() - 20), "truncated");
    refused("at 100 quit\n", "not a recording");
    std::string other = bytes;
    other[6] = 2;
    refused(Sealed(other), "another version");
    EXPECT_NE(Replay(0, "missing.rec").find("cannot read"), std::string::npos);

    // Entries that pass the checksum but make no sense: each replay must stop
    // with a message, whatever the program asks.
    const size_t header = 8 + 4 + 1 + 1;   // magic, format, and no score file
    std::mt19937 random(7);
    int stopped = 0;
    for (int round = 0; round < 300; round++) {
        std::string body = bytes.substr(header, bytes.size() - header - 13);
        for (int n = 0; n < 1 + round % 9; n++)
            body[random() % body.size()] = (char)random();
        if (round % 3 == 0)
            body.resize(random() % body.size());
        std::ofstream("fuzz.rec", std::ios::binary) << Sealed(bytes.substr(0, header) + body + bytes.substr(bytes.size() - 13));
        failure.clear();
        ASSERT_EQ(Replay(0, "fuzz.rec"), "");
        if (failure.empty() && !ReplayFinish(&error))
            failure = error;
        stopped += !failure.empty();
    }
    // A few changes fall on what the program never looks at (the tick a
    // message came at), and a few put back the byte that was there.
    EXPECT_GT(stopped, 250);
}

TEST_F(RecordTest, AReplayStartsFromTheRecordedHighScoresAndKeepsOthersSafe)
{
    std::ofstream(recordScoreFile, std::ios::binary) << "twelve names";
    Record();
    fs::create_directory("elsewhere");
    fs::current_path("elsewhere");
    ASSERT_EQ(Replay(0, "../mini.rec"), "");
    EXPECT_EQ(ReadFile(recordScoreFile), "twelve names");
    ASSERT_EQ(Replay(0, "../mini.rec"), "");   // the same table is no obstacle

    std::ofstream(recordScoreFile, std::ios::binary) << "someone else's";
    EXPECT_NE(Replay(0, "../mini.rec").find("replay in an empty folder"), std::string::npos);
    fs::remove(recordScoreFile);
    fs::current_path("..");
    fs::remove(recordScoreFile);
    Record("bare.rec");   // started without a table: a folder with one is refused
    std::ofstream(recordScoreFile, std::ios::binary) << "a table";
    EXPECT_NE(Replay(0, "bare.rec").find("replay in an empty folder"), std::string::npos);
}

TEST_F(RecordTest, AFailedWriteLeavesThePlayAlone)
{
    if (!fs::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full";
    EXPECT_GT(Record("/dev/full", 0).frames, 20);
    EXPECT_NE(error.find("cannot write"), std::string::npos);
    EXPECT_EQ(RecordStart("no-such-folder/x.rec", kfDirect | kfDirect565, &error), 0);
}

}   // namespace
