// Frames saved as PNG files with libpng.
#include "platform/gx.h"
#include "platform/headless.h"

#include <png.h>

#include <cstdio>
#include <vector>

// Widens a 5- or 6-bit channel to 8 bits, repeating its top bits in the low
// ones so that full white stays 255.
static uint8_t Widen(unsigned value, int bits)
{
    return (uint8_t)((value << (8 - bits)) | (value >> (2 * bits - 8)));
}

int HeadlessWritePngRows(const std::string& path, int width, int height, int channels, const uint8_t* data)
{
    if (width < 1 || height < 1 || (channels != 3 && channels != 4))
        return 0;
    FILE* file = fopen(path.c_str(), "wb");
    if (!file)
        return 0;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        fclose(file);
        return 0;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, (png_uint_32)width, (png_uint_32)height, 8,
                 channels == 4 ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < height; y++)
        png_write_row(png, const_cast<uint8_t*>(data + (size_t)y * (size_t)width * (size_t)channels));
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return fclose(file) == 0;
}

int HeadlessWritePng(const std::string& path, const uint16_t* frame, uint32_t ffFormat)
{
    std::vector<uint8_t> rgb(240 * 320 * 3);
    for (int i = 0; i < 240 * 320; i++) {
        unsigned p = frame[i];
        uint8_t* out = &rgb[(size_t)i * 3];
        if (ffFormat & kfDirect565) {
            out[0] = Widen(p >> 11, 5);
            out[1] = Widen((p >> 5) & 63, 6);
            out[2] = Widen(p & 31, 5);
        } else if (ffFormat & kfDirect555) {
            out[0] = Widen((p >> 10) & 31, 5);
            out[1] = Widen((p >> 5) & 31, 5);
            out[2] = Widen(p & 31, 5);
        } else {
            out[0] = out[1] = out[2] = 0;
        }
    }
    return HeadlessWritePngRows(path, 240, 320, 3, rgb.data());
}
