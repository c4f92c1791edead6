// The desktop's folders: where screenshots go, where the data folder is, and when the program works in it.
#include "desktop_env.h"

#include "platform/backend.h"
#include "platform/sdl/sdl_internal.h"

#include <fstream>

namespace {

using namespace desktop;

// Screenshots go to the XDG pictures folder, then ~/Pictures, then the data
// folder; the data folder follows XDG_DATA_HOME unless it is relative.
TEST(Folders, ScreenshotsAndTheDataFolderFollowTheXdgRules)
{
    fs::path home = FreshHome();
    // No pictures folder at all: the data folder, made on the way.
    EXPECT_EQ(SdlPicturesFolder(), (home / ".local/share/space-shooter").string());
    EXPECT_TRUE(fs::is_directory(home / ".local/share/space-shooter"));

    fs::create_directories(home / "Pictures");
    EXPECT_EQ(SdlPicturesFolder(), (home / "Pictures").string());

    // The user's own choice, through the XDG user folders file.
    fs::create_directories(home / ".config");
    std::ofstream(home / ".config" / "user-dirs.dirs") << "XDG_PICTURES_DIR=\"$HOME/Shots\"\n";
    if (system("command -v xdg-user-dir >/dev/null") == 0) {
        EXPECT_EQ(SdlPicturesFolder(), (home / "Shots").string());
        EXPECT_TRUE(fs::is_directory(home / "Shots"));
    }

    setenv("XDG_DATA_HOME", (home / "data").c_str(), 1);
    EXPECT_EQ(SdlDataFolder(), (home / "data" / "space-shooter").string());
    setenv("XDG_DATA_HOME", "relative/data", 1);
    EXPECT_EQ(SdlDataFolder(), (home / ".local/share/space-shooter").string());
    // Run from the build (no install marker beside it), the high scores stay
    // in the working folder; the installed program's are the install test's.
    SysSetModuleFileName((home / "space-shooter").wstring().c_str());
    fs::path working = fs::current_path();
    SdlEnterDataFolder();
    EXPECT_EQ(fs::current_path(), working);
    SysSetModuleFileName(nullptr);
    unsetenv("HOME");
    unsetenv("XDG_DATA_HOME");
    EXPECT_EQ(SdlDataFolder(), "");
}

}  // namespace
