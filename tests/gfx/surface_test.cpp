// Surfaces: the pixel formats and the life cycle. The drawing primitives and the menu's gradient are pinned by the
// golden replays (the buttons, boxes and table), scaling by the parallax layers' weights.
#include "gfx/surface.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

int CountPixels(const Surface& s, uint16_t colour)
{
    int count = 0;
    for (int i = 0; i < s.width * s.height; i++)
        count += s.pixels[i] == colour;
    return count;
}

TEST(SurfaceFormat, SplitColourUndoesMakeColourInEachLayout)
{
    for (uint32_t format : { 0xA0u, 0x60u }) {
        PixelFormatSelect(format);
        EXPECT_EQ(MakeColour(255, 255, 255), format == 0xA0 ? 0xFFFF : 0x7FFF);
        EXPECT_EQ(MakeColour(128, 0, 0), format == 0xA0 ? 0x8000 : 0x4000);
        int greenMask = format == 0xA0 ? 0xFC : 0xF8;
        for (int v = 0; v < 256; v += 5) {
            int r, g, b;
            uint16_t pixel = MakeColour(v, 255 - v, v ^ 0x5A);
            SplitColour(pixel, &r, &g, &b);
            EXPECT_EQ(r, v & 0xF8);
            EXPECT_EQ(g, (255 - v) & greenMask);
            EXPECT_EQ(b, (v ^ 0x5A) & 0xF8);
            EXPECT_EQ(MakeColour(r, g, b), pixel);
        }
    }
    PixelFormatSelect(0x20);   // no layout: black, and nothing is written
    EXPECT_EQ(MakeColour(255, 255, 255), 0);
    int r = -1, g = -1, b = -1;
    SplitColour(0xFFFF, &r, &g, &b);
    EXPECT_EQ(r, -1);
}

TEST(SurfaceLife, CreateCopyCloneRelease)
{
    PixelFormatSelect(0xA0);
    Surface s;
    EXPECT_EQ(s.alpha, 255);
    ASSERT_TRUE(SurfaceCreate(&s, 10, 5));
    SurfaceClear(&s, 0x1234);

    // A zero size is refused and the old image stays.
    EXPECT_FALSE(SurfaceCreate(&s, 0, 7));
    EXPECT_FALSE(SurfaceCreate(&s, 7, 0));
    ASSERT_EQ(s.width, 10);
    EXPECT_EQ(CountPixels(s, 0x1234), 50);

    // Negative and absurd sizes fail and leave the surface empty.
    Surface bad;
    EXPECT_FALSE(SurfaceCreate(&bad, -4, 4));
    EXPECT_FALSE(SurfaceCreate(&bad, 100000, 100000));
    EXPECT_EQ(bad.pixels, nullptr);
    EXPECT_EQ(bad.width, 0);

    Surface copy;
    copy.colourKey = 9;
    ASSERT_TRUE(SurfaceCopy(&copy, &s));
    EXPECT_EQ(copy.width, 10);
    EXPECT_EQ(copy.colourKey, 9);   // the destination keeps its own key
    EXPECT_EQ(memcmp(copy.pixels, s.pixels, 100), 0);

    Surface screen;
    ASSERT_TRUE(SurfaceCreate(&screen, 240, 320));
    SurfaceClear(&screen, 0x0F0F);
    Surface* clone = SurfaceCloneScreen(&screen);
    ASSERT_NE(clone, nullptr);
    EXPECT_EQ(clone->width, 240);
    EXPECT_EQ(CountPixels(*clone, 0x0F0F), 240 * 320);
    delete clone;

    SurfaceRelease(&s);
    EXPECT_EQ(s.pixels, nullptr);
    EXPECT_EQ(s.height, 0);
}

}  // namespace
