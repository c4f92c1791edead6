// The pad and the picture on SDL's dummy drivers: keys from a virtual pad, the pointer and its taps, F12 and M, the layout and the mouse.
#include "desktop_env.h"

#include "platform/gx.h"
#include "platform/pad.h"
#include "platform/sdl/sdl_internal.h"
#include "platform/win.h"

#include <png.h>

#include <algorithm>
#include <array>
#include <vector>

namespace {

using namespace desktop;

struct Seen {
    uint32_t message;
    uintptr_t wParam;
    intptr_t lParam;
};

std::vector<Seen> seen;

intptr_t RecordProc(Window* window, uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    if (message == WM_KEYDOWN || message == WM_KEYUP || message == WM_LBUTTONDOWN || message == WM_LBUTTONUP)
        seen.push_back({ message, wParam, lParam });
    return WindowDefaultProc(window, message, wParam, lParam);
}

class Pad : public ::testing::Test {
protected:
    void SetUp() override
    {
        home = FreshHome();
        ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS | SDL_INIT_GAMECONTROLLER), 0) << SDL_GetError();
        seen.clear();
        WindowClass windowClass = { 3, RecordProc, 4, 0, L"PADTEST" };
        ASSERT_NE(WindowRegisterClass(&windowClass), 0);
        window = WindowCreate(L"PADTEST", L"Pad test", 0, 0, 0, 240, 320, nullptr);
        ASSERT_NE(window, nullptr);
        ASSERT_NE(sdlVideo.window, nullptr);
        ASSERT_EQ(SdlVideoReady(), 1);
    }

    void TearDown() override
    {
        for (int index : attached)
            SDL_JoystickDetachVirtual(index);
        SdlPadReset();
        WindowDestroy(window);
        SDL_Quit();
    }

    // Plugs in a virtual pad; its buttons and axes are numbered as SDL's
    // game-controller buttons and axes.
    SDL_Joystick* Plug()
    {
        int index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, SDL_CONTROLLER_AXIS_MAX,
                                              SDL_CONTROLLER_BUTTON_MAX, 0);
        EXPECT_GE(index, 0) << SDL_GetError();
        attached.push_back(index);
        SDL_Joystick* joystick = SDL_JoystickOpen(index);
        EXPECT_NE(joystick, nullptr);
        Pump(20);
        return joystick;
    }

    // Lets ms of real time pass with the window's messages flowing, as the
    // game's loops do, and the arrows polled when playing.
    void Pump(uint32_t ms, bool playing = false)
    {
        uint32_t end = SDL_GetTicks() + ms;
        do {
            if (playing)
                InputKeyState(KeyUp);
            SdlPumpEvents();
            Message message;
            while (MessagePeek(&message) && MessageGet(&message))
                MessageDispatch(&message);
            SDL_Delay(2);
        } while ((int32_t)(SDL_GetTicks() - end) < 0);
    }

    long Count(uint32_t message, uintptr_t wParam, bool repeat)
    {
        long count = 0;
        for (const Seen& s : seen)
            count += s.message == message && s.wParam == wParam && (((s.lParam >> 30) & 1) != 0) == repeat;
        return count;
    }

    fs::path home;
    Window* window = nullptr;
    std::vector<int> attached;
};

TEST_F(Pad, InPlayThePadIsTheKeyboard)
{
    SDL_Joystick* pad = Plug();
    Pump(50, true);

    SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_A, 1);
    Pump(700, true);   // past the repeat delay
    SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_A, 0);
    Pump(50, true);
    EXPECT_EQ(Count(WM_KEYDOWN, KeyFire, false), 1);
    EXPECT_GE(Count(WM_KEYDOWN, KeyFire, true), 2);
    EXPECT_EQ(Count(WM_KEYUP, KeyFire, false), 1);

    SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_B, 1);
    SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_START, 1);
    Pump(50, true);
    SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_X, 1);
    Pump(50, true);
    SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_B, 0);
    Pump(50, true);
    EXPECT_EQ(Count(WM_KEYDOWN, KeyLockOn, false), 1);   // X taken before B let go: one hold
    EXPECT_EQ(Count(WM_KEYUP, KeyLockOn, false), 0);
    EXPECT_EQ(Count(WM_KEYDOWN, KeyMenu, false), 1);
    SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_X, 0);
    SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_START, 0);

    // A press and release quicker than the program looks is still a press.
    SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_A, 1);
    SDL_JoystickUpdate();
    SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_A, 0);
    Pump(50, true);
    EXPECT_EQ(Count(WM_KEYDOWN, KeyFire, false), 2);
    EXPECT_EQ(Count(WM_KEYUP, KeyFire, false), 2);

    // The stick and the d-pad hold the arrows, polled and as messages.
    SDL_JoystickSetVirtualAxis(pad, SDL_CONTROLLER_AXIS_LEFTX, -30000);
    SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_DPAD_DOWN, 1);
    Pump(50, true);
    EXPECT_LT(InputKeyState(KeyLeft), 0);
    EXPECT_LT(InputKeyState(KeyDown), 0);
    EXPECT_EQ(InputKeyState(KeyRight), 0);
    EXPECT_EQ(Count(WM_KEYDOWN, KeyLeft, false), 1);
    SDL_JoystickSetVirtualAxis(pad, SDL_CONTROLLER_AXIS_LEFTX, 8000);   // under half way
    SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_DPAD_DOWN, 0);
    Pump(50, true);
    EXPECT_EQ(InputKeyState(KeyLeft), 0);
    EXPECT_EQ(InputKeyState(KeyDown), 0);
    EXPECT_EQ(Count(WM_KEYUP, KeyLeft, false), 1);

    int x, y;
    EXPECT_EQ(PadPointer(&x, &y), 0);   // no pointer over play
    EXPECT_EQ(Count(WM_LBUTTONDOWN, 1, false), 0);
}

// Off play the pad points and taps. Its pointer is drawn over the picture,
// not into the frame, nor into the screenshots F12 saves at 1x and at the
// window's scale (M beside it turns the sound off). The mouse or play hides it.
TEST_F(Pad, OffPlayThePointerTapsAndIsDrawnOverThePictureOnlyAndTheMouseOrPlayHidesIt)
{
    fs::create_directories(home / "Pictures");
    SDL_SetWindowSize(sdlVideo.window, 600, 700);
    std::vector<uint16_t> picture(240 * 320);
    for (size_t i = 0; i < picture.size(); i++)
        picture[i] = i % 240 < 120 ? 0x001F : 0x07E0;   // blue left, green right
    SdlShowFrame(picture.data());
    SDL_Joystick* pad = Plug();
    SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_DPAD_LEFT, 1);
    Pump(100);
    SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_DPAD_LEFT, 0);
    SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_A, 1);
    Pump(50);
    SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_A, 0);
    Pump(20);
    int x, y;
    ASSERT_EQ(PadPointer(&x, &y), 1);
    EXPECT_LT(x, 120);   // from the middle, to the left
    // Off play A taps where the pointer is.
    EXPECT_EQ(Count(WM_KEYDOWN, KeyFire, false), 0);
    EXPECT_EQ(Count(WM_LBUTTONDOWN, 1, false), 1);
    auto up = std::find_if(seen.begin(), seen.end(), [](const Seen& s) { return s.message == WM_LBUTTONUP; });
    ASSERT_NE(up, seen.end());
    EXPECT_EQ(up->lParam, (intptr_t)(y << 16 | x));

    SdlRepaint();
    SdlLayout layout = SdlLayoutNow();
    ASSERT_EQ(layout.scale, 2);
    int w, h;
    ASSERT_EQ(SDL_GetRendererOutputSize(sdlVideo.renderer, &w, &h), 0);
    std::vector<uint32_t> shown((size_t)w * h);
    ASSERT_EQ(SDL_RenderReadPixels(sdlVideo.renderer, nullptr, SDL_PIXELFORMAT_ARGB8888, shown.data(), w * 4), 0);
    // White a few output pixels below and right of the tip.
    int px = layout.x + x * layout.scale + layout.scale / 2 + 1;
    int py = layout.y + y * layout.scale + layout.scale / 2 + 4 * layout.scale;
    EXPECT_EQ(shown[(size_t)py * w + px] & 0xFFFFFF, 0xFFFFFFu);
    long white = 0;
    for (uint32_t pixel : shown)
        white += (pixel & 0xFFFFFF) == 0xFFFFFF;
    EXPECT_GT(white, 20L * layout.scale);
    EXPECT_EQ(std::vector<uint16_t>(SdlLastFrame(), SdlLastFrame() + 240 * 320), picture);

    for (SDL_Scancode key : { SDL_SCANCODE_F12, SDL_SCANCODE_M }) {
        SDL_Event press = {};
        press.type = SDL_KEYDOWN;
        press.key.keysym.scancode = key;
        press.key.windowID = SDL_GetWindowID(sdlVideo.window);
        SDL_PushEvent(&press);
        press.type = SDL_KEYUP;
        SDL_PushEvent(&press);
    }
    Pump(20);
    EXPECT_EQ(SdlAudioToggleMute(), 0);   // M made it silent: once more, it sounds
    std::vector<fs::path> shots;
    for (const fs::directory_entry& entry : fs::directory_iterator(home / "Pictures"))
        shots.push_back(entry.path());
    ASSERT_EQ(shots.size(), 2u);
    // One name stem, the scaled one's followed by its scale: "-2x" sorts before ".png".
    std::sort(shots.begin(), shots.end());
    EXPECT_EQ(shots[0].string(), fs::path(shots[1]).replace_extension().string() + "-2x.png");
    for (int scale : { 1, 2 }) {
        png_image image = {};
        image.version = PNG_IMAGE_VERSION;
        ASSERT_TRUE(png_image_begin_read_from_file(&image, shots[2 - scale].c_str())) << shots[2 - scale];
        image.format = PNG_FORMAT_RGB;
        std::vector<uint8_t> rgb(PNG_IMAGE_SIZE(image));
        ASSERT_TRUE(png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr));
        EXPECT_EQ(image.width, 240u * scale);
        EXPECT_EQ(image.height, 320u * scale);
        EXPECT_EQ(std::vector<uint8_t>(rgb.begin(), rgb.begin() + 3), (std::vector<uint8_t>{ 0, 0, 255 }));
        EXPECT_EQ(std::vector<uint8_t>(rgb.end() - 3, rgb.end()), (std::vector<uint8_t>{ 0, 255, 0 }));
        EXPECT_EQ(std::count(rgb.begin(), rgb.end(), 255), (long)rgb.size() / 3);   // no white pointer
    }

    SDL_Event motion = {};
    motion.type = SDL_MOUSEMOTION;
    motion.motion.windowID = SDL_GetWindowID(sdlVideo.window);
    SDL_PushEvent(&motion);
    Pump(20);
    EXPECT_EQ(PadPointer(&x, &y), 0);
    // Shown again by the pad, it hides when play comes back.
    SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_DPAD_LEFT, 1);
    Pump(20);
    SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_DPAD_LEFT, 0);
    ASSERT_EQ(PadPointer(&x, &y), 1);
    Pump(50, true);
    EXPECT_EQ(PadPointer(&x, &y), 0);
}

TEST_F(Pad, PadsComeAndGoAndOnlyFourAreOpen)
{
    std::vector<SDL_Joystick*> pads;
    for (int i = 0; i < 6; i++)
        pads.push_back(Plug());
    // The last pad's button is ignored: it has no slot.
    SDL_JoystickSetVirtualButton(pads[5], SDL_CONTROLLER_BUTTON_A, 1);
    Pump(50, true);
    EXPECT_EQ(Count(WM_KEYDOWN, KeyFire, false), 0);
    SDL_JoystickSetVirtualButton(pads[5], SDL_CONTROLLER_BUTTON_A, 0);
    // Unplug one: the fifth takes its place when plugged again.
    SDL_JoystickClose(pads[0]);
    ASSERT_EQ(SDL_JoystickDetachVirtual(attached[0]), 0);
    attached.erase(attached.begin());
    Pump(50, true);
    SDL_JoystickSetVirtualButton(pads[1], SDL_CONTROLLER_BUTTON_A, 1);
    Pump(50, true);
    EXPECT_EQ(Count(WM_KEYDOWN, KeyFire, false), 1);
}

TEST_F(Pad, TheMouseMapsThroughTheWholeNumberScaleAndItsBars)
{
    SDL_SetWindowSize(sdlVideo.window, 600, 700);
    Pump(20);
    SdlLayout layout = SdlLayoutNow();
    EXPECT_EQ(layout.scale, 2);
    EXPECT_EQ(layout.x, 60);
    EXPECT_EQ(layout.y, 30);
    // Window points to frame points; the bars map to the edges.
    for (auto [wx, wy, fx, fy] : { std::array{ 60, 30, 0, 0 }, { 10, 5, 0, 0 }, { 60 + 2 * 100 + 1, 30 + 2 * 50, 100, 50 },
                                   { 599, 699, 239, 319 } }) {
        int x, y;
        SdlWindowToFrame(wx, wy, &x, &y);
        EXPECT_EQ(std::make_pair(x, y), std::make_pair(fx, fy)) << wx << "," << wy;
    }
}

}  // namespace
