// A private home for desktop tests: SDL's dummy drivers, and HOME and the XDG folders in a fresh temporary folder.
#pragma once
#include "platform/sdl/sdl_internal.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>

namespace desktop {

namespace fs = std::filesystem;

// Makes a fresh folder for the running test, points HOME and the XDG
// variables into it, and returns it.
inline fs::path FreshHome(const std::string& suffix = "")
{
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    fs::path home = fs::path(::testing::TempDir()) /
                    (std::string("desktop-") + info->test_suite_name() + "-" + info->name() + suffix);
    fs::remove_all(home);
    fs::create_directories(home);
    setenv("HOME", home.c_str(), 1);
    setenv("XDG_CONFIG_HOME", (home / ".config").c_str(), 1);
    unsetenv("XDG_DATA_HOME");
    // The dummy screen unless told otherwise, so that a run can be watched
    // on a real one (SDL_VIDEODRIVER=x11).
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    // The dummy screen never gives a window the focus, and pads are ignored
    // by an unfocused program.
    setenv("SDL_JOYSTICK_ALLOW_BACKGROUND_EVENTS", "1", 1);
    return home;
}

// A hand on a virtual pad, on a thread beside the program's loop; its buttons
// and axes are numbered as SDL's game-controller ones.
struct PadHand {
    SDL_Joystick* pad;

    // Far off: the stick all the way; near: gently, to stop on the spot.
    static Sint16 Push(int distance)
    {
        if (distance == 0)
            return 0;
        double share = std::sqrt(std::fmin(std::abs(distance) / 30.0, 1.0));
        int value = 6500 + (int)(share * 26000);
        return (Sint16)(distance < 0 ? -value : value);
    }

    // Pushes the stick towards (x, y) until the pointer is there, then lets
    // go; false when it never got there.
    bool PointAt(int x, int y)
    {
        bool there = false;
        auto end = std::chrono::steady_clock::now() + std::chrono::seconds(15);
        while (!there && std::chrono::steady_clock::now() < end) {
            int px, py;
            SdlPadPointer(&px, &py);
            there = std::abs(x - px) <= 2 && std::abs(y - py) <= 2;
            SDL_JoystickSetVirtualAxis(pad, SDL_CONTROLLER_AXIS_LEFTX, there ? 0 : Push(x - px));
            SDL_JoystickSetVirtualAxis(pad, SDL_CONTROLLER_AXIS_LEFTY, there ? 0 : Push(y - py));
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        SDL_JoystickSetVirtualAxis(pad, SDL_CONTROLLER_AXIS_LEFTX, 0);
        SDL_JoystickSetVirtualAxis(pad, SDL_CONTROLLER_AXIS_LEFTY, 0);
        return there;
    }

    void Press(SDL_GameControllerButton button)
    {
        SDL_JoystickSetVirtualButton(pad, button, 1);
        std::this_thread::sleep_for(std::chrono::milliseconds(120));
        SDL_JoystickSetVirtualButton(pad, button, 0);
        std::this_thread::sleep_for(std::chrono::milliseconds(120));
    }

    // Points at (x, y) and taps there with A.
    bool TapAt(int x, int y)
    {
        bool there = PointAt(x, y);
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        Press(SDL_CONTROLLER_BUTTON_A);
        return there;
    }
};

}  // namespace desktop
