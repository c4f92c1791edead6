// A private home for desktop tests: SDL's dummy drivers, and HOME and the XDG folders in a fresh temporary folder.
#pragma once
#include "platform/sdl/sdl_internal.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

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

}  // namespace desktop
