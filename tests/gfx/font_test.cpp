// Both fonts: the widths file, centring, absent characters, capitals and wrapping.
#include "gfx/font.h"
#include "gfx/pixelfont.h"
#include "platform/headless.h"

#include <cstdio>
#include <cstring>
#include <gtest/gtest.h>
#include <string>
#include <vector>

static std::vector<int> Lit(const Surface& s, uint16_t colour)
{
    std::vector<int> at;
    for (int i = 0; i < s.width * s.height; i++)
        if (s.pixels[i] == colour)
            at.push_back(i);
    return at;
}

static std::string folder = ::testing::TempDir() + "gfx_font_test_";

static void WriteFile(const char* name, const std::vector<uint8_t>& bytes)
{
    FILE* f = fopen((folder + name).c_str(), "wb");
    fwrite(bytes.data(), 1, bytes.size(), f);
    fclose(f);
}

// A 30 x 12 strip of 24 bits: white glyph pixels, the top-left one black, the key.
static int LoadFont(BitmapFont* font, const std::vector<uint8_t>& widths)
{
    std::vector<uint8_t> file(54 + 92 * 12, 0xFF);
    const uint8_t header[] = { 'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 40, 0, 0, 0, 30, 0, 0, 0, 12, 0, 0, 0, 1, 0, 24, 0 };
    memcpy(file.data(), header, sizeof header);
    memset(&file[30], 0, 24);
    memset(&file[54 + 92 * 11], 0, 3);
    WriteFile("FONT.BMP", file);
    WriteFile("FONT.INF", widths);
    return FontLoad(font, (folder + "FONT.BMP").c_str());
}

TEST(FontTest, WidthsFileCentringAndAbsentCharacters)
{
    HeadlessReset();
    PixelFormatSelect(0xA0);
    BitmapFont font;
    Surface screen, expected;
    SurfaceCreate(&screen, 240, 320);
    SurfaceClear(&screen, 0);
    // The glyphs' places and the centring are pinned by the golden runs' texts; absent characters are not.
    ASSERT_EQ(LoadFont(&font, { 3, 12, 'A', 10, 'B', 12, 'C', 8 }), 1);
    FontDrawText(&font, &screen, -1, 20, "ABC", 0xF800);
    ASSERT_EQ(Lit(screen, 0xF800).size(), 30u * 12 - 1);   // every pixel but the key
    SurfaceCopy(&expected, &screen);
    SurfaceClear(&screen, 0);
    FontDrawText(&font, &screen, 105, 20, "A?\x80\xFF" "BC", 0xF800);   // no glyphs, no gaps
    EXPECT_EQ(memcmp(screen.pixels, expected.pixels, 240 * 320 * 2), 0);

    ASSERT_EQ(LoadFont(&font, { 5, 12, 'A', 10, 'B', 12, 'C' }), 1);   // ends inside the third record
    EXPECT_EQ(font.glyphCount, 2);
    EXPECT_EQ(font.glyphWidth['B'] * 100 + font.glyphWidth['C'], 1200);
    remove((folder + "FONT.INF").c_str());
    EXPECT_EQ(FontLoad(&font, (folder + "FONT.BMP").c_str()), 0);
    EXPECT_EQ(font.glyphWidth['A'], 0);
    EXPECT_TRUE(HeadlessBoxes().empty());
    EXPECT_EQ(FontLoad(&font, (folder + "NONE.BMP").c_str()), 0);
    EXPECT_EQ(HeadlessBoxes(), std::vector<std::string>{ "Debug: Error loading font" });
}

TEST(FontTest, PixelFontDrawsLowerCaseCellsAndWraps)
{
    PixelFontBuild();
    Surface screen, upper;
    SurfaceCreate(&screen, 240, 320);
    SurfaceClear(&screen, 0);
    PixelFontDrawText(&screen, "Hi %\xE9!", 0, 0, 1);
    SurfaceCopy(&upper, &screen);
    SurfaceClear(&screen, 0);
    PixelFontDrawText(&screen, "hi", 0, 0, 1);
    PixelFontDrawText(&screen, "!", 40, 0, 1);   // " ", "%" and 0xE9 are blank cells
    EXPECT_EQ(memcmp(screen.pixels, upper.pixels, 240 * 320 * 2), 0);
    EXPECT_EQ(Lit(screen, 1).size(), 25u + 18 + 12);

    SurfaceClear(&screen, 0);
    PixelFontDrawText(&screen, std::string(30, '#').c_str(), 0, 0, 1);   // 29 cells, then the next line
    EXPECT_EQ(Lit(screen, 1).size(), 30u * 49);
    EXPECT_EQ(screen.pixels[6 * 240 + 230] + screen.pixels[9 * 240] + screen.pixels[9 * 240 + 8], 2);
    SurfaceClear(&screen, 0);
    PixelFontDrawText(&screen, "#####", -1, -1, 1);
    PixelFontDrawText(&screen, "#\n#", 10, 20, 1);
    EXPECT_EQ(Lit(screen, 1).front(), 20 * 240 + 10);
    EXPECT_EQ(Lit(screen, 1).back(), (156 + 6) * 240 + 138);   // five cells from (100, 156)
    EXPECT_EQ(screen.pixels[29 * 240 + 10], 1);
    PixelFontFree();
}
