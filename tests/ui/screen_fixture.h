// A started program on the headless machine, in a folder of its own, for driving the screens directly.
#pragma once
#include "app/display.h"
#include "app/entry.h"
#include "app/windowproc.h"
#include "game/world.h"
#include "gfx/pixelfont.h"
#include "platform/headless.h"
#include "platform/sys.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <string>
#include <vector>

class ScreenTest : public ::testing::Test {
protected:
    Window* window = nullptr;
    GameWorld* world = &gameWorld;
    Surface* back = &gameWorld.backBuffer;
    std::filesystem::path folder;

    void SetUp() override
    {
        folder = std::filesystem::path(::testing::TempDir()) / "ui" /
                 ::testing::UnitTest::GetInstance()->current_test_info()->test_suite_name() /
                 ::testing::UnitTest::GetInstance()->current_test_info()->name();
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
        std::filesystem::current_path(folder);
        HeadlessReset();
        HeadlessSetInstanceScope(folder.string());
        displayProps = GXGetDisplayProperties();
        PixelFormatSelect(displayProps.ffFormat);
        PixelFontBuild();   // as the entry point does before start-up
        ASSERT_TRUE(InitInstance(SysModule()));
        window = world->owner;
        ASSERT_TRUE(WindowIsAlive(window));
        appReady = 1;
        Message message;
        while (MessagePeekNow(&message) && MessageGet(&message))
            ;   // the first WM_SHOWMENU, posted at creation
        // A screen that never sees the tap it waits for ends the run instead of hanging it.
        HeadlessSetTimeLimit(HeadlessNow() + 30 * 60 * 1000);
    }

    void TearDown() override
    {
        HeadlessSetPresentHook(nullptr, nullptr);
        PixelFontFree();
    }

    // Peeks without letting the clock move on to the next tick.
    int MessagePeekNow(Message* message)
    {
        uint32_t before = HeadlessNow();
        int found = MessagePeek(message);
        return found && HeadlessNow() == before;
    }

    // A stylus lifted at (x, y), waiting in the queue for the next screen loop.
    void Tap(int x, int y)
    {
        MessagePost(window, WM_LBUTTONUP, 0, (intptr_t)y << 16 | x);
    }

    // Takes every message waiting now: how many of them were taps.
    int TapsLeft()
    {
        int n = 0;
        Message message;
        while (MessagePeekNow(&message) && MessageGet(&message))
            n += message.message == WM_LBUTTONUP;
        return n;
    }

    // Taps that arrive later, on the virtual clock: {delay in ms, x, y}.
    void TapLater(const std::vector<std::array<int, 3>>& taps)
    {
        std::string script, error;
        for (const auto& tap : taps)
            script += "at " + std::to_string(HeadlessNow() + (uint32_t)tap[0]) + " tap " + std::to_string(tap[1]) + " " +
                      std::to_string(tap[2]) + "\n";
        ASSERT_TRUE(HeadlessScriptLoad(script, &error)) << error;
    }

    std::vector<uint16_t> Screen()
    {
        std::vector<uint16_t> frame(240 * 320);
        HeadlessScreenRead(frame.data());
        return frame;
    }

    static std::vector<uint8_t> FileBytes(const char* path)
    {
        std::vector<uint8_t> bytes;
        if (FILE* file = fopen(path, "rb")) {
            int c;
            while ((c = fgetc(file)) != EOF)
                bytes.push_back((uint8_t)c);
            fclose(file);
        }
        return bytes;
    }

    static void WriteFile(const char* path, const std::vector<uint8_t>& bytes)
    {
        FILE* file = fopen(path, "wb");
        ASSERT_TRUE(file);
        if (!bytes.empty())
            fwrite(bytes.data(), 1, bytes.size(), file);
        fclose(file);
    }
};
