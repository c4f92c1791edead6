// The headless runner: plays the whole program from a script on a virtual clock, saving frames as PNG.
#include "app/entry.h"
#include "platform/gx.h"
#include "platform/headless.h"
#include "platform/headless_wave.h"
#include "platform/record.h"
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
    std::string script;
    std::string record;  // where to write the session as a recording
    std::string replay;  // the recording to play back instead of a script
    int hash = 0;        // print a line per presented frame with its hash
};

static int Usage()
{
    fprintf(stderr, "usage: space-shooter-headless SCRIPT|--replay FILE [--frames DIR] [--every MS] [--format 565|555]\n"
                    "                              [--audio FILE.wav] [--record FILE] [--hash]\n");
    return 2;
}

// With --hash, every presented frame prints its number, its tick and its hash.
// With --every, a presented frame is saved when at least MS have passed since the last one saved.
static void SaveEveryFrame(void* context)
{
    RunnerOptions* options = (RunnerOptions*)context;
    uint32_t now = HeadlessNow();
    std::vector<uint16_t> frame(240 * 320);
    HeadlessScreenRead(frame.data());
    if (options->hash)
        printf("frame %u tick %u hash %016llx\n", HeadlessFramesPresented(), now,
               (unsigned long long)RecordHash(frame.data()));
    if (options->every < 0 || (options->savedAny && now - options->lastSaved < (uint32_t)options->every))
        return;
    char name[64];
    snprintf(name, sizeof name, "/frame-%06u.png", HeadlessFramesPresented());
    if (!HeadlessWritePng(options->frames + name, frame.data(), options->ffFormat))
        fprintf(stderr, "headless: cannot write %s%s\n", options->frames.c_str(), name);
    options->lastSaved = now;
    options->savedAny = 1;
}

static int Run(RunnerOptions& options)
{
    if (options.every >= 0 || options.hash)
        HeadlessSetPresentHook(SaveEveryFrame, &options);
    int result = WinMain(SysModule(), nullptr, "", 1);
    std::string error;
    if (!options.record.empty() && !RecordFinish(&error))
        fprintf(stderr, "headless: %s\n", error.c_str());
    if (!options.replay.empty() && !ReplayFinish(&error)) {
        fprintf(stderr, "%s\n", error.c_str());
        result = 4;
    }
    if (!options.audio.empty() && !HeadlessWriteWav(options.audio))
        fprintf(stderr, "headless: cannot write %s\n", options.audio.c_str());
    printf("ticks=%u frames=%u boxes=%zu\n", HeadlessNow(), HeadlessFramesPresented(), HeadlessBoxes().size());
    return result;
}

// Plays a recording back on the virtual clock: the clock follows the recorded
// reads, and the input comes in where it came in when recorded.
static int Replay(RunnerOptions& options)
{
    HeadlessReset();
    HeadlessSetInstanceScope(HeadlessWorkingFolder());
    std::string error;
    if (!ReplayStart(options.replay, &error)) {
        fprintf(stderr, "headless: %s\n", error.c_str());
        return 2;
    }
    options.ffFormat = ReplayFormat();
    GXDisplayProperties display = { 240, 320, 2, 480, 16, options.ffFormat };
    HeadlessSetDisplay(display);
    HeadlessFollowReplay();
    HeadlessSetShotFolder(options.frames);
    return Run(options);
}

int main(int argc, char** argv)
{
    RunnerOptions options;
    for (int i = 1; i < argc; i++) {
        if (!strcmp(argv[i], "--replay") && i + 1 < argc) {
            options.replay = argv[++i];
        } else if (!strcmp(argv[i], "--record") && i + 1 < argc) {
            options.record = argv[++i];
        } else if (!strcmp(argv[i], "--hash")) {
            options.hash = 1;
        } else if (argv[i][0] != '-' && options.script.empty()) {
            options.script = argv[i];
        } else if (!strcmp(argv[i], "--frames") && i + 1 < argc) {
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
    if (options.script.empty() == options.replay.empty() || (!options.replay.empty() && !options.record.empty()))
        return Usage();
    if (!options.replay.empty())
        return Replay(options);

    std::error_code failure;
    if (std::filesystem::is_directory(options.script, failure)) {
        fprintf(stderr, "headless: cannot read %s: it is a folder\n", options.script.c_str());
        return 2;
    }
    std::ifstream file(options.script);
    if (!file) {
        fprintf(stderr, "headless: cannot read %s: %s\n", options.script.c_str(), strerror(errno));
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
        fprintf(stderr, "%s: %s\n", options.script.c_str(), error.c_str());
        return 2;
    }
    HeadlessSetShotFolder(options.frames);
    HeadlessSetTimeLimit(HeadlessScriptEnd() + 60000);
    if (!options.record.empty() && !RecordStart(options.record, options.ffFormat, &error)) {
        fprintf(stderr, "headless: %s\n", error.c_str());
        return 2;
    }
    return Run(options);
}
