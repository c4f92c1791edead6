// Output of the asset generator: palettes, BMP, PNG and WAV files.
#include "output.h"

#include "platform/headless.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>

static uint8_t ToByte(float v)
{
    return (uint8_t)std::lround(Clamp01(v) * 255.0f);
}

uint16_t Native565(Rgb8 c)
{
    return (uint16_t)(((c.r >> 3) << 11) + ((c.g >> 2) << 5) + (c.b >> 3));
}

uint16_t Native555(Rgb8 c)
{
    return (uint16_t)(((c.r >> 3) << 10) + ((c.g >> 3) << 5) + (c.b >> 3));
}

// A drawn pixel that would read as native 0 on either display is lifted just
// above it, so it can never vanish as the black key.
static Rgb8 AvoidKey(Rgb8 c)
{
    if (Native565(c) == 0 || Native555(c) == 0)
        c.b = 8;
    return c;
}

std::vector<Rgb8> ImageFlatten(const Image& image, FlattenMode mode)
{
    std::vector<Rgb8> out(image.pixels.size());
    for (size_t i = 0; i < out.size(); i++) {
        const Colour& p = image.pixels[i];
        if (mode == FlattenOpaque) {
            float a = Clamp01(p.a);
            out[i] = Rgb8 { ToByte(p.r * a), ToByte(p.g * a), ToByte(p.b * a) };
        } else if (p.a < 0.5f) {
            out[i] = Rgb8 { 0, 0, 0 };
        } else {
            out[i] = AvoidKey(Rgb8 { ToByte(p.r), ToByte(p.g), ToByte(p.b) });
        }
    }
    return out;
}

struct Weighted {
    int c[3];
    uint32_t count;
};

static uint32_t Pack(Rgb8 c)
{
    return ((uint32_t)c.r << 16) | ((uint32_t)c.g << 8) | c.b;
}

static int Distance(const int* a, const int* b)
{
    int dr = a[0] - b[0], dg = a[1] - b[1], db = a[2] - b[2];
    return 3 * dr * dr + 4 * dg * dg + 2 * db * db;
}

// Median cut over the colours with their pixel counts.
static std::vector<std::array<int, 3>> MedianCut(std::vector<Weighted> colours, int slots)
{
    struct Box {
        size_t begin, end;
    };
    std::vector<Box> boxes { { 0, colours.size() } };
    auto spread = [&](const Box& b, int* axis) {
        int lo[3] = { 255, 255, 255 }, hi[3] = { 0, 0, 0 };
        uint64_t n = 0;
        for (size_t i = b.begin; i < b.end; i++) {
            for (int k = 0; k < 3; k++)
                lo[k] = std::min(lo[k], colours[i].c[k]), hi[k] = std::max(hi[k], colours[i].c[k]);
            n += colours[i].count;
        }
        static const int weight[3] = { 3, 4, 2 };
        int best = 0;
        for (int k = 1; k < 3; k++)
            if ((hi[k] - lo[k]) * weight[k] > (hi[best] - lo[best]) * weight[best])
                best = k;
        *axis = best;
        double range = (hi[best] - lo[best]) * weight[best];
        return range * range * std::sqrt((double)n);
    };
    while ((int)boxes.size() < slots) {
        int pick = -1, axis = 0;
        double top = 0.0;
        for (size_t i = 0; i < boxes.size(); i++) {
            int a = 0;
            double s = boxes[i].end - boxes[i].begin > 1 ? spread(boxes[i], &a) : 0.0;
            if (s > top)
                top = s, pick = (int)i, axis = a;
        }
        if (pick < 0)
            break;
        Box b = boxes[pick];
        auto key = [axis](const Weighted& w) { return (w.c[axis] << 24) | (w.c[0] << 16) | (w.c[1] << 8) | w.c[2]; };
        std::sort(colours.begin() + b.begin, colours.begin() + b.end,
                  [&](const Weighted& x, const Weighted& y) { return key(x) < key(y); });
        uint64_t total = 0, run = 0;
        for (size_t i = b.begin; i < b.end; i++)
            total += colours[i].count;
        size_t cut = b.begin + 1;
        for (size_t i = b.begin; i < b.end - 1; i++) {
            run += colours[i].count;
            cut = i + 1;
            if (run * 2 >= total)
                break;
        }
        boxes[pick] = { b.begin, cut };
        boxes.push_back({ cut, b.end });
    }
    std::vector<std::array<int, 3>> palette;
    for (const Box& b : boxes) {
        double s[3] = { 0, 0, 0 }, n = 0;
        for (size_t i = b.begin; i < b.end; i++) {
            for (int k = 0; k < 3; k++)
                s[k] += (double)colours[i].c[k] * colours[i].count;
            n += colours[i].count;
        }
        palette.push_back({ (int)std::lround(s[0] / n), (int)std::lround(s[1] / n), (int)std::lround(s[2] / n) });
    }
    return palette;
}

static int Nearest(const std::vector<std::array<int, 3>>& palette, const int* c)
{
    int best = 0, bestD = 1 << 30;
    for (size_t i = 0; i < palette.size(); i++) {
        int d = Distance(palette[i].data(), c);
        if (d < bestD)
            bestD = d, best = (int)i;
    }
    return best;
}

Indexed Quantize(const std::vector<Rgb8>& rgb, int width, int height, int bits, bool keyed)
{
    int entries = 1 << bits;
    int slots = keyed ? entries - 1 : entries;
    std::map<uint32_t, uint32_t> counts;
    for (Rgb8 c : rgb)
        if (!keyed || Pack(c) != 0)
            counts[Pack(c)]++;
    std::vector<Weighted> colours;
    for (auto& [packed, n] : counts)
        colours.push_back({ { (int)(packed >> 16), (int)((packed >> 8) & 255), (int)(packed & 255) }, n });

    std::vector<std::array<int, 3>> palette;
    if ((int)colours.size() <= slots) {
        for (auto& w : colours)
            palette.push_back({ w.c[0], w.c[1], w.c[2] });
    } else {
        palette = MedianCut(colours, slots);
        for (int round = 0; round < 6; round++) {
            std::vector<std::array<double, 4>> sums(palette.size(), { 0, 0, 0, 0 });
            for (auto& w : colours) {
                auto& s = sums[Nearest(palette, w.c)];
                for (int k = 0; k < 3; k++)
                    s[k] += (double)w.c[k] * w.count;
                s[3] += w.count;
            }
            for (size_t i = 0; i < palette.size(); i++)
                if (sums[i][3] > 0)
                    for (int k = 0; k < 3; k++)
                        palette[i][k] = (int)std::lround(sums[i][k] / sums[i][3]);
        }
    }

    Indexed out { width, height, bits, std::vector<uint8_t>(rgb.size()), std::vector<Rgb8>(entries, Rgb8 { 0, 0, 0 }) };
    int base = keyed ? 1 : 0;
    for (size_t i = 0; i < palette.size(); i++) {
        Rgb8 c { (uint8_t)palette[i][0], (uint8_t)palette[i][1], (uint8_t)palette[i][2] };
        out.palette[base + i] = keyed ? AvoidKey(c) : c;
    }
    std::map<uint32_t, uint8_t> lookup;
    for (size_t i = 0; i < rgb.size(); i++) {
        uint32_t p = Pack(rgb[i]);
        if (keyed && p == 0) {
            out.index[i] = 0;
            continue;
        }
        auto it = lookup.find(p);
        if (it == lookup.end()) {
            int c[3] = { rgb[i].r, rgb[i].g, rgb[i].b };
            it = lookup.emplace(p, (uint8_t)(base + Nearest(palette, c))).first;
        }
        out.index[i] = it->second;
    }
    return out;
}

static void Put16(std::vector<uint8_t>& v, uint32_t x)
{
    v.push_back((uint8_t)x);
    v.push_back((uint8_t)(x >> 8));
}

static void Put32(std::vector<uint8_t>& v, uint32_t x)
{
    Put16(v, x & 0xFFFF);
    Put16(v, x >> 16);
}

static std::vector<uint8_t> BmpHeaders(int width, int height, int bits, int paletteEntries)
{
    uint32_t stride = ((uint32_t)(bits * width + 31) / 32) * 4;
    uint32_t offset = 14 + 40 + paletteEntries * 4;
    uint32_t imageSize = stride * height;
    std::vector<uint8_t> v;
    v.push_back('B');
    v.push_back('M');
    Put32(v, offset + imageSize);
    Put32(v, 0);
    Put32(v, offset);
    Put32(v, 40);
    Put32(v, (uint32_t)width);
    Put32(v, (uint32_t)height);
    Put16(v, 1);
    Put16(v, (uint32_t)bits);
    Put32(v, 0);           // uncompressed
    Put32(v, imageSize);
    Put32(v, 2835);        // 72 dots per inch
    Put32(v, 2835);
    Put32(v, 0);           // palette size follows from the depth
    Put32(v, 0);
    return v;
}

std::vector<uint8_t> BmpIndexed(const Indexed& image)
{
    std::vector<uint8_t> v = BmpHeaders(image.width, image.height, image.bits, (int)image.palette.size());
    for (Rgb8 c : image.palette) {
        v.push_back(c.b);
        v.push_back(c.g);
        v.push_back(c.r);
        v.push_back(0);
    }
    uint32_t stride = ((uint32_t)(image.bits * image.width + 31) / 32) * 4;
    for (int y = image.height - 1; y >= 0; y--) {
        std::vector<uint8_t> row(stride, 0);
        for (int x = 0; x < image.width; x++) {
            uint8_t i = image.index[(size_t)y * image.width + x];
            if (image.bits == 8)
                row[x] = i;
            else
                row[x / 2] |= (uint8_t)((x % 2 == 0) ? (i << 4) : (i & 15));
        }
        v.insert(v.end(), row.begin(), row.end());
    }
    return v;
}

std::vector<uint8_t> Bmp24(const std::vector<Rgb8>& rgb, int width, int height)
{
    std::vector<uint8_t> v = BmpHeaders(width, height, 24, 0);
    uint32_t stride = ((uint32_t)(24 * width + 31) / 32) * 4;
    for (int y = height - 1; y >= 0; y--) {
        std::vector<uint8_t> row(stride, 0);
        for (int x = 0; x < width; x++) {
            Rgb8 c = rgb[(size_t)y * width + x];
            row[3 * x] = c.b;
            row[3 * x + 1] = c.g;
            row[3 * x + 2] = c.r;
        }
        v.insert(v.end(), row.begin(), row.end());
    }
    return v;
}

std::vector<uint8_t> Bmp32(const Image& image)
{
    std::vector<uint8_t> v = BmpHeaders(image.width, image.height, 32, 0);
    for (int y = image.height - 1; y >= 0; y--) {
        for (int x = 0; x < image.width; x++) {
            const Colour& c = image.pixels[(size_t)y * image.width + x];
            v.push_back(ToByte(c.b));
            v.push_back(ToByte(c.g));
            v.push_back(ToByte(c.r));
            v.push_back(ToByte(c.a));
        }
    }
    return v;
}

std::vector<Rgb8> IndexedColours(const Indexed& image)
{
    std::vector<Rgb8> out(image.index.size());
    for (size_t i = 0; i < out.size(); i++)
        out[i] = image.palette[image.index[i]];
    return out;
}

int WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes)
{
    FILE* file = fopen(path.c_str(), "wb");
    if (!file)
        return 0;
    size_t n = fwrite(bytes.data(), 1, bytes.size(), file);
    return (fclose(file) == 0 && n == bytes.size()) ? 1 : 0;
}

int WritePng(const std::string& path, const std::vector<Rgb8>& rgb, int width, int height)
{
    std::vector<uint8_t> data;
    data.reserve(rgb.size() * 3);
    for (Rgb8 c : rgb) {
        data.push_back(c.r);
        data.push_back(c.g);
        data.push_back(c.b);
    }
    return HeadlessWritePngRows(path, width, height, 3, data.data());
}

int WritePngAlpha(const std::string& path, const Image& image)
{
    std::vector<uint8_t> data;
    for (const Colour& c : image.pixels) {
        data.push_back(ToByte(c.r));
        data.push_back(ToByte(c.g));
        data.push_back(ToByte(c.b));
        data.push_back(ToByte(c.a));
    }
    return HeadlessWritePngRows(path, image.width, image.height, 4, data.data());
}

std::vector<uint8_t> WavBytes(const std::vector<float>& samples, int rate, int bits, int channels)
{
    uint32_t bytesPer = (uint32_t)bits / 8;
    uint32_t dataSize = (uint32_t)samples.size() * bytesPer;
    std::vector<uint8_t> v = { 'R', 'I', 'F', 'F' };
    Put32(v, 36 + dataSize + (dataSize & 1));
    for (char c : std::string("WAVEfmt "))
        v.push_back((uint8_t)c);
    Put32(v, 16);
    Put16(v, 1);
    Put16(v, (uint32_t)channels);
    Put32(v, (uint32_t)rate);
    Put32(v, (uint32_t)rate * channels * bytesPer);
    Put16(v, (uint32_t)channels * bytesPer);
    Put16(v, (uint32_t)bits);
    for (char c : std::string("data"))
        v.push_back((uint8_t)c);
    Put32(v, dataSize);
    for (float s : samples) {
        float c = std::clamp(s, -1.0f, 1.0f);
        if (bits == 8)
            v.push_back((uint8_t)std::clamp((int)std::lround(128.0f + c * 127.0f), 1, 255));
        else
            Put16(v, (uint32_t)(uint16_t)(int16_t)std::lround(c * 32767.0f));
    }
    if (dataSize & 1)
        v.push_back(0);
    return v;
}
