// Makes the desktop's icon sizes from the program's icon: a PNG for each size of the icon theme's folders.
#include "platform/headless.h"

#include <png.h>

#include <cstdio>
#include <string>
#include <sys/stat.h>
#include <vector>

struct IconSizeDef {
    int size;
};

static const IconSizeDef IconSizeTable[] = {
    { 16 }, { 24 }, { 32 }, { 48 }, { 64 }, { 128 }, { 192 }, { 256 }, { 512 },
};

// Reads an 8-bit RGBA PNG; 0 when it is anything else.
static int ReadRgba(const char* path, int* width, int* height, std::vector<uint8_t>* pixels)
{
    png_image image = {};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path))
        return 0;
    image.format = PNG_FORMAT_RGBA;
    if (image.width < 1 || image.height < 1 || image.width > 4096 || image.height > 4096) {
        png_image_free(&image);
        return 0;
    }
    pixels->assign(PNG_IMAGE_SIZE(image), 0);
    if (!png_image_finish_read(&image, nullptr, pixels->data(), 0, nullptr))
        return 0;
    *width = (int)image.width;
    *height = (int)image.height;
    return 1;
}

// Scales a square icon: whole pixels repeated when growing, so its pixel art
// stays crisp; averaged with their alpha when shrinking.
static std::vector<uint8_t> Scale(const std::vector<uint8_t>& in, int from, int to)
{
    std::vector<uint8_t> out((size_t)to * to * 4, 0);
    for (int y = 0; y < to; y++) {
        for (int x = 0; x < to; x++) {
            int x0 = x * from / to, x1 = (x + 1) * from / to, y0 = y * from / to, y1 = (y + 1) * from / to;
            x1 = x1 > x0 ? x1 : x0 + 1;
            y1 = y1 > y0 ? y1 : y0 + 1;
            double sum[4] = {};
            int count = 0;
            for (int sy = y0; sy < y1; sy++) {
                for (int sx = x0; sx < x1; sx++) {
                    const uint8_t* p = &in[((size_t)sy * from + sx) * 4];
                    double alpha = p[3] / 255.0;
                    sum[0] += p[0] * alpha;
                    sum[1] += p[1] * alpha;
                    sum[2] += p[2] * alpha;
                    sum[3] += p[3];
                    count++;
                }
            }
            uint8_t* o = &out[((size_t)y * to + x) * 4];
            double alpha = sum[3] / count;
            for (int c = 0; c < 3 && alpha > 0; c++) {
                double value = sum[c] / count / (alpha / 255.0) + 0.5;
                o[c] = (uint8_t)(value > 255 ? 255 : value);
            }
            o[3] = (uint8_t)(alpha + 0.5);
        }
    }
    return out;
}

int main(int argc, char** argv)
{
    if (argc != 3) {
        fprintf(stderr, "usage: iconsizes ICON.png FOLDER\n");
        return 2;
    }
    int width = 0, height = 0;
    std::vector<uint8_t> icon;
    if (!ReadRgba(argv[1], &width, &height, &icon) || width != height) {
        fprintf(stderr, "iconsizes: %s is not a square RGBA PNG\n", argv[1]);
        return 1;
    }
    for (const IconSizeDef& def : IconSizeTable) {
        std::string folder = std::string(argv[2]) + "/" + std::to_string(def.size) + "x" + std::to_string(def.size);
        mkdir(argv[2], 0755);
        mkdir(folder.c_str(), 0755);
        mkdir((folder + "/apps").c_str(), 0755);
        std::string path = folder + "/apps/space-shooter.png";
        if (!HeadlessWritePngRows(path, def.size, def.size, 4, Scale(icon, width, def.size).data())) {
            fprintf(stderr, "iconsizes: cannot write %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}
