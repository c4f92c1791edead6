// The bitmap loaders: every depth from small images made here, the file loader's palette rule, malformed input.
#include "gfx/bitmap.h"
#include "platform/headless.h"
#include "platform/res.h"
#include "platform/sys.h"

#include <cstdio>
#include <gtest/gtest.h>
#include <string>
#include <vector>

static void Put32(std::vector<uint8_t>& b, size_t at, uint32_t v)
{
    for (int i = 0; i < 4; i++)
        b[at + i] = (uint8_t)(v >> (8 * i));
}

// A scrambled value for pixel (x, y), top row 0: a palette index or a direct colour.
static uint32_t Value(int x, int y, uint32_t colours) { return ((uint32_t)(x * 37 + y * 91 + 11) * 2654435761u >> 7) % (colours ? colours : ~0u); }

// Info header, palette and bottom-up rows padded with junk, as a resource holds them.
static std::vector<uint8_t> MakeDib(int w, int h, int bits, uint32_t clrUsed = 0)
{
    uint32_t colours = clrUsed ? clrUsed : bits <= 8 ? 1u << bits : 0;
    size_t stride = (size_t)(bits * w + 31) / 32 * 4, rows = 40 + colours * 4;
    std::vector<uint8_t> b(rows + stride * h, 0xEE);
    for (auto [at, v] : { std::pair{ 0, 40u }, { 4, (uint32_t)w }, { 8, (uint32_t)h }, { 12, 1u | bits << 16 }, { 16, 0u }, { 32, clrUsed } })
        Put32(b, at, v);
    for (uint32_t i = 0; i < colours; i++)
        Put32(b, 40 + 4 * i, (i * 7 & 255) | (i * 13 & 255) << 8 | (i * 29 & 255) << 16);
    for (int y = 0; y < h; y++) {
        for (int x = 0; x < w; x++) {
            uint32_t v = Value(x, y, colours);
            uint8_t* p = &b[rows + stride * (h - 1 - y) + x * bits / 8];
            int shift = 8 - bits - x * bits % 8;   // the leftmost pixel of a byte in its high bits
            for (int i = 0; i < (bits + 7) / 8; i++)
                p[i] = bits < 8 ? (uint8_t)((p[i] & ~(((1 << bits) - 1) << shift)) | v << shift) : (uint8_t)(v >> (8 * i));
        }
    }
    return b;
}

static uint16_t Expected(int bits, uint32_t colours, int x, int y)
{
    uint32_t v = Value(x, y, colours);
    if (bits <= 8)
        return MakeColour(v * 29 & 255, v * 13 & 255, v * 7 & 255);
    if (bits == 16)
        return MakeColour((v >> 10 & 31) << 3, (v >> 5 & 31) << 3, (v & 31) << 3);
    return MakeColour(v >> 16 & 255, v >> 8 & 255, v & 255);
}

// Tests run side by side: each writes a file of its own name.
static int LoadAsFile(Surface* s, const std::vector<uint8_t>& dib)
{
    std::string path = ::testing::TempDir() + "gfx_" + ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".bmp";
    FILE* f = fopen(path.c_str(), "wb");
    fwrite("BM------------", 1, 14, f);
    if (!dib.empty())
        fwrite(dib.data(), 1, dib.size(), f);
    fclose(f);
    return LoadBitmapFile(s, path.c_str());
}

static int LoadAsResource(Surface* s, const std::vector<uint8_t>& dib)
{
    ResourceRegister(L"TEST", dib.data(), (uint32_t)dib.size());
    return LoadBitmapResource(s, SysModule(), L"TEST");
}

// The 13 x 3 pictures below: 13 pixels leave padding at the end of the rows of every depth but 32 bits.
static void ExpectPicture(const Surface& s, int bits, uint32_t colours)
{
    ASSERT_EQ(std::pair(s.width, s.height), std::pair(13, 3));
    for (int i = 0; i < 13 * 3; i++)
        ASSERT_EQ(s.pixels[i], Expected(bits, colours, i % 13, i / 13)) << bits << " bits, pixel " << i;
}

TEST(BitmapTest, EveryDepthWithPaddedBottomUpRows)
{
    HeadlessReset();
    for (int format : { 0xA0, 0x60 }) {
        PixelFormatSelect(format);
        for (int bits : { 1, 4, 8, 16, 24, 32 }) {
            std::vector<uint8_t> dib = MakeDib(13, 3, bits);
            Surface res, file;
            ASSERT_EQ(LoadAsResource(&res, dib), 1) << bits;
            ExpectPicture(res, bits, bits <= 8 ? 1u << bits : 0);
            // Files take a palette only when it is full: 1 and 4 bits are refused.
            ASSERT_EQ(LoadAsFile(&file, dib), bits >= 8) << bits;
            if (bits >= 8)
                ExpectPicture(file, bits, bits == 8 ? 256 : 0);
        }
    }
    std::vector<uint8_t> small = MakeDib(13, 3, 8, 16);   // the same rule for a short 8-bit palette
    Surface s;
    EXPECT_EQ(LoadAsFile(&s, small), 0);
    ASSERT_EQ(LoadAsResource(&s, small), 1);
    ExpectPicture(s, 8, 16);
    EXPECT_EQ(HeadlessBoxes(), std::vector<std::string>(5, "Debug: LoadBMP Failed"));
}

TEST(BitmapTest, MalformedInputFailsAndKeepsThePreviousImage)
{
    HeadlessReset();
    std::vector<std::vector<uint8_t>> bad;
    std::vector<uint8_t> good = MakeDib(7, 5, 8);
    for (size_t cut : { (size_t)0, (size_t)39, (size_t)40 + 1023, good.size() - 1 })   // header, palette, rows
        bad.emplace_back(good.begin(), good.begin() + cut);
    for (auto [at, value] : { std::pair{ 4, 0u }, { 8, 0u }, { 4, (uint32_t)-7 }, { 8, (uint32_t)-5 },   // zero, negative, top-down
             { 4, 1u << 20 }, { 4, 0x7FFFFFFFu }, { 0, 12u }, { 0, 108u },   // absurd width, other header sizes
             { 16, 1u }, { 12, 1u | 3 << 16 }, { 32, 0x10000u } }) {         // compressed, 3 bits, 65536 colours
        bad.push_back(good);
        Put32(bad.back(), at, value);
    }
    bad.push_back(MakeDib(7, 5, 8, 16));
    bad.back()[40 + 16 * 4 + 3] = 16;   // an index past a 16-entry palette
    for (const std::vector<uint8_t>& dib : bad) {
        Surface res, file;
        SurfaceCreate(&res, 2, 2);
        SurfaceCreate(&file, 2, 2);
        size_t boxes = HeadlessBoxes().size();
        EXPECT_EQ(LoadAsResource(&res, dib), 0) << bad.size();
        EXPECT_EQ(HeadlessBoxes().size(), boxes);
        EXPECT_EQ(LoadAsFile(&file, dib), 0);
        EXPECT_EQ(HeadlessBoxes().size(), boxes + 1);
        EXPECT_EQ(res.width + file.width, 4);
    }
    Surface s;   // nothing to open: silent
    EXPECT_EQ(LoadBitmapFile(&s, nullptr) + LoadBitmapFile(&s, "") + LoadBitmapFile(&s, "no/such/file.bmp"), 0);
    EXPECT_EQ(LoadBitmapResource(&s, SysModule(), nullptr) + LoadBitmapResource(&s, SysModule(), L"NOSUCH"), 0);
    EXPECT_EQ(HeadlessBoxes().size(), bad.size());
}
