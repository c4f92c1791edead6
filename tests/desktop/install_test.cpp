// The installed program: its layout under a prefix, its launcher and description, and a start from there.
#include "desktop_env.h"
#include "tests/outside.h"

#include <png.h>

#include <string>

namespace {

using namespace desktop;
using namespace outside;

bool HasTool(const std::string& tool)
{
    return Shell("command -v " + tool + " > /dev/null 2>&1") == 0;
}

int PngWidth(const fs::path& path)
{
    png_image image = {};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str()))
        return -1;
    int width = (int)image.width;
    png_image_free(&image);
    return width;
}

TEST(Install, APrefixHoldsARunnableProgramWithItsLauncherIconsAndDescription)
{
    fs::path home = FreshHome();
    fs::path prefix = home / "a prefix";   // a space, as in many a home folder
    ASSERT_EQ(Shell("'" SS_CMAKE_COMMAND "' --install '" SS_BUILD_DIR "' --prefix '" + prefix.string() + "' > '" +
                  (home / "install.txt").string() + "' 2>&1"), 0)
        << ReadFile(home / "install.txt");

    fs::path app = prefix / "lib/space-shooter";
    EXPECT_TRUE(fs::is_regular_file(app / "space-shooter"));
    EXPECT_TRUE(fs::is_regular_file(app / "space-shooter.installed"));
    for (const char* file : { "GFX/FONT.BMP", "GFX/FONT.INF", "GFX/PAGE1.BMP", "GFX/PAGE2.BMP", "GFX/PIPES.BMP",
                              "sounds/fire.wav", "sounds/metal.wav" })
        EXPECT_TRUE(fs::is_regular_file(app / file)) << file;
    ASSERT_TRUE(fs::is_symlink(prefix / "bin/space-shooter"));
    EXPECT_EQ(fs::canonical(prefix / "bin/space-shooter"), fs::canonical(app / "space-shooter"));

    std::string launcher = ReadFile(prefix / "share/applications/space-shooter.desktop");
    EXPECT_NE(launcher.find("\nExec=\"" + (prefix / "bin/space-shooter").string() + "\"\n"), std::string::npos)
        << launcher;
    EXPECT_NE(launcher.find("\nIcon=space-shooter\n"), std::string::npos);
    for (int size : { 16, 24, 32, 48, 64, 128, 192, 256, 512 }) {
        std::string name = std::to_string(size) + "x" + std::to_string(size);
        EXPECT_EQ(PngWidth(prefix / "share/icons/hicolor" / name / "apps/space-shooter.png"), size) << name;
    }
    fs::path metainfo = prefix / "share/metainfo/org.spaceshooter.SpaceShooter.metainfo.xml";
    EXPECT_NE(ReadFile(metainfo).find("<launchable type=\"desktop-id\">space-shooter.desktop</launchable>"),
              std::string::npos);
    if (HasTool("desktop-file-validate")) {
        EXPECT_EQ(Shell("desktop-file-validate '" + (prefix / "share/applications/space-shooter.desktop").string() + "'"), 0);
    }
    if (HasTool("appstreamcli")) {
        EXPECT_EQ(Shell("appstreamcli validate --no-net '" + metainfo.string() + "' > /dev/null"), 0);
    }

    // Started from the launcher's command in some other folder, on the dummy
    // screen, for a few seconds: it finds its art and sounds beside itself,
    // keeps its high scores in the user's data folder and ends when interrupted.
    fs::create_directories(home / "elsewhere");
    int code = Shell("cd '" + (home / "elsewhere").string() + "' && timeout --preserve-status -s INT 4 '" +
                   (prefix / "bin/space-shooter").string() + "' > out.txt 2> err.txt");
    std::string err = ReadFile(home / "elsewhere/err.txt");
    EXPECT_EQ(code, 0) << err;   // an interrupt closes the window, and the program ends as by Exit Game
    EXPECT_EQ(err.find("Unable to load"), std::string::npos) << err;
    EXPECT_EQ(err.find("File Missing"), std::string::npos) << err;
    EXPECT_TRUE(fs::exists(home / ".local/share/space-shooter/Skyrend.dat"));
    EXPECT_FALSE(fs::exists(home / "elsewhere/Skyrend.dat"));
}

}  // namespace
