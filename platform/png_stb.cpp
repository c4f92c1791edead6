// PNG files for the builds without libpng (web, Windows), with the header-only stb_image_write: no library to link.
#include "platform/headless.h"

#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STBI_WRITE_NO_STDIO
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wunused-function"
#include <stb_image_write.h>
#pragma GCC diagnostic pop

#include <cstdio>
#include <vector>

static void Append(void* context, void* data, int size)
{
    std::vector<uint8_t>* bytes = (std::vector<uint8_t>*)context;
    bytes->insert(bytes->end(), (uint8_t*)data, (uint8_t*)data + size);
}

int HeadlessWritePngRows(const std::string& path, int width, int height, int channels, const uint8_t* data)
{
    if (width < 1 || height < 1 || (channels != 3 && channels != 4))
        return 0;
    std::vector<uint8_t> bytes;
    if (!stbi_write_png_to_func(Append, &bytes, width, height, channels, data, width * channels))
        return 0;
    FILE* file = fopen(path.c_str(), "wb");
    if (!file)
        return 0;
    int ok = fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return fclose(file) == 0 && ok;
}
