// Frames saved as PNG files: the 240 x 320 native pixels widened to 8-bit RGB.
#include "platform/gx.h"
#include "platform/headless.h"

#include <vector>

// Widens a 5- or 6-bit channel to 8 bits, repeating its top bits in the low
// ones so that full white stays 255.
static uint8_t Widen(unsigned value, int bits)
{
    return (uint8_t)((value << (8 - bits)) | (value >> (2 * bits - 8)));
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
