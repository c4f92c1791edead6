// Golden runs: recorded games replayed frame by frame, each held to its final score, stage, high scores and last frame.
#include "app/entry.h"
#include "app/random.h"
#include "game/world.h"
#include "platform/headless.h"
#include "platform/record.h"
#include "platform/sys.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

namespace {

namespace fs = std::filesystem;

const fs::path goldenFolder = fs::path(__FILE__).parent_path() / "golden";

uint64_t lastFrame;

void KeepLastFrame(void*)
{
    static uint16_t screen[240 * 320];
    HeadlessScreenRead(screen);
    lastFrame = RecordHash(screen);
}

std::string Hex(const std::string& bytes)
{
    std::string text;
    char pair[3];
    for (unsigned char c : bytes) {
        snprintf(pair, sizeof pair, "%02x", c);
        text += pair;
    }
    return text.empty() ? "none" : text;
}

std::string ReadFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// "key value" lines; # starts a comment.
std::map<std::string, std::string> ReadFacts(const std::string& text)
{
    std::map<std::string, std::string> facts;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#')
            continue;
        std::istringstream words(line);
        std::string key, value;
        words >> key >> value;
        facts[key] = value;
    }
    return facts;
}

// Replays a recording in a child process, as a fresh start of the program
// would: its own statics and the game's unseeded random sequence, which
// RandomSeed(1) restores. Writes what the game ended with into folder/facts.txt.
void ReplayInChild(const fs::path& recording, const fs::path& folder)
{
    if (!freopen((folder / "err.txt").c_str(), "w", stderr) || chdir(folder.c_str()) != 0)
        _exit(5);
    RandomSeed(1);
    HeadlessReset();
    std::wstring program = fs::path(SS_BUILD_DIR "/space-shooter").wstring();
    HeadlessSetModuleFileName(program.c_str());
    std::string error;
    if (!ReplayStart(recording.string(), &error)) {
        fprintf(stderr, "%s\n", error.c_str());
        _exit(2);
    }
    HeadlessFollowReplay();
    HeadlessSetPresentHook(KeepLastFrame, nullptr);
    WinMain(SysModule(), nullptr, "", 1);
    if (!ReplayFinish(&error)) {
        fprintf(stderr, "%s\n", error.c_str());
        _exit(4);
    }
    std::ofstream facts("facts.txt");
    char hash[17];
    snprintf(hash, sizeof hash, "%016llx", (unsigned long long)lastFrame);
    facts << "score " << gameWorld.score << "\nstage " << gameWorld.stageNumber << "\nframes " << RecordFrames()
          << "\nticks " << HeadlessNow() << "\nlast-frame " << hash << "\nhigh-scores "
          << Hex(ReadFile(recordScoreFile)) << "\n";
    facts.close();
    fflush(nullptr);
    _exit(0);
}

class Golden : public ::testing::TestWithParam<std::string> {};

// With SS_GOLDEN_WRITE set, the run writes what it found as the new
// expectation instead of comparing: tests/replay/golden/remake does that
// after recording the games afresh.
TEST_P(Golden, ReplaysFrameForFrameToTheSameEnd)
{
    fs::path recording = goldenFolder / (GetParam() + ".rec");
    fs::path expectation = goldenFolder / (GetParam() + ".expect");
    fs::path folder = fs::path(::testing::TempDir()) / ("golden-" + GetParam());
    fs::remove_all(folder);
    fs::create_directories(folder);

    fflush(nullptr);
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0)
        ReplayInChild(recording, folder);
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << ReadFile(folder / "err.txt");

    std::string found = ReadFile(folder / "facts.txt");
    if (getenv("SS_GOLDEN_WRITE")) {
        std::ofstream(expectation) << "# How the replay of " << GetParam() << ".rec ends\n" << found;
        return;
    }
    std::map<std::string, std::string> expected = ReadFacts(ReadFile(expectation));
    std::map<std::string, std::string> actual = ReadFacts(found);
    ASSERT_EQ(expected.size(), 6u) << expectation;
    for (const auto& [key, value] : expected)
        EXPECT_EQ(actual[key], value) << key;
}

// Named after the recordings, with '_' for '-': the remake script filters by these names.
INSTANTIATE_TEST_SUITE_P(Runs, Golden,
                         ::testing::Values("autopilot-boss", "autopilot-game-over", "autopilot-games", "desktop-session"),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                             std::string name = info.param;
                             std::replace(name.begin(), name.end(), '-', '_');
                             return name;
                         });

}   // namespace
