// The screens' runner script: a whole run from the splash to the closing screen, a picture of each.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

namespace fs = std::filesystem;

std::string ReadFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(ScreensScript, WalksEveryScreenAndSavesAPictureOfEach)
{
    fs::path script = fs::path(__FILE__).parent_path() / "scripts" / "screens.txt";
    fs::path folder = fs::path(::testing::TempDir()) / "ui-script";
    fs::remove_all(folder);
    fs::create_directories(folder);
    std::string command = "cd '" + folder.string() + "' && '" SS_HEADLESS_RUNNER "' '" + script.string() +
                          "' --frames . > out.txt 2> err.txt";
    int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << ReadFile(folder / "err.txt");
    EXPECT_NE(ReadFile(folder / "out.txt").find("boxes=0"), std::string::npos);

    // Each picture is a PNG with something on it (a blank frame packs into a
    // few hundred bytes), and no two are the same.
    const char* names[] = { "splash", "menu", "high-scores", "menu-again", "game-over", "menu-after-game", "closing" };
    std::vector<std::string> pictures;
    for (const char* name : names) {
        std::string bytes = ReadFile(folder / (std::string(name) + ".png"));
        ASSERT_GT(bytes.size(), 1500u) << name;
        EXPECT_EQ(bytes.compare(1, 3, "PNG"), 0) << name;
        for (const std::string& other : pictures)
            EXPECT_NE(bytes, other) << name;
        pictures.push_back(bytes);
    }
    // The table the walk showed was made at start-up.
    EXPECT_EQ(fs::file_size(folder / "Skyrend.dat"), 240u);
    EXPECT_FALSE(fs::exists(folder / "hscore.tmp"));
}

}  // namespace
