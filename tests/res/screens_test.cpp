// The screen backgrounds keep their text places readable, and the pick-up animations loop smoothly.
#include "tests/res/asset_files.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

struct Area {
    int x0, y0, x1, y1;
};

// Mean brightness (0-255) and its spread over an area.
void Brightness(const Picture& p, Area a, double* mean, double* spread)
{
    double sum = 0, sq = 0;
    int n = 0;
    for (int y = a.y0; y < a.y1; y++)
        for (int x = a.x0; x < a.x1; x++) {
            Rgb c = p.At(x, y);
            double l = 0.299 * c.r + 0.587 * c.g + 0.114 * c.b;
            sum += l, sq += l * l, n++;
        }
    *mean = sum / n;
    *spread = std::sqrt(std::max(0.0, sq / n - *mean * *mean));
}

// Black labels and the black titles need light, even ground.
void ExpectLightFor(const Picture& p, Area a, const char* what)
{
    double mean, spread;
    Brightness(p, a, &mean, &spread);
    EXPECT_GT(mean, 160) << what;
    EXPECT_LT(spread, 30) << what;
}

TEST(Screens, MenuLabelsAndTitleSitOnLightMetal)
{
    Picture menu = ReadBmp(AssetPath("GFX/PIPES.BMP"));
    ASSERT_TRUE(menu.ok);
    ExpectLightFor(menu, { 24, 8, 96, 15 }, "title");
    for (int y : { 75, 119, 162, 204 })
        ExpectLightFor(menu, { 64, y + 11, 172, y + 18 }, "button label");
}

TEST(Screens, ScorePageCarriesWhiteYellowAndBlackText)
{
    Picture page = ReadBmp(AssetPath("GFX/PAGE1.BMP"));
    ASSERT_TRUE(page.ok);
    ExpectLightFor(page, { 15, 8, 103, 15 }, "title");
    ExpectLightFor(page, { 70, 285, 160, 292 }, "button label");
    // The table and the Game Over texts: a calm middle tone, far enough
    // from black for black text and from white for white and yellow.
    double mean, spread;
    Brightness(page, { 38, 65, 190, 245 }, &mean, &spread);
    EXPECT_GT(mean, 80);
    EXPECT_LT(mean, 140);
    EXPECT_LT(spread, 15);
}

TEST(Screens, NameEntryShowsGlowsOnDarkAndLabelsOnLight)
{
    Picture page = ReadBmp(AssetPath("GFX/PAGE2.BMP"));
    ASSERT_TRUE(page.ok);
    ExpectLightFor(page, { 15, 8, 95, 15 }, "title");
    ExpectLightFor(page, { 56, 284, 88, 291 }, "OK");
    ExpectLightFor(page, { 142, 284, 190, 291 }, "Cancel");
    double mean, spread;
    Brightness(page, { 80, 60, 155, 195 }, &mean, &spread);
    EXPECT_LT(mean, 40) << "letter grid";
    Brightness(page, { 60, 209, 180, 216 }, &mean, &spread);
    EXPECT_LT(mean, 40) << "typed name";
}

// Pixels that differ between frames a and b of a 16-frame strip.
int FrameChange(const Picture& p, int a, int b)
{
    int n = 0;
    for (int y = 0; y < 16; y++)
        for (int x = 0; x < 16; x++)
            n += !(p.At(a * 16 + x, y) == p.At(b * 16 + x, y));
    return n;
}

TEST(Screens, PickUpStripsAnimateInASmoothLoop)
{
    for (const char* name : { "POWERUP", "EXTRALIFE" }) {
        SCOPED_TRACE(name);
        Picture strip = ReadBmp(AssetPath(std::string("res/") + name + ".bmp"));
        ASSERT_TRUE(strip.ok);
        int largest = 0;
        for (int i = 0; i < 15; i++) {
            int change = FrameChange(strip, i, i + 1);
            EXPECT_GT(change, 0) << "frame " << i;
            largest = std::max(largest, change);
        }
        int wrap = FrameChange(strip, 15, 0);
        EXPECT_GT(wrap, 0);
        EXPECT_LE(wrap, largest);
    }
}

} // namespace
