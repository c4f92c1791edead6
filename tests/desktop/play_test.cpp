// The whole program on SDL's dummy drivers, worked by a virtual pad alone: the menu, play, a screenshot, and leaving.
#include "desktop_env.h"

#include "app/entry.h"
#include "app/windowproc.h"
#include "game/world.h"
#include "platform/backend.h"
#include "platform/sdl/sdl_internal.h"
#include "platform/sys.h"

#include <png.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <functional>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using namespace desktop;

// The main menu's buttons, by their centres.
const int newGameX = 118, newGameY = 90;
const int exitGameX = 118, exitGameY = 219;

// Waits in real time until done() holds, for at most seconds; true when it held.
bool WaitFor(const std::function<bool()>& done, double seconds)
{
    auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (!done()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

struct PlayReport {
    bool menuPointed = false;
    bool pointerShown = false;
    bool muted = false;
    bool started = false;
    bool pointerHiddenInPlay = false;
    bool steered = false;
    bool paused = false;
    bool exitPointed = false;
    int scale = 0;   // of the window as it opened
};

// Reads a PNG's size and whether its pixels differ from one another.
bool PngLooksDrawn(const fs::path& path, int* width, int* height)
{
    png_image image = {};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str()))
        return false;
    image.format = PNG_FORMAT_RGB;
    std::vector<uint8_t> pixels(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr))
        return false;
    *width = (int)image.width;
    *height = (int)image.height;
    long differ = 0;
    for (size_t i = 3; i < pixels.size(); i++)
        differ += pixels[i] != pixels[i % 3];
    return differ > (long)pixels.size() / 20;
}

TEST(PadPlay, TheMenuPlayAndLeavingByThePadAlone)
{
    fs::path home = FreshHome();
    fs::create_directories(home / "Pictures");
    fs::create_directories(home / "run");
    ASSERT_EQ(chdir((home / "run").c_str()), 0);
    SysSetModuleFileName((fs::path(SS_BUILD_DIR) / "space-shooter").wstring().c_str());
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "0");
    ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS | SDL_INIT_TIMER | SDL_INIT_GAMECONTROLLER), 0) << SDL_GetError();
    int index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, SDL_CONTROLLER_AXIS_MAX,
                                          SDL_CONTROLLER_BUTTON_MAX, 0);
    ASSERT_GE(index, 0) << SDL_GetError();
    PadHand hand = { SDL_JoystickOpen(index) };
    ASSERT_NE(hand.pad, nullptr);

    PlayReport report;
    std::thread driver([&] {
        // The menu is up once start-up is over and no frame runs.
        bool ready = WaitFor([] { return appReady && !gameWorld.framesEnabled; }, 20);
        std::this_thread::sleep_for(std::chrono::milliseconds(1500));
        if (ready) {
            report.scale = sdlVideo.scale;
            report.menuPointed = hand.PointAt(newGameX, newGameY);
            int x, y;
            report.pointerShown = SdlPadPointer(&x, &y) == 1;

            // F12 on the menu: a screenshot at 1x and at the window's scale.
            SDL_Event key = {};
            key.type = SDL_KEYDOWN;
            key.key.keysym.scancode = SDL_SCANCODE_F12;
            key.key.windowID = sdlVideo.window ? SDL_GetWindowID(sdlVideo.window) : 0;
            SDL_PushEvent(&key);
            key.type = SDL_KEYUP;
            SDL_PushEvent(&key);
            // M turns the sound off: toggled once more here, it comes back on.
            key.key.keysym.scancode = SDL_SCANCODE_M;
            key.type = SDL_KEYDOWN;
            SDL_PushEvent(&key);
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            report.muted = SdlAudioToggleMute() == 0;

            hand.Press(SDL_CONTROLLER_BUTTON_A);
            report.started = WaitFor([] { return gameWorld.framesEnabled && gameWorld.lives > 0; }, 15);
            std::this_thread::sleep_for(std::chrono::milliseconds(500));
            report.pointerHiddenInPlay = SdlPadPointer(&x, &y) == 0;

            int before = gameWorld.player.x;
            SDL_JoystickSetVirtualAxis(hand.pad, SDL_CONTROLLER_AXIS_LEFTX, 32767);
            report.steered = WaitFor([&] { return gameWorld.player.x > before + 10; }, 5);
            SDL_JoystickSetVirtualAxis(hand.pad, SDL_CONTROLLER_AXIS_LEFTX, 0);

            hand.Press(SDL_CONTROLLER_BUTTON_START);
            report.paused = WaitFor([] { return !gameWorld.framesEnabled; }, 5);
            std::this_thread::sleep_for(std::chrono::milliseconds(500));
            report.exitPointed = hand.PointAt(exitGameX, exitGameY);
            hand.Press(SDL_CONTROLLER_BUTTON_A);
        }
        // Whatever happened, the program ends: by Exit Game, or else closed.
        if (!WaitFor([] { return !sdlVideo.window; }, 5)) {
            SDL_Event quit = {};
            quit.type = SDL_QUIT;
            SDL_PushEvent(&quit);
        }
    });
    int result = WinMain(SysModule(), nullptr, "", 1);
    driver.join();
    SDL_JoystickClose(hand.pad);
    SDL_JoystickDetachVirtual(index);
    SysSetModuleFileName(nullptr);

    EXPECT_EQ(result, 0);
    EXPECT_TRUE(report.menuPointed);
    EXPECT_TRUE(report.pointerShown);
    EXPECT_TRUE(report.muted);
    EXPECT_TRUE(report.started) << "A on New Game did not start a game";
    EXPECT_TRUE(report.pointerHiddenInPlay);
    EXPECT_TRUE(report.steered);
    EXPECT_TRUE(report.paused);
    EXPECT_TRUE(report.exitPointed);

    std::vector<fs::path> shots;
    for (const fs::directory_entry& entry : fs::directory_iterator(home / "Pictures"))
        shots.push_back(entry.path());
    ASSERT_EQ(shots.size(), 2u);
    // The scaled one's name carries its scale: the 1x one is the shorter name.
    std::sort(shots.begin(), shots.end(), [](const fs::path& a, const fs::path& b) {
        return a.string().size() < b.string().size();
    });
    int w = 0, h = 0;
    EXPECT_TRUE(PngLooksDrawn(shots[0], &w, &h)) << shots[0];
    EXPECT_EQ(w, 240);
    EXPECT_EQ(h, 320);
    EXPECT_TRUE(PngLooksDrawn(shots[1], &w, &h)) << shots[1];
    ASSERT_GT(report.scale, 1);   // the dummy screen is 1024 x 768
    std::string scaled = std::to_string(report.scale);
    scaled.insert(0, 1, '-');
    scaled.append("x.png");
    EXPECT_EQ(shots[1].string().substr(shots[1].string().size() - scaled.size()), scaled);
    EXPECT_EQ(w, 240 * report.scale);
    EXPECT_EQ(h, 320 * report.scale);
    EXPECT_TRUE(fs::exists(home / "run" / "Skyrend.dat"));   // run from the build: the working folder
    SDL_Quit();
}

}  // namespace
