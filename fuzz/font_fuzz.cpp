// Fuzz target: a font widths (.INF) file loaded with a fixed glyph strip, then text drawn with it.
#include "fuzz/fuzz.h"
#include "gfx/font.h"

#include <cstring>
#include <vector>

// A 24-bit strip of 64 x 12: black key at the top left, the rest a pattern of
// lit pixels, so that every glyph draws something.
static std::vector<uint8_t> StripFile()
{
    const int width = 64, height = 12, stride = width * 3;
    std::vector<uint8_t> file(54 + stride * height, 0);
    auto put32 = [&](size_t at, uint32_t v) {
        for (int i = 0; i < 4; i++)
            file[at + i] = (uint8_t)(v >> (8 * i));
    };
    file[0] = 'B';
    file[1] = 'M';
    put32(2, (uint32_t)file.size());
    put32(10, 54);
    put32(14, 40);
    put32(18, width);
    put32(22, height);
    file[26] = 1;
    file[28] = 24;
    for (int y = 0; y < height; y++)
        for (int x = 0; x < width; x++) {
            // Stored bottom-up: the last stored row is the top one.
            bool lit = (x + y) % 3 != 0 && !(x == 0 && y == height - 1);
            memset(&file[54 + y * stride + x * 3], lit ? 0xFF : 0, 3);
        }
    return file;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const std::string stripPath = FuzzScratchPath("font.bmp");
    static const std::string widthsPath = FuzzScratchPath("font.INF");
    static const int stripWritten = [] {
        std::vector<uint8_t> strip = StripFile();
        return FuzzWriteFile(stripPath, strip.data(), strip.size());
    }();
    if (!stripWritten || !FuzzWriteFile(widthsPath, data, size))
        return 0;
    PixelFormatSelect(0xA0);
    static BitmapFont font;
    static Surface frame;
    if (!frame.pixels)
        SurfaceCreate(&frame, 240, 320);
    FontLoad(&font, stripPath.c_str());
    // Every character code, centred (wider than the screen, so it starts off
    // it), then at the edges where the glyphs are clipped.
    char text[256];
    for (int i = 0; i < 255; i++)
        text[i] = (char)(i + 1);
    text[255] = 0;
    FontDrawText(&font, &frame, -1, 0, text, 0xFFFF);
    FontDrawText(&font, &frame, 200, 315, text + 32, 0x1234);
    FontDrawText(&font, &frame, -300, -5, text + 64, 0x8000);
    FuzzForgetBoxes();
    return 0;
}
