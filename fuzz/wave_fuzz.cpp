// Fuzz target: a WAV file image parsed and converted to the mixer's format.
#include "app/mem.h"
#include "fuzz/fuzz.h"
#include "sound/cea_sound.h"

#include <cstring>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > UINT32_MAX)
        return 0;
    // The parser takes a buffer it may write; the input itself is read-only.
    std::vector<uint8_t> bytes(data, data + size);
    Sound sound;
    memset(&sound, 0, sizeof sound);
    if (ParseWave(&sound, bytes.data(), (uint32_t)size)) {
        // The converted samples must be as long as the sound says.
        volatile uint32_t sum = 0;
        for (uint32_t i = 0; i < sound.length; i++)
            sum = sum + sound.data[i];
        MemFree(sound.data, L"wave_fuzz", __LINE__);
    }
    return 0;
}
