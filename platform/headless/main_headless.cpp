// The headless runner: plays the whole program from a script on a virtual clock, saving frames as PNG.
#include "app/entry.h"
#include "platform/gx.h"
#include "platform/headless.h"
#include "platform/headless_wave.h"
#include "platform/sys.h"

#include <cstdio>
#include <cstdlib>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

struct RunnerOptions {
    std::string frames = ".";
    long every = -1;
    uint32_t lastSaved = 0;
    int savedAny = 0;
    uint32_t ffFormat = kfDirect | kfDirect565;
    std::string audio;   // where to write what the sound device played
};

static int Usage()
{
    fprintf(stderr, "usage: space-shooter-headless SCRIPT [--frames DIR] [--every MS] [--format 565|555] [--audio FILE.wav]\n");
    return 2;
}

// With --every, a presented frame is saved when at least MS have passed since the last one saved.
static void SaveEveryFrame(void* context)
{
    RunnerOptions* options = (RunnerOptions*)context;
    uint32_t now = HeadlessNow();
    if (options->savedAny && now - options->lastSaved < (uint32_t)options->every)
        return;
    std::vector<uint16_t> frame(240 * 320);
    HeadlessScreenRead(frame.data());
    char name[64];
    snprintf(name, sizeof name, "/frame-%06u.png", HeadlessFramesPresented());
    if (!HeadlessWritePng(options->frames + name, frame.data(), options->ffFormat))
        fprintf(stderr, "headless: cannot write %s%s\n", options->frames.c_str(), name);
    options->lastSaved = now;
    options->savedAny = 1;
}

int main(int argc, char** argv)
{
    if (argc < 2)
        return Usage();
    RunnerOptions options;
    for (int i = 2; i < argc; i++) {
        if (!strcmp(argv[i], "--frames") && i + 1 < argc) {
            options.frames = argv[++i];
        } else if (!strcmp(argv[i], "--every") && i + 1 < argc) {
            options.every = atol(argv[++i]);
            if (options.every < 0)
                return Usage();
        } else if (!strcmp(argv[i], "--audio") && i + 1 < argc) {
            options.audio = argv[++i];
        } else if (!strcmp(argv[i], "--format") && i + 1 < argc) {
            std::string format = argv[++i];
            if (format == "565")
                options.ffFormat = kfDirect | kfDirect565;
            else if (format == "555")
                options.ffFormat = kfDirect | kfDirect555;
            else
                return Usage();
        } else {
            return Usage();
        }
    }

    std::error_code failure;
    if (std::filesystem::is_directory(argv[1], failure)) {
        fprintf(stderr, "headless: cannot read %s: it is a folder\n", argv[1]);
        return 2;
    }
    std::ifstream file(argv[1]);
    if (!file) {
        fprintf(stderr, "headless: cannot read %s: %s\n", argv[1], strerror(errno));
        return 2;
    }
    std::stringstream text;
    text << file.rdbuf();
    // Frames and shots go into a folder made on demand, as an output folder would be.
    std::filesystem::create_directories(options.frames, failure);
    if (!std::filesystem::is_directory(options.frames, failure)) {
        fprintf(stderr, "headless: cannot make the folder %s\n", options.frames.c_str());
        return 2;
    }

    HeadlessReset();
    HeadlessSetInstanceScope(HeadlessWorkingFolder());
    GXDisplayProperties display = { 240, 320, 2, 480, 16, options.ffFormat };
    HeadlessSetDisplay(display);
    std::string error;
    if (!HeadlessScriptLoad(text.str(), &error)) {
        fprintf(stderr, "%s: %s\n", argv[1], error.c_str());
        return 2;
    }
    HeadlessSetShotFolder(options.frames);
    HeadlessSetTimeLimit(HeadlessScriptEnd() + 60000);
    if (options.every >= 0)
        HeadlessSetPresentHook(SaveEveryFrame, &options);

    int result = WinMain(SysModule(), nullptr, "", 1);
    if (!options.audio.empty() && !HeadlessWriteWav(options.audio))
        fprintf(stderr, "headless: cannot write %s\n", options.audio.c_str());
    printf("ticks=%u frames=%u boxes=%zu\n", HeadlessNow(), HeadlessFramesPresented(), HeadlessBoxes().size());
    return result;
}
