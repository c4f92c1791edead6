// Reading the generated asset files in the tests: whole files, BMP pictures, native pixel values.
#pragma once
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

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

inline std::string AssetPath(const std::string& relative)
{
    return std::string(SS_BUILD_DIR) + "/" + relative;
}

inline std::vector<uint8_t> ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

inline uint32_t Le32(const std::vector<uint8_t>& v, size_t at)
{
    return at + 4 > v.size() ? 0 : (uint32_t)v[at] | v[at + 1] << 8 | v[at + 2] << 16 | (uint32_t)v[at + 3] << 24;
}

// Uncompressed bottom-up BMP with a 40-byte info header, 4 to 32 bits.
inline Picture ReadBmp(const std::vector<uint8_t>& f)
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

inline uint16_t Make565(Rgb c)
{
    return (uint16_t)(((c.r >> 3) << 11) + ((c.g >> 2) << 5) + (c.b >> 3));
}

inline uint16_t Make555(Rgb c)
{
    return (uint16_t)(((c.r >> 3) << 10) + ((c.g >> 3) << 5) + (c.b >> 3));
}
