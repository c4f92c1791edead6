// Fades (the steps presented and the pictures shown) and sprite strips (frames, delay, wrap).
#include "app/display.h"
#include "game/spritestrip.h"
#include "gfx/blit.h"
#include "gfx/fade.h"
#include "platform/headless.h"

#include <gtest/gtest.h>
#include <vector>

static std::vector<std::vector<uint16_t>> shown;

static void RecordFrame(void*)
{
    shown.emplace_back(240 * 320);
    HeadlessScreenRead(shown.back().data());
}

TEST(FadeTest, StepsShownAndFinalPicture)
{
    for (int step : { 50, 30, 255 }) {
        for (int fadeIn : { 0, 1 }) {
            HeadlessReset();
            displayProps = GXGetDisplayProperties();
            PixelFormatSelect(displayProps.ffFormat);
            Surface back;
            ASSERT_EQ(OpenDisplay(&back, nullptr), 1);
            for (int i = 0; i < 240 * 320; i++)
                back.pixels[i] = (uint16_t)(i * 40503u >> 3);
            std::vector<uint16_t> picture(back.pixels, back.pixels + 240 * 320), solid(240 * 320, 0x1863);
            shown.clear();
            HeadlessSetPresentHook(RecordFrame, nullptr);
            EXPECT_EQ(fadeIn ? FadeIn(&back, 0x1863, step) : FadeOut(&back, 0x1863, step), 1);
            ASSERT_EQ(HeadlessFramesPresented(), step == 50 ? 7u : step == 30 ? 10u : 2u);
            EXPECT_EQ(shown.front(), fadeIn ? solid : picture);
            EXPECT_EQ(shown.back(), fadeIn ? picture : solid);
            EXPECT_EQ(std::vector<uint16_t>(back.pixels, back.pixels + 240 * 320), shown.back());
            if (step == 50) {   // the level before the last is 250
                EXPECT_EQ(shown[5][1], BlendAlpha(0x1863, picture[1], fadeIn ? 250 : 5)) << fadeIn;
            }
        }
    }
}

TEST(SpriteStripTest, FramesDelayAndWrap)
{
    PixelFormatSelect(0xA0);
    Surface image, screen;
    SurfaceCreate(&image, 64, 16);   // four 16 x 16 frames, each pixel naming its frame
    for (int i = 0; i < 64 * 16; i++)
        image.pixels[i] = (uint16_t)(100 + i % 64 / 16);
    image.pixels[0] = 7;
    SurfaceCreate(&screen, 40, 40);
    SurfaceClear(&screen, 0);
    SpriteStrip strip;
    SpriteStripInit(&strip, &image, 0, 0, 16, 16, 16, 0, 4, 2);
    EXPECT_EQ(image.colourKey, 7);
    EXPECT_EQ(strip.srcX[3], 48);
    SpriteStripDraw(&strip, &screen, 10, 12, 2, BlitCopy);   // frame 2 over (10, 12) to (25, 27)
    EXPECT_EQ(screen.pixels[27 * 40 + 25], 102);
    EXPECT_EQ(screen.pixels[28 * 40 + 26], 0);
    // Two advances per frame, then back to the first, whose corner pixel is the key.
    std::vector<int> drawn;
    for (int i = 0; i < 6; i++) {
        SpriteStripDraw(&strip, &screen, 0, 0, -1, BlitKeyed);
        drawn.push_back(screen.pixels[0] * 1000 + screen.pixels[1]);   // corner, then its neighbour
    }
    EXPECT_EQ(drawn, (std::vector<int>{ 102102, 103103, 103103, 103100, 103100, 101101 }));
    SpriteStripDraw(&strip, &screen, 0, 0, 9, BlitCopy);   // no such frame: nothing happens
    EXPECT_EQ(strip.frame, 1u);
}
