// The blitter against a per-pixel reference with clipping, the blends, darkening and tiling.
#include "gfx/blit.h"
#include "platform/headless.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <vector>

static void FillRandom(Surface* s, int w, int h)
{
    SurfaceCreate(s, w, h);
    for (int i = 0; i < w * h; i++)
        s->pixels[i] = (uint16_t)(rand() * 2 + rand() % 2);
}

static std::vector<uint16_t> Pixels(const Surface& s) { return { s.pixels, s.pixels + s.width * s.height }; }

// One pixel of every mode, channel by channel from the field widths.
static uint16_t Reference(int mode, uint16_t d, uint16_t s, uint16_t key, int level, uint16_t text, int layout)
{
    bool keyed = mode == 1 || mode == 3 || mode == 5 || mode == 8;
    if ((keyed && s == key) || mode == 6 || mode == 7 || mode > 8)
        return d;
    if (mode == 8 || mode <= 1 || level == 255)
        return mode == 8 ? text : s;
    const int shifts[3] = { layout == 565 ? 11 : 10, 5, 0 }, bits[3] = { 5, layout == 565 ? 6 : 5, 5 };
    int out = 0;
    for (int c = 0; c < 3; c++) {
        int max = (1 << bits[c]) - 1, dc = d >> shifts[c] & max, sc = s >> shifts[c] & max;
        int target = mode <= 3 ? sc : max - (((max - dc) * (max - sc)) >> bits[c]);
        int x = (target - dc) * level + 128;
        out |= (dc + ((x + (x >> 8)) >> 8)) << shifts[c];
    }
    return (uint16_t)out;
}

// Positions at and past every edge: a 12 x 14 rectangle over a 40 x 30 surface.
TEST(BlitTest, EveryModeMatchesTheReferenceInBothLayoutsWithClipping)
{
    HeadlessReset();
    srand(7);
    for (int layout : { 565, 555 }) {
        PixelFormatSelect(layout == 565 ? 0xA0 : 0x60);
        for (int mode = 0; mode <= 10; mode++) {
            for (int level : { 0, 1, 100, 254, 255 }) {
                for (int dx : { -12, -10, 3, 28, 29, 40 }) {
                    for (int dy : { -14, -13, 2, 16, 17, 30 }) {
                        Surface src, dst;
                        FillRandom(&src, 16, 16);
                        FillRandom(&dst, 40, 30);
                        for (int i = 0; i < 256; i += 3)
                            src.pixels[i] = src.colourKey = 0x5555;
                        src.alpha = (uint8_t)level;
                        dst.textColour = 0x1234;
                        std::vector<uint16_t> before = Pixels(dst);
                        EXPECT_EQ(Blit(&dst, dx, dy, 12, 14, &src, 2, 1, (uint8_t)mode), dx > -12 && dx < 40 && dy > -14 && dy < 30);
                        for (int i = 0; i < 40 * 30; i++) {
                            int u = i % 40 - dx, v = i / 40 - dy;
                            uint16_t want = u < 0 || u >= 12 || v < 0 || v >= 14 ? before[i]
                                : Reference(mode, before[i], src.pixels[(v + 1) * 16 + u + 2], 0x5555, level, 0x1234, layout);
                            ASSERT_EQ(dst.pixels[i], want) << layout << " mode " << mode << " level " << level << " at " << dx << "," << dy;
                        }
                    }
                }
            }
        }
    }
    Surface empty, dst;   // an image that failed to load draws nothing
    FillRandom(&dst, 40, 30);
    EXPECT_EQ(Blit(&dst, 0, 0, 16, 16, &empty, 0, 0, BlitCopy), 0);
}

TEST(BlitTest, BlendsAndTheScreenMemo)
{
    // Random calls, many of them repeats, across format changes.
    for (int i = 0; i < 20000; i++) {
        int layout = rand() % 3;
        PixelFormatSelect(layout == 0 ? 0xA0 : layout == 1 ? 0x60 : 0);
        uint16_t d = (uint16_t)(rand() % 4 * 0x1111), s = (uint16_t)(rand() % 4 * 0x2345);
        int level = rand() % 3 * 127 + 1;
        uint16_t want = layout == 2 && level != 255 ? d : Reference(4, d, s, 0, level, 0, layout ? 555 : 565);
        ASSERT_EQ(BlendScreen(d, s, level), want) << i;
    }
}

// Tiling is checked by the parallax layers narrower than the screen.
TEST(BlitTest, Shade)
{
    PixelFormatSelect(0xA0);
    for (int level : { 0, 100, 255 }) {
        Surface s;
        FillRandom(&s, 30, 20);
        std::vector<uint16_t> before = Pixels(s);
        ShadeRect(&s, 2, 3, 12, 13, level);
        for (int i = 0; i < 600; i++) {
            bool inside = i % 30 >= 2 && i % 30 < 12 && i / 30 >= 3 && i / 30 < 13;
            ASSERT_EQ(s.pixels[i], inside ? BlendAlpha(before[i], 0, level) : before[i]);
        }
    }
    EXPECT_EQ(BlendAlpha(0xFFFF, 0, 255) + BlendAlpha(0x1234, 0, 0), 0x1234);
}
