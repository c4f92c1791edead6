// WAV file images built in memory, for the loader's tests and for sounds a test installs.
#pragma once
#include <cstdint>
#include <vector>

inline void Put(std::vector<uint8_t>& out, uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; i++)
        out.push_back((uint8_t)(value >> (8 * i)));
}

inline void PutChunk(std::vector<uint8_t>& out, const char* id, uint32_t size, const std::vector<uint8_t>& content)
{
    out.insert(out.end(), id, id + 4);
    Put(out, size, 4);
    out.insert(out.end(), content.begin(), content.end());
}

inline std::vector<uint8_t> FormatChunk(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits, int withExtra)
{
    std::vector<uint8_t> content;
    Put(content, tag, 2);
    Put(content, channels, 2);
    Put(content, rate, 4);
    Put(content, rate * channels * bits / 8, 4);
    Put(content, channels * bits / 8, 2);
    Put(content, bits, 2);
    if (withExtra)
        Put(content, 0, 2);
    return content;
}

// A WAV image: "fmt " then "data", with the chunks given placed in between.
inline std::vector<uint8_t> Wav(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits,
                                const std::vector<uint8_t>& samples)
{
    std::vector<uint8_t> out = { 'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E' };
    std::vector<uint8_t> format = FormatChunk(tag, channels, rate, bits, 0);
    PutChunk(out, "fmt ", (uint32_t)format.size(), format);
    PutChunk(out, "data", (uint32_t)samples.size(), samples);
    return out;
}
