// The sound check: plays the eight effects one by one, then three at once, and measures each stretch of the capture.
//
//     soundcheck OUT.wav [--folder DIR]
//
// The sounds come from DIR/sounds (default: the folder of this program).
// Each stretch must be audible, unclipped and centred; the exit code is 1
// when one is not.
#include "platform/headless.h"
#include "platform/headless_wave.h"
#include "platform/sys.h"
#include "sound/cea_sound.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

struct CheckDef {
    const char* name;
    int ids[3];   // the effects started together; -1 for none
};

static const CheckDef CheckTable[] = {
    { "fire",    { SoundFire, -1, -1 } },
    { "die",     { SoundDie, -1, -1 } },
    { "homer",   { SoundHomer, -1, -1 } },
    { "powerup", { SoundPowerUp, -1, -1 } },
    { "click",   { SoundClick, -1, -1 } },
    { "button",  { SoundButton, -1, -1 } },
    { "airraid", { SoundAirRaid, -1, -1 } },
    { "metal",   { SoundMetal, -1, -1 } },
    { "fire+die+metal", { SoundFire, SoundDie, SoundMetal } },
};

// Past the five buffers queued ahead of a new voice (about 174 ms), so each
// stretch holds its effect whole.
static const uint32_t gapMs = 300;

struct Stretch {
    size_t begin;   // byte offsets in the capture
    size_t end;
};

static int Playing(const CheckDef& def)
{
    int playing = 0;
    for (int id : def.ids) {
        Sound* sound = id >= 0 ? SoundTableEntry(id) : nullptr;
        if (sound && sound->playCount)
            playing = 1;
    }
    return playing;
}

// Peak and RMS are in 8-bit steps from the centre; mean is the DC offset. A
// run of three or more samples at either end of the range counts as clipping.
static int Measure(const char* name, const std::vector<uint8_t>& bytes, Stretch stretch, int channels)
{
    size_t count = stretch.end - stretch.begin;
    int peak = 0;
    int clipped = 0;
    int run = 0;
    double sum = 0, squares = 0;
    for (size_t i = stretch.begin; i < stretch.end; i++) {
        int value = bytes[i] - 128;
        peak = abs(value) > peak ? abs(value) : peak;
        sum += value;
        squares += (double)value * value;
        run = (bytes[i] == 0 || bytes[i] == 255) ? run + 1 : 0;
        clipped += run == 3 * channels;
    }
    double mean = count ? sum / (double)count : 0;
    double rms = count ? sqrt(squares / (double)count) : 0;
    int audible = peak >= 16 && rms >= 2;
    int centred = fabs(mean) < 1.0;
    printf("%-15s %7.3f s to %7.3f s  peak %3d  rms %6.2f  mean %+6.2f  clips %d  %s\n", name,
           (double)stretch.begin / channels / mixerRate, (double)stretch.end / channels / mixerRate, peak, rms, mean,
           clipped, audible && centred && !clipped ? "ok" : audible ? (clipped ? "CLIPS" : "OFF CENTRE") : "SILENT");
    return audible && centred && !clipped;
}

int main(int argc, char** argv)
{
    if (argc < 2) {
        fprintf(stderr, "usage: soundcheck OUT.wav [--folder DIR]\n");
        return 2;
    }
    HeadlessReset();
    HeadlessAudioReset();
    for (int i = 2; i + 1 < argc; i += 2) {
        if (strcmp(argv[i], "--folder") != 0) {
            fprintf(stderr, "soundcheck: unknown option %s\n", argv[i]);
            return 2;
        }
        std::string program = std::string(argv[i + 1]) + "/soundcheck";
        std::vector<wchar_t> wide(program.size() + 1);
        mbstowcs(wide.data(), program.c_str(), wide.size());
        HeadlessSetModuleFileName(wide.data());
    }
    LoadSounds();

    // Each stretch runs from where the capture stood when its effects started
    // to where it stood when the next began.
    std::vector<size_t> starts;
    for (const CheckDef& def : CheckTable) {
        starts.push_back(HeadlessAudioCaptured().size());
        for (int id : def.ids)
            if (id >= 0)
                PlayEffect(id);
        for (int waited = 0; Playing(def) && waited < 20000; waited += 10)
            SysSleep(10);
        SysSleep(gapMs);
    }
    starts.push_back(HeadlessAudioCaptured().size());
    UnloadSounds();
    MixerClose();

    const std::vector<uint8_t>& bytes = HeadlessAudioCaptured();
    int channels = HeadlessAudioChannels();
    int passed = 1;
    for (size_t i = 0; i + 1 < starts.size(); i++)
        passed &= Measure(CheckTable[i].name, bytes, { starts[i], starts[i + 1] }, channels);
    if (!HeadlessWriteWav(argv[1])) {
        fprintf(stderr, "soundcheck: cannot write %s\n", argv[1]);
        return 2;
    }
    return passed ? 0 : 1;
}
