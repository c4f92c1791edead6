// Whole runs of the program through the headless runner: start-up, states, focus, frames saved, a second copy.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

namespace {

namespace fs = std::filesystem;

struct RunResult {
    int exitCode;
    std::string out;
    std::string err;
    long ticks = -1;
    long frames = -1;
    long boxes = -1;
};

std::string ReadFile(const fs::path& path)
{
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

fs::path TestFolder(const std::string& suffix = "")
{
    fs::path folder = fs::path(::testing::TempDir()) /
                      (std::string("runner-") + ::testing::UnitTest::GetInstance()->current_test_info()->name() + suffix);
    fs::remove_all(folder);
    fs::create_directories(folder);
    return folder;
}

// Runs the runner in folder on script; options are added to its command line.
RunResult RunScript(const fs::path& folder, const std::string& script, const std::string& options = "")
{
    std::ofstream(folder / "script.txt") << script;
    std::string command = "cd '" + folder.string() + "' && '" SS_HEADLESS_RUNNER "' script.txt " + options +
                          " > out.txt 2> err.txt";
    int status = std::system(command.c_str());
    RunResult run;
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.out = ReadFile(folder / "out.txt");
    run.err = ReadFile(folder / "err.txt");
    sscanf(run.out.c_str(), "ticks=%ld frames=%ld boxes=%ld", &run.ticks, &run.frames, &run.boxes);
    return run;
}

long CountLines(const std::string& text, const std::string& prefix)
{
    long count = 0;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        count += line.rfind(prefix, 0) == 0;
    return count;
}

bool IsPng(const fs::path& path)
{
    std::string bytes = ReadFile(path);
    return bytes.size() > 8 && bytes.compare(1, 3, "PNG") == 0;
}

TEST(Runner, StartUpReachesTheMenuAndClosesFromIt)
{
    fs::path folder = TestFolder();
    RunResult run = RunScript(folder, "# the menu is up long before this\nat 8000 shot menu\nat 9000 quit\n");
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.ticks, 9000);
    EXPECT_GT(run.frames, 0);
    EXPECT_EQ(run.boxes, 0) << run.err;   // every image, the font and the sounds load
    EXPECT_TRUE(IsPng(folder / "menu.png"));
    EXPECT_TRUE(fs::exists(folder / "Skyrend.dat"));
}

TEST(Runner, MissingFilesBesideTheProgramAreReportedAndStartUpGoesOn)
{
    // A copy of the program whose folder lacks one picture and one sound.
    fs::path folder = TestFolder();
    fs::copy_file(SS_HEADLESS_RUNNER, folder / "space-shooter-headless");
    fs::copy(fs::path(SS_BUILD_DIR) / "GFX", folder / "GFX");
    fs::copy(fs::path(SS_BUILD_DIR) / "sounds", folder / "sounds");
    fs::remove(folder / "GFX" / "PAGE1.BMP");
    fs::remove(folder / "sounds" / "fire.wav");
    std::ofstream(folder / "script.txt") << "at 3000 shot menu\nat 3500 quit\n";
    std::string command = "cd '" + folder.string() + "' && ./space-shooter-headless script.txt > out.txt 2> err.txt";
    ASSERT_EQ(std::system(command.c_str()), 0);
    std::string err = ReadFile(folder / "err.txt");
    EXPECT_EQ(CountLines(err, "box: "), 2) << err;
    EXPECT_NE(err.find("box: Debug: Unable to load PAGE1 bitmap\n"), std::string::npos) << err;
    EXPECT_NE(err.find("box: File Missing: sounds\\fire.wav\n"), std::string::npos) << err;
    EXPECT_TRUE(IsPng(folder / "menu.png"));
}

TEST(Runner, PlayPausesWithTheMenuKeyAndResumes)
{
    fs::path folder = TestFolder();
    // New Game, then the menu key, then Resume Game, then Exit Game.
    RunResult run = RunScript(folder,
                        "at 8000 tap 118 90\n"
                        "at 20000 down menu\n"
                        "at 20040 up menu\n"
                        "at 25000 tap 118 134\n"
                        "at 30000 down menu\n"
                        "at 30040 up menu\n"
                        "at 35000 tap 118 219\n");
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_GE(run.ticks, 35000);
    EXPECT_LT(run.ticks, 35000 + 60000);   // "Exit Game" ends the run, not the time limit
}

TEST(Runner, NoFrameRunsWhileAnotherWindowIsInFront)
{
    const std::string play = "at 8000 tap 118 90\n";
    RunResult steady = RunScript(TestFolder("-steady"), play + "at 30000 quit\n");
    RunResult away = RunScript(TestFolder("-away"), play + "at 20000 deactivate\nat 25000 clickactivate\nat 28000 activate\nat 30000 quit\n");
    ASSERT_EQ(steady.exitCode, 0) << steady.err;
    ASSERT_EQ(away.exitCode, 0) << away.err;
    // Eight seconds away from the front at 20 frames a second, less the one
    // frame shown again on the return.
    EXPECT_EQ(steady.frames - away.frames, 8000 / 50 - 1);
}

TEST(Runner, SavesEveryFrameAskedFor)
{
    fs::path folder = TestFolder();
    RunResult run = RunScript(folder, "at 8000 tap 118 90\nat 9000 quit\n", "--frames . --every 500 --format 555");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    int saved = 0;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder))
        if (entry.path().filename().string().rfind("frame-", 0) == 0)
            saved += IsPng(entry.path());
    // The start banner holds the program past the quit's time: count by the run's own end.
    EXPECT_GE(saved, run.ticks / 500 - 4);
    EXPECT_LE(saved, run.ticks / 500 + 1);
}

TEST(Runner, RefusesABadScriptOrCommandLine)
{
    fs::path folder = TestFolder();
    RunResult bad = RunScript(folder, "at 10 tap 1 2\nat 20 jump\n");
    EXPECT_EQ(bad.exitCode, 2);
    EXPECT_NE(bad.err.find("line 2"), std::string::npos);
    EXPECT_EQ(RunScript(folder, "at 50 tap 300 10\n").exitCode, 2);
    EXPECT_EQ(RunScript(folder, "at 50 quit\nat 40 quit\n").exitCode, 2);
    EXPECT_EQ(RunScript(folder, "at 50 quit\n", "--format 444").exitCode, 2);
}

TEST(Runner, NamesAMissingScriptAndMakesTheFramesFolder)
{
    fs::path folder = TestFolder();
    std::string command = "cd '" + folder.string() + "' && '" SS_HEADLESS_RUNNER "' absent.txt > out.txt 2> err.txt";
    int status = std::system(command.c_str());
    EXPECT_NE(WEXITSTATUS(status), 0);
    EXPECT_NE(ReadFile(folder / "err.txt").find("absent.txt"), std::string::npos);

    RunResult bad = RunScript(folder, "at 10 tap 1 2\n\n# a comment\nat 20 down sideways\n");
    EXPECT_EQ(bad.exitCode, 2);
    EXPECT_NE(bad.err.find("script.txt: line 4: unknown key"), std::string::npos) << bad.err;

    RunResult run = RunScript(folder, "at 3000 shot menu\nat 3500 quit\n", "--frames new/deeper");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(IsPng(folder / "new" / "deeper" / "menu.png"));
}

// The samples of a captured 8-bit WAV file that stand away from silence (128).
long AudibleSamples(const fs::path& path, std::string* header)
{
    std::string bytes = ReadFile(path);
    if (bytes.size() < 44)
        return -1;
    *header = bytes.substr(0, 4) + bytes.substr(8, 4) + bytes.substr(36, 4);
    long audible = 0;
    for (size_t i = 44; i < bytes.size(); i++)
        audible += std::abs((int)(uint8_t)bytes[i] - 128) > 2;
    return audible;
}

TEST(Runner, CapturesTheSoundsARunPlays)
{
    // New Game, then, once the stage banner is over, fire held for three
    // seconds: its repeats fire shot after shot.
    const std::string play = "at 8000 tap 118 90\n";
    const std::string fire = "at 16000 down fire\nat 19000 up fire\nat 20000 quit\n";
    fs::path quiet = TestFolder("-quiet"), firing = TestFolder("-firing");
    RunResult still = RunScript(quiet, play + "at 20000 quit\n", "--audio out.wav");
    RunResult shooting = RunScript(firing, play + fire, "--audio out.wav");
    ASSERT_EQ(still.exitCode, 0) << still.err;
    ASSERT_EQ(shooting.exitCode, 0) << shooting.err;
    std::string header;
    long withoutFire = AudibleSamples(quiet / "out.wav", &header);
    EXPECT_EQ(header, "RIFFWAVEdata");
    long withFire = AudibleSamples(firing / "out.wav", &header);
    EXPECT_EQ(header, "RIFFWAVEdata");
    EXPECT_GT(withoutFire, 0);   // the menu sounds its button when New Game is tapped
    // Shots every few frames for three seconds at 22050 Hz: well over a second more of sound.
    EXPECT_GT(withFire, withoutFire + 22050);

    // The same script gives the same bytes.
    RunResult again = RunScript(firing, play + fire, "--audio again.wav");
    ASSERT_EQ(again.exitCode, 0) << again.err;
    EXPECT_EQ(ReadFile(firing / "out.wav"), ReadFile(firing / "again.wav"));
}

TEST(Runner, AScriptWithoutQuitStopsAtItsTimeLimit)
{
    RunResult run = RunScript(TestFolder(), "at 100 shot early\n");
    EXPECT_EQ(run.exitCode, 3);
    EXPECT_NE(run.err.find("time limit"), std::string::npos);
}

TEST(Runner, ASecondCopyBringsTheFirstForward)
{
    fs::path folder = TestFolder();
    std::ofstream(folder / "first.txt") << "at 8000 await-remote\nat 9000 quit\n";
    std::ofstream(folder / "second.txt") << "at 100 quit\n";
    std::string first = "cd '" + folder.string() + "' && '" SS_HEADLESS_RUNNER "' first.txt > first.out 2> first.err &";
    ASSERT_EQ(std::system(first.c_str()), 0);

    // Wait until the first copy is up and waiting for its caller (a minute at most: sanitizer builds start slowly).
    for (int i = 0; i < 1200 && ReadFile(folder / "first.err").find("awaiting") == std::string::npos; i++)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    ASSERT_NE(ReadFile(folder / "first.err").find("awaiting"), std::string::npos);

    RunResult second = RunScript(folder, "at 100 quit\n");
    EXPECT_EQ(second.exitCode, 0);
    EXPECT_EQ(second.out, "ticks=0 frames=0 boxes=0\n");   // it loaded and showed nothing

    for (int i = 0; i < 1200 && ReadFile(folder / "first.out").find("ticks=") == std::string::npos; i++)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    std::string err = ReadFile(folder / "first.err");
    EXPECT_NE(err.find("asked to come to the front"), std::string::npos) << err;
    EXPECT_NE(err.find("asked to handle message 0x52C"), std::string::npos) << err;
    EXPECT_NE(ReadFile(folder / "first.out").find("ticks=9000"), std::string::npos);
}

}  // namespace
