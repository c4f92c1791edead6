// A second generator run gives the same bytes (how the sounds load is the loader's tests, how they sound the sound check's).
#include "tests/res/asset_files.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

// The generator draws from its own fixed-seed generator: a fresh run into
// another folder writes exactly the files of the build.
TEST(Generator, TwoRunsGiveTheSameBytes)
{
    namespace fs = std::filesystem;
    fs::path out = fs::temp_directory_path() / (std::string("assetgen-twice-") + std::to_string(::getpid()));
    fs::remove_all(out);
    std::string command = std::string("\"") + SS_BUILD_DIR + "/tools/assetgen/assetgen\" \"" + out.string() + "\"";
    ASSERT_EQ(std::system(command.c_str()), 0);
    int compared = 0;
    for (const char* dir : { "res", "GFX", "sounds" }) {
        for (const auto& entry : fs::directory_iterator(out / dir)) {
            if (!entry.is_regular_file())
                continue;
            std::string name = std::string(dir) + "/" + entry.path().filename().string();
            if (name.size() > 4 && name.substr(name.size() - 4) == ".cpp")
                continue;
            EXPECT_EQ(ReadAll(entry.path().string()), ReadAll(AssetPath(name))) << name;
            compared++;
        }
    }
    EXPECT_GT(compared, 50);
    fs::remove_all(out);
}

} // namespace
