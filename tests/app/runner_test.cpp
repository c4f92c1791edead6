// Whole runs through the headless runner: the screens script, missing files, saved frames, bad scripts.
#include "tests/outside.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

namespace fs = std::filesystem;
using namespace outside;

struct RunResult {
    int exitCode;
    std::string out;
    std::string err;
    long ticks = -1;
    long boxes = -1;
};

fs::path TestFolder()
{
    fs::path folder = fs::path(::testing::TempDir()) /
                      (std::string("runner-") + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(folder);
    fs::create_directories(folder);
    return folder;
}

// Runs the runner (or another copy of it) in folder on script; options are added to its command line.
RunResult RunScript(const fs::path& folder, const std::string& script, const std::string& options = "",
                    const std::string& runner = "'" SS_HEADLESS_RUNNER "'")
{
    std::ofstream(folder / "script.txt") << script;
    std::string command = "cd '" + folder.string() + "' && " + runner + " script.txt " + options + " > out.txt 2> err.txt";
    RunResult run;
    run.exitCode = Shell(command);
    run.out = ReadFile(folder / "out.txt");
    run.err = ReadFile(folder / "err.txt");
    sscanf(run.out.c_str(), "ticks=%ld frames=%*d boxes=%ld", &run.ticks, &run.boxes);
    return run;
}

bool IsPng(const fs::path& path)
{
    std::string bytes = ReadFile(path);
    return bytes.size() > 8 && bytes.compare(1, 3, "PNG") == 0;
}

// The screens' runner script: a whole run from the splash to the closing screen, a picture of each.
TEST(Runner, TheScreensScriptWalksEveryScreenAndSavesAPictureOfEach)
{
    fs::path folder = TestFolder();
    std::string script = ReadFile(fs::path(__FILE__).parent_path().parent_path() / "ui" / "scripts" / "screens.txt");
    ASSERT_FALSE(script.empty());
    RunResult run = RunScript(folder, script, "--frames .");
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.boxes, 0) << run.err;   // every image, the font and the sounds load

    // Each picture is a PNG with something on it (a blank frame packs into a
    // few hundred bytes), and no two are the same.
    const char* names[] = { "splash", "menu", "high-scores", "menu-again", "game-over", "menu-after-game", "closing" };
    std::vector<std::string> pictures;
    for (const char* name : names) {
        std::string bytes = ReadFile(folder / (std::string(name) + ".png"));
        ASSERT_GT(bytes.size(), 1500u) << name;
        EXPECT_TRUE(IsPng(folder / (std::string(name) + ".png"))) << name;
        for (const std::string& other : pictures)
            EXPECT_NE(bytes, other) << name;
        pictures.push_back(bytes);
    }
    // The table the walk showed was made at start-up.
    EXPECT_EQ(fs::file_size(folder / "Skyrend.dat"), 240u);
    EXPECT_FALSE(fs::exists(folder / "hscore.tmp"));
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
    RunResult run = RunScript(folder, "at 3000 shot menu\nat 3500 quit\n", "", "./space-shooter-headless");
    ASSERT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.boxes, 2) << run.err;
    EXPECT_NE(run.err.find("box: Debug: Unable to load PAGE1 bitmap\n"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("box: File Missing: sounds\\fire.wav\n"), std::string::npos) << run.err;
    EXPECT_TRUE(IsPng(folder / "menu.png"));
}

TEST(Runner, RefusesABadScriptOrCommandLineAndMakesTheFramesFolder)
{
    fs::path folder = TestFolder();
    std::string command = "cd '" + folder.string() + "' && '" SS_HEADLESS_RUNNER "' absent.txt > out.txt 2> err.txt";
    EXPECT_NE(Shell(command), 0);
    EXPECT_NE(ReadFile(folder / "err.txt").find("absent.txt"), std::string::npos);

    RunResult bad = RunScript(folder, "at 10 tap 1 2\n\n# a comment\nat 20 down sideways\n");
    EXPECT_EQ(bad.exitCode, 2);
    EXPECT_NE(bad.err.find("script.txt: line 4: unknown key"), std::string::npos) << bad.err;
    // A script without a quit stops at its time limit (3).
    const struct { const char* script; const char* options; int exitCode; } rows[] = {
        { "at 20 jump\n", "", 2 }, { "at 50 tap 300 10\n", "", 2 }, { "at 50 quit\nat 40 quit\n", "", 2 },
        { "at 50 quit\n", "--format 444", 2 }, { "at 100 shot early\n", "", 3 } };
    for (const auto& row : rows)
        EXPECT_EQ(RunScript(folder, row.script, row.options).exitCode, row.exitCode) << row.script << row.options;

    // Every frame asked for is saved, into a folder the run makes.
    RunResult run = RunScript(folder, "at 8000 tap 118 90\nat 9000 quit\n", "--frames new/deeper --every 500 --format 555");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    int saved = 0;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder / "new" / "deeper"))
        saved += entry.path().filename().string().rfind("frame-", 0) == 0 && IsPng(entry.path());
    // The start banner holds the program past the quit's time: count by the run's own end.
    EXPECT_GE(saved, run.ticks / 500 - 4);
    EXPECT_LE(saved, run.ticks / 500 + 1);
}

}  // namespace
