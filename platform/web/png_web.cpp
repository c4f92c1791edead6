// PNG files without libpng: the rows go into stored (uncompressed) deflate blocks, which every reader accepts.
#include "platform/headless.h"

#include <cstdio>
#include <vector>

static uint32_t PngCrc(const uint8_t* data, size_t size, uint32_t crc = 0)
{
    static uint32_t table[256];
    if (!table[1])
        for (uint32_t n = 0; n < 256; n++) {
            uint32_t c = n;
            for (int k = 0; k < 8; k++)
                c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            table[n] = c;
        }
    crc = ~crc;
    for (size_t i = 0; i < size; i++)
        crc = table[(crc ^ data[i]) & 255] ^ (crc >> 8);
    return ~crc;
}

static void PngPut32(std::vector<uint8_t>& out, uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back((uint8_t)(value >> shift));
}

static void PngChunk(std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& body)
{
    PngPut32(out, (uint32_t)body.size());
    size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), body.begin(), body.end());
    PngPut32(out, PngCrc(out.data() + start, out.size() - start));
}

int HeadlessWritePngRows(const std::string& path, int width, int height, int channels, const uint8_t* data)
{
    if (width < 1 || height < 1 || width > 65535 || height > 65535 || (channels != 3 && channels != 4))
        return 0;
    // The image data: each row behind a 0 (no filter) byte.
    size_t rowBytes = (size_t)width * channels;
    std::vector<uint8_t> raw;
    raw.reserve((rowBytes + 1) * height);
    for (int y = 0; y < height; y++) {
        raw.push_back(0);
        raw.insert(raw.end(), data + y * rowBytes, data + (y + 1) * rowBytes);
    }
    std::vector<uint8_t> zlib = { 0x78, 0x01 };
    for (size_t at = 0; at < raw.size(); at += 65535) {
        size_t n = raw.size() - at < 65535 ? raw.size() - at : 65535;
        zlib.push_back(at + n == raw.size());
        zlib.push_back((uint8_t)n);
        zlib.push_back((uint8_t)(n >> 8));
        zlib.push_back((uint8_t)~n);
        zlib.push_back((uint8_t)(~n >> 8));
        zlib.insert(zlib.end(), raw.begin() + at, raw.begin() + at + n);
    }
    uint32_t a = 1, b = 0;
    for (uint8_t byte : raw) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    PngPut32(zlib, b << 16 | a);

    std::vector<uint8_t> out = { 0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n' };
    std::vector<uint8_t> header;
    PngPut32(header, (uint32_t)width);
    PngPut32(header, (uint32_t)height);
    header.insert(header.end(), { 8, (uint8_t)(channels == 4 ? 6 : 2), 0, 0, 0 });
    PngChunk(out, "IHDR", header);
    PngChunk(out, "IDAT", zlib);
    PngChunk(out, "IEND", {});
    FILE* file = fopen(path.c_str(), "wb");
    if (!file)
        return 0;
    int written = fwrite(out.data(), 1, out.size(), file) == out.size();
    return (fclose(file) == 0) & written;
}
