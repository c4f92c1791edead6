// PNG files written with libpng.
#include "platform/headless.h"

#include <png.h>

#include <cstdio>

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
