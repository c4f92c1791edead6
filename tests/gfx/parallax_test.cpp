// The parallax background: offsets outside the period, weights, the one-layer path, narrow and wide bitmaps.
#include "gfx/parallax.h"
#include "platform/headless.h"
#include "platform/res.h"
#include "tests/gfx/dib24.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

// Each row and column of these bitmaps has a colour of its own, exact in 565.
Rgb RowColour(int row, int) { return { (uint8_t)(row % 32 * 8), (uint8_t)(row / 32 * 4), 0 }; }
Rgb ColumnColour(int, int column) { return { 0, (uint8_t)(column % 64 * 4), (uint8_t)(column / 64 * 8) }; }
Rgb White(int, int) { return { 255, 255, 255 }; }

class ParallaxTest : public ::testing::Test {
protected:
    std::unique_ptr<Parallax> parallax = std::make_unique<Parallax>();
    Surface screen;
    std::vector<std::vector<uint8_t>> bitmaps;

    void SetUp() override
    {
        HeadlessReset();
        PixelFormatSelect(0xA0);
        ParallaxInit(parallax.get());
        SurfaceCreate(&screen, 240, 320);
    }
    void TearDown() override { ResourceRegisterClear(); }

    template <class Pixel>
    void Register(const wchar_t* name, int w, int h, Pixel pixel)
    {
        bitmaps.push_back(Dib24(w, h, pixel));
        ResourceRegister(name, bitmaps.back().data(), (uint32_t)bitmaps.back().size());
    }
};

TEST_F(ParallaxTest, OffsetsOutsideThePeriodShowTheSamePictureAndScrollBackIntoIt)
{
    // The first stage's shape: periods 100 and 128, speeds -1 and +1.
    Register(L"T100", 100, 100, RowColour);
    Register(L"T128", 240, 128, RowColour);
    ParallaxLoadBack(parallax.get(), L"T100", -1, 0.5f);
    ParallaxLoadFront(parallax.get(), L"T128", 1, 0.5f);
    auto frame = [&](int32_t back, int32_t front) {
        parallax->backOffset = back;
        parallax->frontOffset = front;
        EXPECT_EQ(ParallaxCompose(parallax.get(), &screen), 1);
        return std::vector<uint16_t>(screen.pixels, screen.pixels + 240 * 320);
    };
    // Offsets before a frame, their places in the periods, and the offsets after it:
    // the speed added and one period taken off or added.
    const int32_t table[][6] = {
        { 150, 127, 50, 127, 49, 0 },
        { 199, 300, 99, 44, 98, 173 },
        { 100, 128, 0, 0, 99, 1 },
        { -30, -1, 70, 127, 69, 0 },
        { INT32_MAX, INT32_MIN, 47, 0, INT32_MAX - 101, INT32_MIN + 129 },
    };
    for (const auto& row : table) {
        std::vector<uint16_t> inPeriod = frame(row[2], row[3]);
        EXPECT_EQ(frame(row[0], row[1]), inPeriod) << row[0] << " " << row[1];
        EXPECT_EQ(parallax->backOffset, row[4]);
        EXPECT_EQ(parallax->frontOffset, row[5]);
    }
}

TEST_F(ParallaxTest, WhiteLayersWeightedToOneStayBelowOverflow)
{
    Register(L"WHITE", 32, 32, White);
    for (uint32_t format : { 0xA0u, 0x60u }) {
        PixelFormatSelect(format);
        ParallaxLoadBack(parallax.get(), L"WHITE", -1, 0.75f);
        ParallaxLoadFront(parallax.get(), L"WHITE", -3, 0.25f);
        ParallaxCompose(parallax.get(), &screen);
        // 23 + 7 in every five-bit channel; 47 + 15 in the green of 565.
        uint16_t expected = format == 0xA0 ? (30 << 11 | 62 << 5 | 30) : (30 << 10 | 30 << 5 | 30);
        for (int i = 0; i < 240 * 320; i += 97)
            ASSERT_EQ(screen.pixels[i], expected) << i;
    }
}

TEST_F(ParallaxTest, NarrowBitmapsRepeatAcrossAndWideOnesAreCut)
{
    Register(L"NARROW", 100, 100, ColumnColour);
    Register(L"WIDE", 256, 128, ColumnColour);
    for (const wchar_t* name : { L"NARROW", L"WIDE" }) {
        int width = name[0] == L'N' ? 100 : 256;
        ASSERT_EQ(ParallaxLoadBack(parallax.get(), name, -1, 1.0f), 1);
        ParallaxCompose(parallax.get(), &screen);
        for (int x = 0; x < 240; x++) {
            Rgb c = ColumnColour(0, x % width);
            ASSERT_EQ(screen.pixels[319 * 240 + x], MakeColour(c.red, c.green, c.blue)) << x;
        }
    }
}

TEST_F(ParallaxTest, MissingLayersKeepWhatTheyHeld)
{
    EXPECT_EQ(ParallaxCompose(parallax.get(), &screen), 0);   // nothing loaded: nothing drawn
    Register(L"WHITE", 8, 8, White);
    ParallaxLoadBack(parallax.get(), L"WHITE", -2, 0.5f);
    EXPECT_EQ(ParallaxLoadBack(parallax.get(), L"NONE", -1, 1.0f), 0);
    EXPECT_EQ(parallax->backSpeed * parallax->backPeriod, -2 * 8);
    Surface small;   // a display smaller than the frame gets no background
    SurfaceCreate(&small, 120, 160);
    EXPECT_EQ(ParallaxCompose(parallax.get(), &small), 0);
}

}  // namespace
