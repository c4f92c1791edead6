// Name entry on SDL's dummy drivers, worked by a virtual pad alone: a letter stepped to, selected, and the name confirmed.
#include "desktop_env.h"

#include "app/display.h"
#include "app/entry.h"
#include "app/windowproc.h"
#include "game/world.h"
#include "gfx/pixelfont.h"
#include "gfx/surface.h"
#include "platform/backend.h"
#include "platform/internal.h"
#include "platform/sdl/sdl_internal.h"
#include "platform/sys.h"
#include "ui/nameentry.h"

#include <atomic>
#include <chrono>
#include <cmath>
#include <thread>
#include <unistd.h>

namespace {

using namespace desktop;

// The name entry screen's buttons, by their centres: ">>" beside the letter
// grid, "Select" under it, "OK" at the foot.
const int nextX = 180, nextY = 127;
const int selectX = 85, selectY = 235;
const int okX = 71, okY = 288;

TEST(PadNameEntry, ALetterSteppedToSelectedAndConfirmedByThePadAlone)
{
    fs::path home = FreshHome();
    ASSERT_EQ(chdir(home.c_str()), 0);
    SysSetModuleFileName((fs::path(SS_BUILD_DIR) / "space-shooter").wstring().c_str());
    ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS | SDL_INIT_TIMER | SDL_INIT_GAMECONTROLLER), 0) << SDL_GetError();
    int index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, SDL_CONTROLLER_AXIS_MAX,
                                          SDL_CONTROLLER_BUTTON_MAX, 0);
    ASSERT_GE(index, 0) << SDL_GetError();
    PadHand stick = { SDL_JoystickOpen(index) };

    // Start-up as the entry point does it, short of the message loop; the menu
    // it asks for is left in the queue.
    displayProps = GXGetDisplayProperties();
    PixelFormatSelect(displayProps.ffFormat);
    PixelFontBuild();
    ASSERT_TRUE(InitInstance(SysModule()));
    appReady = 1;
    Message message;
    while (MessagePeek(&message) && MessageGet(&message))
        ;

    std::atomic<int> tapped = 0;
    std::thread driver([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(800));   // the screen fades in
        tapped += stick.TapAt(nextX, nextY);
        std::this_thread::sleep_for(std::chrono::milliseconds(1200));  // B morphs in
        tapped += stick.TapAt(selectX, selectY);
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
        tapped += stick.TapAt(okX, okY);
    });
    char name[NameMaxLength + 1] = "";
    int result = EnterName(&gameWorld.backBuffer, name);
    driver.join();

    EXPECT_EQ(tapped, 3);
    EXPECT_EQ(result, NameEntryOk);
    EXPECT_STREQ(name, "B");

    // Back to a machine with no program running, for whatever runs next in this process.
    WindowDestroy(gameWorld.owner);
    InstanceShutdown();
    WindowResetAll();
    MessageResetAll();
    appReady = 0;
    PixelFontFree();
    SDL_JoystickClose(stick.pad);
    SDL_JoystickDetachVirtual(index);
    SysSetModuleFileName(nullptr);
    SDL_Quit();
}

}  // namespace
