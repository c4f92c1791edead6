// Frames reaching display memory laid out by any pitches, the display closed or not opened, and the frame clock.
#include "app/display.h"
#include "gfx/surface.h"
#include "platform/headless.h"
#include "platform/sys.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

struct Layout {
    const char* name;
    int32_t cbxPitch;
    int32_t cbyPitch;
};

// Portrait rows, memory running upwards, odd pitches, and the two rotations.
const Layout layouts[] = {
    { "straight", 2, 480 },
    { "negative rows", 2, -480 },
    { "odd pitches", 3, 481 },
    { "rotated right", -640, 2 },
    { "rotated left", 640, -2 },
};

class DisplayTest : public ::testing::Test {
protected:
    Surface frame;

    void Open(int32_t cbxPitch, int32_t cbyPitch)
    {
        HeadlessReset();
        HeadlessSetDisplay({ 240, 320, cbxPitch, cbyPitch, 16, 0xA0 });
        displayProps = GXGetDisplayProperties();
        PixelFormatSelect(displayProps.ffFormat);
        ASSERT_TRUE(OpenDisplay(&frame, nullptr));
        for (int i = 0; i < 240 * 320; i++)
            frame.pixels[i] = (uint16_t)(i * 7 + 1);
    }
};

TEST_F(DisplayTest, PresentFollowsEveryLayoutUntilClosed)
{
    for (const Layout& layout : layouts) {
        SCOPED_TRACE(layout.name);
        Open(layout.cbxPitch, layout.cbyPitch);
        Present(&frame);
        EXPECT_EQ(HeadlessFramesPresented(), 1u);
        std::vector<uint16_t> screen(240 * 320);
        HeadlessScreenRead(screen.data());
        EXPECT_EQ(memcmp(screen.data(), frame.pixels, screen.size() * 2), 0);
    }
    // Closed, nothing more is drawn (released and taken back on focus: the window procedure's test).
    CloseDisplay(nullptr);
    Present(&frame);
    EXPECT_EQ(HeadlessFramesPresented(), 1u);
}

TEST_F(DisplayTest, AFailedOpenIsReportedAndLeavesNoBackBuffer)
{
    HeadlessReset();
    HeadlessSetDisplayAvailable(0);
    displayProps = GXGetDisplayProperties();
    Surface backBuffer;
    EXPECT_FALSE(OpenDisplay(&backBuffer, nullptr));
    EXPECT_EQ(backBuffer.pixels, nullptr);
    ASSERT_EQ(HeadlessBoxes().size(), 1u);
    EXPECT_EQ(HeadlessBoxes()[0], "Init Failed: GXOpenDisplay");
    Present(&backBuffer);
    EXPECT_EQ(HeadlessFramesPresented(), 0u);
}

TEST_F(DisplayTest, FrameClock)
{
    HeadlessReset();
    SysSleep(1000);
    EXPECT_EQ(MarkFrameStart(), 1000u);
    SysSleep(70);
    EXPECT_EQ(FrameElapsed(), 70u);
    WaitFrameRest(50);   // a late frame is not made up
    EXPECT_EQ(SysTicks(), 1070u);

    MarkFrameStart();
    SysSleep(20);
    WaitFrameRest(50);
    EXPECT_EQ(SysTicks(), 1120u);
}

}  // namespace
