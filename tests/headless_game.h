// The program started on the headless machine, as its entry point starts it, in a folder of the test's own.
#pragma once
#include "app/display.h"
#include "app/entry.h"
#include "app/random.h"
#include "app/windowproc.h"
#include "game/world.h"
#include "gfx/pixelfont.h"
#include "platform/headless.h"
#include "platform/sys.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

class HeadlessGame : public ::testing::Test {
protected:
    GameWorld* world = &gameWorld;
    Surface* back = &gameWorld.backBuffer;
    Window* window = nullptr;
    std::filesystem::path folder;

    // Start-up writes the high-score file into the working folder, hence an empty folder for each test.
    static std::filesystem::path EnterOwnFolder()
    {
        const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
        std::filesystem::path folder = std::filesystem::path(::testing::TempDir()) / "headless" / test->test_suite_name() / test->name();
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
        std::filesystem::current_path(folder);
        return folder;
    }

    void SetUp() override
    {
        folder = EnterOwnFolder();
        HeadlessReset();
        HeadlessSetInstanceScope(folder.string());
        displayProps = GXGetDisplayProperties();
        PixelFormatSelect(displayProps.ffFormat);
        PixelFontBuild();
        ASSERT_TRUE(InitInstance(SysModule()));
        window = world->owner;
        ASSERT_TRUE(WindowIsAlive(window));
        appReady = 1;
        TapsLeft();   // the first WM_SHOWMENU, posted at creation
        // A screen that never sees the tap it waits for ends the run instead of hanging it.
        HeadlessSetTimeLimit(HeadlessNow() + 30 * 60 * 1000);
    }

    void TearDown() override
    {
        HeadlessSetPresentHook(nullptr, nullptr);
        PixelFontFree();
    }

    // Peeks without letting the clock move on to the next tick.
    static int MessagePeekNow(Message* message)
    {
        uint32_t before = HeadlessNow();
        return MessagePeek(message) && HeadlessNow() == before;
    }

    // Takes every message waiting now: how many of them were taps.
    static int TapsLeft()
    {
        int n = 0;
        Message message;
        while (MessagePeekNow(&message) && MessageGet(&message))
            n += message.message == WM_LBUTTONUP;
        return n;
    }

    // A stylus lifted at (x, y), waiting in the queue for the next screen loop.
    void Tap(int x, int y) { MessagePost(window, WM_LBUTTONUP, 0, (intptr_t)y << 16 | x); }

    static std::vector<uint16_t> Screen()
    {
        std::vector<uint16_t> frame(240 * 320);
        HeadlessScreenRead(frame.data());
        return frame;
    }
    std::vector<uint16_t> Back() { return std::vector<uint16_t>(back->pixels, back->pixels + 240 * 320); }

    // The draws the game will make after RandomSeed(seed); leaves it seeded there again.
    static std::vector<int> Draws(unsigned seed, int count)
    {
        RandomSeed(seed);
        std::vector<int> values;
        for (int i = 0; i < count; i++)
            values.push_back(RandomNext());
        RandomSeed(seed);
        return values;
    }

    static std::vector<uint8_t> FileBytes(const char* path)
    {
        std::vector<uint8_t> bytes;
        if (FILE* file = fopen(path, "rb")) {
            for (int c; (c = fgetc(file)) != EOF;)
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
