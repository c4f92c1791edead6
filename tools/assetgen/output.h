// Output of the asset generator: palettes, BMP, PNG and WAV files.
#pragma once
#include "canvas.h"

#include <cstdint>
#include <string>
#include <vector>

struct Rgb8 {
    uint8_t r, g, b;
};

// A palette image: one index per pixel, top row first.
struct Indexed {
    int width, height, bits;    // bits 4 or 8
    std::vector<uint8_t> index;
    std::vector<Rgb8> palette;  // 16 or 256 entries
};

// How an image's transparency turns into pixels.
enum FlattenMode {
    FlattenOpaque,   // composed over black; every pixel is drawn
    FlattenKeyed,    // alpha below one half becomes the key colour, black
};

// The image as 8-bit RGB. Keyed pixels are (0, 0, 0), and no drawn pixel is a
// colour that a 565 or 555 display would turn into the key's value.
std::vector<Rgb8> ImageFlatten(const Image& image, FlattenMode mode);

// Native 16-bit pixels as the game makes them from 8-bit channels.
uint16_t Native565(Rgb8 c);
uint16_t Native555(Rgb8 c);

// Reduces to a palette of 2^bits entries: median cut, then a few rounds of
// k-means. With keyed set, entry 0 is the key and only the keyed pixels use it.
Indexed Quantize(const std::vector<Rgb8>& rgb, int width, int height, int bits, bool keyed);

// Whole BMP files: 14-byte file header, 40-byte info header, palette, rows
// bottom-up padded to 4 bytes.
std::vector<uint8_t> BmpIndexed(const Indexed& image);
std::vector<uint8_t> Bmp24(const std::vector<Rgb8>& rgb, int width, int height);
// 32-bit with the image's alpha in the fourth byte (the window icon).
std::vector<uint8_t> Bmp32(const Image& image);
// The colours an indexed image shows.
std::vector<Rgb8> IndexedColours(const Indexed& image);

int WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes);
int WritePng(const std::string& path, const std::vector<Rgb8>& rgb, int width, int height);
// PNG with an alpha channel taken from a keyed picture: key pixels transparent.
int WritePngAlpha(const std::string& path, const Image& image);

// PCM WAV of interleaved samples in -1..1, as 8-bit unsigned or 16-bit signed.
std::vector<uint8_t> WavBytes(const std::vector<float>& samples, int rate, int bits, int channels);
