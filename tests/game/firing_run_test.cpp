// A whole game run through the headless runner with the fire key pressed through the first wave: the capture
// holds the shots and the explosions. The score those ships earn is pinned by the golden replays.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// Starts a game from the menu, presses fire every 250 ms when asked and records the sound; the folder it ran in.
fs::path RunGame(const std::string& name, bool fire)
{
    fs::path folder = fs::path(::testing::TempDir()) / ("firing-run-" + name);
    fs::remove_all(folder);
    fs::create_directories(folder);
    std::ostringstream script;
    script << "at 8000 tap 118 90\n";
    for (int t = 9000; t < 39000; t += 250) {
        if (fire)
            script << "at " << t << " down fire\nat " << t + 40 << " up fire\n";
    }
    script << "at 39500 quit\n";
    std::ofstream(folder / "script.txt") << script.str();
    std::string command = "cd '" + folder.string() + "' && '" SS_HEADLESS_RUNNER
                          "' script.txt --audio run.wav > out.txt 2> err.txt";
    EXPECT_EQ(std::system(command.c_str()), 0);
    return folder;
}

// Loud tenths of a second whose two channels agree throughout (the fire sound is mono, so it plays alike
// on both), and tenths where most samples differ (the explosion is stereo). The capture is 8-bit stereo
// at 22050 Hz after a 44-byte header.
std::pair<int, int> Listen(const fs::path& wav)
{
    std::ifstream in(wav, std::ios::binary);
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::pair<int, int> windows = { 0, 0 };
    if (bytes.size() < 44 || bytes[22] != 2 || bytes[34] != 8)
        return windows;
    const size_t frames = 2205;
    for (size_t start = 44; start + 2 * frames <= bytes.size(); start += 2 * frames) {
        long energy = 0, differ = 0;
        for (size_t i = start; i < start + 2 * frames; i += 2) {
            energy += std::abs(bytes[i] - 128);
            differ += bytes[i] != bytes[i + 1];
        }
        windows.first += differ == 0 && energy / (long)frames >= 10;
        windows.second += differ * 2 > (long)frames;
    }
    return windows;
}

TEST(FiringRun, HoldingFireThroughTheFirstWaveDestroysShipsWithSound)
{
    fs::path sounds = fs::path(SS_BUILD_DIR) / "sounds";
    if (!fs::exists(sounds / "fire.wav") || !fs::exists(sounds / "die.wav"))
        GTEST_SKIP() << "no game sounds beside the runner in " << SS_BUILD_DIR;
    fs::path firing = RunGame("fire", true), idle = RunGame("idle", false);
    // The idle run hears the menu's button and the ship's own deaths; firing adds the shots and, for about
    // a second each, the ships blowing up.
    auto [shots, explosions] = Listen(firing / "run.wav");
    auto [quietShots, quietExplosions] = Listen(idle / "run.wav");
    EXPECT_GE(shots, quietShots + 10) << "shots";
    EXPECT_GE(explosions, quietExplosions + 20) << "explosions";
}

}   // namespace
