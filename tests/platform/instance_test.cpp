// The single-instance channel: only the same user's second copy gets in, with two requests, and nothing a caller does harms the game.
#include "platform/backend.h"
#include "platform/headless.h"
#include "platform/record.h"
#include "platform/win.h"
#include "tests/outside.h"

#include <gtest/gtest.h>

#include <stdlib.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using namespace outside;

const std::string forward("SS\1\1", 4), redraw("SS\1\2", 4);

// Connects to path, or with bind, puts a socket there with nothing behind it.
int Connect(const std::string& path, int (*join)(int, const sockaddr*, socklen_t) = connect)
{
    sockaddr_un address = {};
    address.sun_family = AF_UNIX;
    strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
    int s = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (s >= 0 && join(s, (sockaddr*)&address, sizeof address) != 0) {
        close(s);
        return -1;
    }
    return s;
}

// Reads the answers until the game closes the connection: the requests it
// took, or -1 when it was still open after five seconds.
int Answers(int s)
{
    timeval wait = { 5, 0 };
    setsockopt(s, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
    int taken = 0;
    char byte;
    ssize_t got;
    while ((got = recv(s, &byte, 1, 0)) == 1)
        taken++;
    int timedOut = got < 0 && errno == EAGAIN;
    close(s);
    return timedOut ? -1 : taken;   // a reset is a close too
}

// A caller in a process of its own, started with SS_INSTANCE_CLIENT naming
// the socket: exit code 10 when it cannot connect, else 20 plus the requests taken.
const int clientMode = [] {
    const char* path = getenv("SS_INSTANCE_CLIENT");
    if (!path)
        return 0;
    int s = Connect(path);
    if (s < 0)
        _exit(10);
    send(s, (forward + redraw).data(), 8, MSG_NOSIGNAL);
    _exit(20 + Answers(s));
}();

int others;   // private messages other than the redraw: none may come

intptr_t GameProc(Window* window, uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    others += message >= WM_USER && (message != InstanceRedrawMessage || wParam || lParam);
    return WindowDefaultProc(window, message, wParam, lParam);
}

// A first copy in this process, listening in a runtime folder of the test's
// own, for callers from this process, from other users and from the runner.
class InstanceTest : public ::testing::Test {
protected:
    fs::path base, run, socketPath;
    Window* window = nullptr;

    void SetUp() override
    {
        char name[] = "/tmp/ss-instance-XXXXXX";
        ASSERT_NE(mkdtemp(name), nullptr);
        base = name;
        run = base / "run";
        fs::create_directory(run);
        chmod(base.c_str(), 0711);
        chmod(run.c_str(), 0700);
        setenv("XDG_RUNTIME_DIR", run.c_str(), 1);
        Start();
        for (const fs::directory_entry& entry : fs::directory_iterator(run))
            socketPath = entry.path();
        ASSERT_EQ(fs::status(socketPath).type(), fs::file_type::socket);
    }

    // A fresh machine, and the game's window on it.
    void Start()
    {
        HeadlessReset();
        HeadlessSetInstanceScope(base.string());
        others = 0;
        WindowClass windowClass = { 3, GameProc, 4, 0, L"FIRSTGX" };
        WindowRegisterClass(&windowClass);
        window = WindowCreate(L"FIRSTGX", L"Space Shooter", 0, 0, 0, 240, 320, nullptr);
        TimerSet(window, 1, 50);
    }

    void TearDown() override
    {
        EXPECT_EQ(others, 0);
        HeadlessReset();
        EXPECT_FALSE(fs::exists(socketPath));   // the socket file goes with the listener
        unsetenv("XDG_RUNTIME_DIR");
        fs::remove_all(base);
    }

    // Runs the game's loop up to its next tick: the redraws that came in
    // meanwhile, and ten more when the game came to the front.
    int Pump()
    {
        HeadlessSetForeground(nullptr);
        Message message;
        int redraws = 0;
        while (MessageGet(&message) && message.message != WM_TIMER) {
            redraws += message.message == InstanceRedrawMessage;
            MessageDispatch(&message);
        }
        return redraws + (WindowForeground() == window) * 10;
    }

    // Calls with bytes and returns the requests taken; the game must close the connection.
    int Call(const std::string& bytes)
    {
        int s = Connect(socketPath);
        send(s, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        return Answers(s);
    }
};

// Root runs the suite: a process of user nobody first meets the private
// folder, then, with the folder opened up, the game's check of who calls.
TEST_F(InstanceTest, AnotherUserCannotConnectOrIsRefused)
{
    if (geteuid() != 0 || Shell("command -v setpriv > /dev/null") != 0)
        GTEST_SKIP() << "needs root and setpriv";
    fs::copy_file("/proc/self/exe", base / "client");
    chmod((base / "client").c_str(), 0755);
    std::string client = "SS_INSTANCE_CLIENT='" + socketPath.string() + "' '" + (base / "client").string() + "'";
    std::string nobody = "setpriv --reuid=65534 --regid=65534 --clear-groups env " + client;
    EXPECT_EQ(Shell(nobody), 10);   // cannot connect
    chmod(run.c_str(), 0711);
    chmod(socketPath.c_str(), 0777);
    EXPECT_EQ(Shell(nobody), 20);   // connected, and closed without a request taken
    EXPECT_EQ(Pump(), 0);
    EXPECT_EQ(Shell("env " + client), 22);   // the same user's call is taken whole
    EXPECT_EQ(Pump(), 11);
}

TEST_F(InstanceTest, BadSilentAndFloodingCallersAreClosedAndACallStillGetsIn)
{
    struct CallDef {
        std::string bytes;
        int taken;
    };
    std::string oldPost(24, '\0');   // kind, message, wParam, lParam: WM_SOUNDDONE with a made-up pointer
    oldPost[0] = 2, oldPost[4] = 0x32, oldPost[5] = 4, oldPost[16] = 0x34, oldPost[17] = 0x12;
    const CallDef callTable[] = {
        { "", 0 },                                     // silent
        { "SS", 0 },                                   // half a request
        { std::string("SS\1\3", 4), 0 },               // unknown request
        { std::string("XS\1\1", 4), 0 },
        { oldPost, 0 },
        { forward + "S", 1 },                          // a request, then half of one
        { forward + redraw + forward, 2 },             // one too many
        { std::string(1 << 16, 'S'), 0 },
    };
    // All at once: the silent ones run out their time side by side.
    std::vector<int> sockets;
    for (const CallDef& call : callTable) {
        sockets.push_back(Connect(socketPath));
        send(sockets.back(), call.bytes.data(), call.bytes.size(), MSG_NOSIGNAL);
    }
    for (size_t i = 0; i < sockets.size(); i++)
        EXPECT_EQ(Answers(sockets[i]), callTable[i].taken) << "call " << i;
    EXPECT_EQ(Pump(), 11);   // however many asked, one redraw is waiting

    // Silent callers beyond the slots that serve them hold up nobody: a
    // call is through while the last of them still waits.
    std::vector<int> silent;
    for (int i = 0; i < 12; i++)
        silent.push_back(Connect(socketPath));
    EXPECT_EQ(Call(forward + redraw), 2);
    char byte;
    EXPECT_EQ(recv(silent.back(), &byte, 1, MSG_DONTWAIT), -1);
    EXPECT_EQ(errno, EAGAIN);
    EXPECT_EQ(Pump(), 11);
    for (int s : silent)
        EXPECT_EQ(Answers(s), 0);

    // A flood leaves one request of each waiting.
    for (int i = 0; i < 50000; i++) {   // 100,000 requests, two a caller
        int s = Connect(socketPath);
        send(s, (forward + redraw).data(), 8, MSG_NOSIGNAL);
        close(s);
    }
    EXPECT_EQ(Call(forward + redraw), 2);   // taken after all those before it
    EXPECT_EQ(Pump(), 11);
}

// A file left at the socket's place by a copy that crashed is replaced when
// it is this user's socket with nothing behind it; anything else is left be.
TEST_F(InstanceTest, OnlyAStaleSocketOfTheGamesOwnIsReplaced)
{
    HeadlessReset();
    int stale = Connect(socketPath, bind);
    ASSERT_GE(stale, 0);
    close(stale);
    Start();
    EXPECT_EQ(Call(forward + redraw), 2);

    HeadlessReset();
    std::ofstream(socketPath) << "someone's";
    Start();
    EXPECT_EQ(ReadFile(socketPath), "someone's");
    EXPECT_LT(Connect(socketPath), 0);   // and this copy runs alone
    fs::remove(socketPath);
}

// The whole program records a real second copy's call, and its replay, in another
// folder, gives every frame again. The same recording with the call turned into a message that
// carries a pointer is refused as damaged where the call came in.
TEST(InstanceRecording, ASecondCopysCallReplaysAndNoPointerComesFromOutside)
{
    fs::path folder = fs::path(::testing::TempDir()) / "instance-recording";
    fs::remove_all(folder);
    fs::create_directories(folder / "replayed");
    std::string runner = "cd '" + folder.string() + "' && '" SS_HEADLESS_RUNNER "' ";
    std::ofstream(folder / "first.txt") << "at 3000 await-remote\nat 4000 quit\n";
    std::ofstream(folder / "second.txt") << "at 100 quit\n";
    ASSERT_EQ(Shell(runner + "first.txt --record first.rec --hash > first.out 2> first.err &"), 0);
    for (int i = 0; i < 1200 && ReadFile(folder / "first.err").find("awaiting") == std::string::npos; i++)
        usleep(50000);
    ASSERT_EQ(Shell(runner + "second.txt > second.out 2> second.err"), 0);
    EXPECT_EQ(ReadFile(folder / "second.out"), "ticks=0 frames=0 boxes=0\n");   // it loads and shows nothing
    for (int i = 0; i < 1200 && ReadFile(folder / "first.out").find("ticks=") == std::string::npos; i++)
        usleep(50000);
    ASSERT_NE(ReadFile(folder / "first.err").find("to the front\nheadless: asked to handle message 0x52C"), std::string::npos);

    std::string replayer = "cd '" + (folder / "replayed").string() + "' && '" SS_HEADLESS_RUNNER "' --replay ";
    EXPECT_EQ(Shell(replayer + "../first.rec --hash > out.txt 2> err.txt"), 0) << ReadFile(folder / "replayed/err.txt");
    std::string frames = ReadFile(folder / "first.out");
    EXPECT_GT(frames.size(), 1000u);
    EXPECT_EQ(ReadFile(folder / "replayed/out.txt"), frames);
    // A cut recording and muddled command lines are clear errors.
    std::string bytes = ReadFile(folder / "first.rec");
    std::ofstream(folder / "cut.rec", std::ios::binary) << bytes.substr(0, bytes.size() / 2);
    EXPECT_EQ(Shell(replayer + "../cut.rec 2> err.txt"), 2);
    EXPECT_NE(ReadFile(folder / "replayed/err.txt").find("cut.rec is truncated"), std::string::npos);
    EXPECT_EQ(Shell(runner + "second.txt --replay first.rec 2> /dev/null"), 2);
    EXPECT_EQ(Shell(runner + "--replay first.rec --record again.rec 2> /dev/null"), 2);

    // The call is the one post to window 1 of message 0x52C with 0, 0.
    const std::string call("\x01\xAC\x0A\x00\x00", 5);
    size_t at = bytes.find(call);
    ASSERT_NE(at, std::string::npos);
    ASSERT_EQ(bytes.find(call, at + 1), std::string::npos);
    const std::string pointerTable[] = {
        std::string("\x01\x00\xE8\x48", 4),       // WM_CREATE with a made-up pointer
        std::string("\xB2\x08\x00\xE8\x48", 5),   // the sound's
        std::string("\xC8\x09\x00\xE8\x48", 5),   // a particle's
        std::string("\xC9\x09\x02\xE8\x48", 5),   // an effect's
        std::string("\xAC\x0A\x00\xE8\x48", 5),   // the redraw itself, with a pointer
    };
    for (const std::string& post : pointerTable) {
        std::string bad = Sealed(bytes.substr(0, at + 1) + post + bytes.substr(at + call.size()));
        fs::remove_all(folder / "replayed");
        fs::create_directories(folder / "replayed");
        std::ofstream(folder / "bad.rec", std::ios::binary) << bad;
        EXPECT_EQ(Shell(replayer + "../bad.rec > out.txt 2> err.txt"), 4);
        EXPECT_NE(ReadFile(folder / "replayed/err.txt").find("cannot come from outside"), std::string::npos)
            << ReadFile(folder / "replayed/err.txt");
    }
}

}   // namespace
