// Builds 24-bit bitmap resources in memory for the loaders of the tests.
#pragma once
#include <cstdint>
#include <vector>

struct Rgb {
    uint8_t red, green, blue;
};

// Info header and bottom-up rows of a w x h 24-bit bitmap; pixel(row, column) counts rows from the top.
template <class Pixel>
std::vector<uint8_t> Dib24(int w, int h, Pixel pixel)
{
    int stride = (w * 3 + 3) & ~3;
    std::vector<uint8_t> dib(40 + (size_t)stride * h);
    const uint8_t header[16] = { 40, 0, 0, 0, (uint8_t)w, (uint8_t)(w >> 8), 0, 0, (uint8_t)h, (uint8_t)(h >> 8), 0, 0, 1, 0, 24, 0 };
    std::copy(header, header + 16, dib.begin());
    for (int row = 0; row < h; row++)
        for (int column = 0; column < w; column++) {
            Rgb c = pixel(row, column);
            uint8_t* p = &dib[40 + (size_t)(h - 1 - row) * stride + column * 3];
            p[0] = c.blue, p[1] = c.green, p[2] = c.red;
        }
    return dib;
}
