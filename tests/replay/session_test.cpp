// The runner's --record, --replay and --hash on the whole program: a scripted session replayed in another folder.
#include "platform/record.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

namespace fs = std::filesystem;

struct RunnerResult {
    int exitCode;
    std::string out;
    std::string err;
};

std::string ReadFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

fs::path Folder(const std::string& name)
{
    fs::path folder = fs::path(::testing::TempDir()) / ("session-" + name);
    fs::remove_all(folder);
    fs::create_directories(folder);
    return folder;
}

RunnerResult Runner(const fs::path& folder, const std::string& arguments)
{
    std::string command = "cd '" + folder.string() + "' && '" SS_HEADLESS_RUNNER "' " + arguments + " > out.txt 2> err.txt";
    int status = std::system(command.c_str());
    return { WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadFile(folder / "out.txt"), ReadFile(folder / "err.txt") };
}

// The frame lines of --hash output.
std::string Frames(const std::string& out)
{
    std::istringstream in(out);
    std::string frames;
    for (std::string line; std::getline(in, line);)
        if (line.rfind("frame ", 0) == 0)
            frames += line + "\n";
    return frames;
}

// The menu, a tap, keys held and let go, and the window losing the front for a while.
const char* const sessionScript =
    "at 3000 tap 120 90\nat 3400 down left\nat 3900 up left\nat 4000 down fire\nat 4050 up fire\n"
    "at 4500 deactivate\nat 5200 activate\nat 5600 down menu\nat 5650 up menu\nat 7000 quit\n";

class SessionTest : public ::testing::Test {
protected:
    fs::path recorded = Folder(::testing::UnitTest::GetInstance()->current_test_info()->name());
    RunnerResult original;

    void SetUp() override
    {
        std::ofstream(recorded / "script.txt") << sessionScript;
        original = Runner(recorded, "script.txt --record session.rec --hash");
        ASSERT_EQ(original.exitCode, 0) << original.err;
    }
};

TEST_F(SessionTest, ReplayingInAnotherFolderGivesEveryFrameAgain)
{
    std::string frames = Frames(original.out);
    ASSERT_GT(std::count(frames.begin(), frames.end(), '\n'), 50);
    fs::path again = Folder("replayed");
    RunnerResult replay = Runner(again, "--replay '" + (recorded / "session.rec").string() + "' --hash");
    EXPECT_EQ(replay.exitCode, 0) << replay.err;
    EXPECT_EQ(Frames(replay.out), frames);
    EXPECT_EQ(replay.out.substr(replay.out.rfind("ticks=")), original.out.substr(original.out.rfind("ticks=")));
    EXPECT_EQ(ReadFile(again / recordScoreFile), ReadFile(recorded / recordScoreFile));
}

TEST_F(SessionTest, AReplayThatGoesAnotherWayStopsAtTheFirstFrameThatDiffers)
{
    // The same recording told to draw in another pixel format: every answer
    // matches, and the first frame with colour in it does not.
    std::string bytes = ReadFile(recorded / "session.rec");
    ASSERT_GT(bytes.size(), 20u);
    bytes[8 + 0] = (char)(bytes[8 + 0] ^ (0x80 | 0x40));
    uint64_t sum = RecordChecksum((const uint8_t*)bytes.data(), bytes.size() - 8);
    for (int i = 0; i < 8; i++)
        bytes[bytes.size() - 8 + (size_t)i] = (char)(sum >> (8 * i));
    std::ofstream(recorded / "other.rec", std::ios::binary) << bytes;
    RunnerResult replay = Runner(Folder("other"), "--replay '" + (recorded / "other.rec").string() + "'");
    EXPECT_EQ(replay.exitCode, 4);
    EXPECT_NE(replay.err.find("differs from the recording"), std::string::npos) << replay.err;
}

TEST_F(SessionTest, DamagedRecordingsAndBadCommandLinesAreClearErrors)
{
    std::string bytes = ReadFile(recorded / "session.rec");
    std::ofstream(recorded / "cut.rec", std::ios::binary) << bytes.substr(0, bytes.size() / 2);
    RunnerResult cut = Runner(recorded, "--replay cut.rec");
    EXPECT_EQ(cut.exitCode, 2);
    EXPECT_NE(cut.err.find("cut.rec is truncated"), std::string::npos) << cut.err;

    // The recording's own folder now holds the table the session left behind.
    std::ofstream(recorded / recordScoreFile, std::ios::binary) << "changed";
    RunnerResult here = Runner(recorded, "--replay session.rec");
    EXPECT_EQ(here.exitCode, 2);
    EXPECT_NE(here.err.find("replay in an empty folder"), std::string::npos) << here.err;

    EXPECT_EQ(Runner(recorded, "script.txt --replay session.rec").exitCode, 2);
    EXPECT_EQ(Runner(recorded, "--replay session.rec --record again.rec").exitCode, 2);
}

}   // namespace
