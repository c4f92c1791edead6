// The generated assets: bitmap formats, keys, seamless layers, boss parts, the font, compiled-in copies, a second run's bytes.
#include "platform/res.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

struct Rgb {
    int r, g, b;
    bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
};

// A decoded BMP, top row first.
struct Picture {
    bool ok = false;
    int width = 0, height = 0, bits = 0;
    std::vector<Rgb> rgb;
    Rgb At(int x, int y) const { return rgb[(size_t)y * width + x]; }
};

std::string AssetPath(const std::string& relative)
{
    return std::string(SS_BUILD_DIR) + "/" + relative;
}

std::vector<uint8_t> ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

uint32_t Le32(const std::vector<uint8_t>& v, size_t at)
{
    return at + 4 > v.size() ? 0 : (uint32_t)v[at] | v[at + 1] << 8 | v[at + 2] << 16 | (uint32_t)v[at + 3] << 24;
}

// Uncompressed bottom-up BMP with a 40-byte info header, 4 to 32 bits.
Picture ReadBmp(const std::vector<uint8_t>& f)
{
    Picture p;
    if (f.size() < 54 || f[0] != 'B' || f[1] != 'M' || Le32(f, 14) != 40 || Le32(f, 30) != 0)
        return p;
    p.width = (int)Le32(f, 18);
    p.height = (int)Le32(f, 22);
    p.bits = f[28] | f[29] << 8;
    uint32_t clrUsed = Le32(f, 46);
    size_t paletteEntries = p.bits <= 8 ? (clrUsed ? clrUsed : 1u << p.bits) : 0;
    size_t stride = (size_t)((p.bits * p.width + 31) / 32) * 4;
    size_t rows = 54 + paletteEntries * 4;
    if (p.width <= 0 || p.height <= 0 || rows + stride * p.height > f.size())
        return p;
    p.rgb.resize((size_t)p.width * p.height);
    for (int y = 0; y < p.height; y++) {
        const uint8_t* row = &f[rows + stride * (p.height - 1 - y)];
        for (int x = 0; x < p.width; x++) {
            Rgb c;
            if (p.bits <= 8) {
                int i = p.bits == 8 ? row[x] : (x % 2 ? row[x / 2] & 15 : row[x / 2] >> 4);
                const uint8_t* e = &f[54 + (size_t)i * 4];
                c = Rgb { e[2], e[1], e[0] };
            } else {
                const uint8_t* e = row + (size_t)x * (p.bits / 8);
                c = Rgb { e[2], e[1], e[0] };
            }
            p.rgb[(size_t)y * p.width + x] = c;
        }
    }
    p.ok = true;
    return p;
}

uint16_t Make565(Rgb c)
{
    return (uint16_t)(((c.r >> 3) << 11) + ((c.g >> 2) << 5) + (c.b >> 3));
}

uint16_t Make555(Rgb c)
{
    return (uint16_t)(((c.r >> 3) << 10) + ((c.g >> 3) << 5) + (c.b >> 3));
}

struct Expected {
    const char* name;
    int width, height, bits;
    int key;   // 0 none, 1 keyed by the top-left pixel, 2 keyed by native 0
};

const Expected ExpectedTable[] = {
    { "BK1", 200, 200, 8, 0 },        { "BK2", 128, 128, 8, 0 },        { "BK3", 100, 100, 8, 0 },
    { "BK4", 96, 96, 8, 0 },          { "BK5", 108, 108, 8, 0 },        { "BK6", 256, 128, 8, 0 },
    { "FG1", 128, 128, 8, 0 },        { "FG3", 128, 128, 8, 0 },        { "FLARE", 64, 64, 24, 1 },
    { "BUBBLE", 64, 64, 24, 1 },      { "SPARK", 64, 64, 24, 1 },       { "SMOKE", 64, 64, 24, 1 },
    { "SPLASH", 240, 320, 8, 0 },     { "SHIP", 20, 10, 8, 1 },         { "GUN2", 32, 64, 8, 2 },
    { "MISSILE", 16, 16, 4, 1 },      { "LOCKON", 16, 16, 4, 2 },       { "LIFE", 16, 16, 8, 1 },
    { "POWERUP", 256, 16, 8, 1 },     { "EXTRALIFE", 256, 16, 8, 1 },   { "TURRET1", 53, 53, 8, 1 },
    { "TURRET2", 53, 53, 8, 1 },      { "TURRET3", 53, 53, 8, 1 },      { "TURRET4", 53, 53, 8, 1 },
    { "TURRET5", 53, 53, 8, 1 },      { "TURRET6", 53, 53, 8, 1 },      { "EYE1", 157, 79, 8, 1 },
    { "EYE2", 157, 79, 8, 1 },        { "TENTACLE1", 158, 82, 8, 1 },   { "TENTACLE2", 158, 82, 8, 1 },
    { "SATELITE1", 158, 76, 8, 1 },   { "SATELITE2", 158, 76, 8, 1 },   { "POO1", 158, 76, 8, 1 },
    { "POO2", 158, 76, 8, 1 },        { "LCDNUMERIC", 169, 23, 8, 1 },  { "ICON107", 64, 64, 32, 0 },
};

Picture Resource(const char* name)
{
    return ReadBmp(ReadAll(AssetPath(std::string("res/") + name + ".bmp")));
}

TEST(Bitmaps, EveryResourceHasItsHeaderItsCompiledInCopyAndAKeyNoDrawnPixelTakes)
{
    for (const Expected& e : ExpectedTable) {
        SCOPED_TRACE(e.name);
        std::vector<uint8_t> file = ReadAll(AssetPath(std::string("res/") + e.name + ".bmp"));
        Picture p = ReadBmp(file);
        ASSERT_TRUE(p.ok);
        EXPECT_EQ(p.width, e.width);
        EXPECT_EQ(p.height, e.height);
        EXPECT_EQ(p.bits, e.bits);
        EXPECT_EQ(Le32(file, 46), 0u);   // no shortened palette
        int entries = e.bits == 4 ? 16 : (e.bits == 8 ? 256 : 0);
        uint32_t stride = (uint32_t)((e.bits * e.width + 31) / 32) * 4;
        EXPECT_EQ(file.size(), 14u + 40u + entries * 4u + stride * e.height);
        EXPECT_EQ(Le32(file, 10), 14u + 40u + entries * 4u);

        // The program carries the same bytes, without the file header.
        std::wstring wide(e.name, e.name + strlen(e.name));
        uint32_t size = 0;
        const uint8_t* data = ResourceFindBitmap(nullptr, wide.c_str(), &size);
        ASSERT_NE(data, nullptr);
        ASSERT_EQ(size, file.size() - 14);
        EXPECT_EQ(memcmp(data, file.data() + 14, size), 0);
        if (!e.key)
            continue;

        // No drawn pixel may turn into the key on either 16-bit layout.
        Rgb key = p.At(0, 0);
        EXPECT_TRUE(key.r == 0 && key.g == 0 && key.b == 0);
        int drawn = 0;
        for (const Rgb& c : p.rgb) {
            if (c == key)
                continue;
            drawn++;
            EXPECT_NE(Make565(c), Make565(key));
            EXPECT_NE(Make555(c), Make555(key));
        }
        EXPECT_GT(drawn, (int)p.rgb.size() / 10);
    }
}

// Mean colour difference between neighbouring columns (or rows) at a step.
double Step(const Picture& p, bool columns, int at)
{
    double sum = 0;
    int n = columns ? p.height : p.width;
    for (int i = 0; i < n; i++) {
        Rgb a = columns ? p.At(at, i) : p.At(i, at);
        Rgb b = columns ? p.At((at + 1) % p.width, i) : p.At(i, (at + 1) % p.height);
        sum += std::abs(a.r - b.r) + std::abs(a.g - b.g) + std::abs(a.b - b.b);
    }
    return sum / n;
}

// A layer tiles when stepping across its wrap (last column to first, last row
// to first) changes the picture no more than the steps right beside it do: a
// seam would stand out against both neighbours, a feature that merely
// crosses the wrap does not.
TEST(Bitmaps, LayersTileWithoutSeams)
{
    for (const char* name : { "BK1", "BK2", "BK3", "BK4", "BK5", "BK6", "FG1", "FG3" }) {
        SCOPED_TRACE(name);
        Picture p = Resource(name);
        for (bool columns : { true, false }) {
            int size = columns ? p.width : p.height;
            double beside = std::max(Step(p, columns, size - 2), Step(p, columns, 0));
            EXPECT_LE(Step(p, columns, size - 1), beside * 1.5 + 3.0) << (columns ? "columns" : "rows");
        }
    }
}

// The first two bosses are pinned by the golden boss fight.
struct BossCheck {
    const char *intact, *damaged;
    int parts;
    int hit[4][4], damage[4][4];
};

const BossCheck BossCheckTable[] = {
    { "EYE1", "EYE2", 4, { { 10, 22, 28, 45 }, { 30, 25, 50, 52 }, { 108, 25, 128, 52 }, { 128, 22, 148, 45 } },
      { { 10, 0, 28, 79 }, { 30, 0, 50, 79 }, { 108, 0, 128, 79 }, { 128, 0, 148, 79 } } },
    { "POO1", "POO2", 4, { { 1, 30, 13, 42 }, { 20, 41, 42, 53 }, { 130, 43, 142, 55 }, { 144, 30, 156, 42 } },
      { { 1, 0, 15, 76 }, { 20, 0, 36, 76 }, { 125, 0, 142, 76 }, { 143, 0, 158, 76 } } },
};

TEST(Bitmaps, BossPartsSitOnTheirHitBoxesAndWreckInTheirAreas)
{
    for (const BossCheck& b : BossCheckTable) {
        SCOPED_TRACE(b.intact);
        Picture intact = Resource(b.intact), damaged = Resource(b.damaged);
        ASSERT_EQ(intact.width, damaged.width);
        ASSERT_EQ(intact.height, damaged.height);
        Rgb key = intact.At(0, 0);
        EXPECT_EQ(damaged.At(0, 0), key);
        for (int k = 0; k < b.parts; k++) {
            const int* h = b.hit[k];
            int drawn = 0;
            for (int y = h[1]; y < h[3]; y++)
                for (int x = h[0]; x < h[2]; x++)
                    drawn += !(intact.At(x, y) == key);
            EXPECT_GE(drawn * 10, (h[2] - h[0]) * (h[3] - h[1]) * 7) << "part " << k;

            const int* d = b.damage[k];
            int changed = 0;
            for (int y = d[1]; y < std::min(d[3], intact.height); y++)
                for (int x = d[0]; x < std::min(d[2], intact.width); x++)
                    changed += !(intact.At(x, y) == damaged.At(x, y));
            EXPECT_GE(changed * 10, (d[2] - d[0]) * (d[3] - d[1])) << "wreck " << k;
        }
    }
}

// How the strip draws (its key, its height, a line's width) is pinned by every golden frame with text.
TEST(Bitmaps, FontStripMatchesItsWidthFileAndCoversTheGameTexts)
{
    Picture strip = ReadBmp(ReadAll(AssetPath("GFX/FONT.BMP")));
    std::vector<uint8_t> inf = ReadAll(AssetPath("GFX/FONT.INF"));
    ASSERT_GE(inf.size(), 2u);
    int count = inf[0], height = inf[1];
    ASSERT_EQ(inf.size(), 2u + 2u * count);
    EXPECT_EQ(strip.height, height);
    int width[256] = {}, total = 0;
    for (int i = 0; i < count; i++) {
        width[inf[2 + 2 * i]] = inf[3 + 2 * i];
        total += inf[3 + 2 * i];
    }
    EXPECT_EQ(total, strip.width);
    const char* needed = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789 :%!'-.,?/()";
    for (const char* c = needed; *c; c++)
        EXPECT_GT(width[(uint8_t)*c], 0) << "missing '" << *c << "'";
}

// The generator draws from its own fixed-seed generator: a fresh run into
// another folder writes exactly the files of the build.
TEST(Generator, TwoRunsGiveTheSameBytes)
{
    namespace fs = std::filesystem;
    fs::path out = fs::temp_directory_path() / (std::string("assetgen-twice-") + std::to_string(::getpid()));
    fs::remove_all(out);
    std::string command = std::string("\"") + SS_BUILD_DIR + "/tools/assetgen/assetgen\" \"" + out.string() + "\"";
    ASSERT_EQ(std::system(command.c_str()), 0);
    int compared = 0;
    for (const char* dir : { "res", "GFX", "sounds" }) {
        for (const auto& entry : fs::directory_iterator(out / dir)) {
            if (!entry.is_regular_file())
                continue;
            std::string name = std::string(dir) + "/" + entry.path().filename().string();
            if (name.size() > 4 && name.substr(name.size() - 4) == ".cpp")
                continue;
            EXPECT_EQ(ReadAll(entry.path().string()), ReadAll(AssetPath(name))) << name;
            compared++;
        }
    }
    EXPECT_GT(compared, 50);
    fs::remove_all(out);
}

} // namespace
