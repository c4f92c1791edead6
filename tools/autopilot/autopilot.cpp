// The autopilot: plays the game headless at the player's keys, steering by the GameWorld, and writes the game as a recording.
#include "app/entry.h"
#include "game/world.h"
#include "platform/gx.h"
#include "platform/headless.h"
#include "platform/headless_wave.h"
#include "platform/record.h"
#include "platform/sys.h"
#include "tools/autopilot/pilot.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

static int Usage()
{
    fprintf(stderr, "usage: autopilot OUT.rec|--no-record [--stages N] [--give-up-at SCORE] [--frames DIR] [--limit MS]\n"
                    "                 [--play-for MS [--give-up-from N] [--give-up-after MS]] [--report-every MS] [--trace]\n");
    return 2;
}

int main(int argc, char** argv)
{
    PilotOptions options;
    std::string out;
    int record = 1;
    uint32_t timeLimit = 900000;
    for (int i = 1; i < argc; i++) {
        if (!strcmp(argv[i], "--stages") && i + 1 < argc)
            options.stages = (uint32_t)atoi(argv[++i]);
        else if (!strcmp(argv[i], "--give-up-at") && i + 1 < argc)
            options.giveUpScore = (uint32_t)atoi(argv[++i]);
        else if (!strcmp(argv[i], "--frames") && i + 1 < argc)
            options.frames = argv[++i];
        else if (!strcmp(argv[i], "--trace"))
            options.trace = 1;
        else if (!strcmp(argv[i], "--limit") && i + 1 < argc)
            timeLimit = (uint32_t)atoi(argv[++i]);
        else if (!strcmp(argv[i], "--play-for") && i + 1 < argc)
            options.playFor = (uint32_t)strtoul(argv[++i], nullptr, 10);
        else if (!strcmp(argv[i], "--give-up-from") && i + 1 < argc)
            options.giveUpFrom = (uint32_t)strtoul(argv[++i], nullptr, 10);
        else if (!strcmp(argv[i], "--give-up-after") && i + 1 < argc)
            options.giveUpAfter = (uint32_t)strtoul(argv[++i], nullptr, 10);
        else if (!strcmp(argv[i], "--report-every") && i + 1 < argc)
            options.reportEvery = (uint32_t)strtoul(argv[++i], nullptr, 10);
        else if (!strcmp(argv[i], "--no-record"))
            record = 0;
        else if (argv[i][0] != '-' && out.empty())
            out = argv[i];
        else
            return Usage();
    }
    if (out.empty() == record)
        return Usage();
    // A long run's last game still has to end after its time is up.
    if (options.playFor && timeLimit < options.playFor + 1800000)
        timeLimit = options.playFor + 1800000;

    HeadlessReset();
    HeadlessSetInstanceScope(HeadlessWorkingFolder());
    PilotStart(options);
    if (options.playFor)
        HeadlessSetAudioCapture(0);
    HeadlessSetTimeLimit(timeLimit);
    HeadlessSetPresentHook(PilotOnFrame, nullptr);
    std::string error;
    if (record && !RecordStart(out, GXGetDisplayProperties().ffFormat, &error)) {
        fprintf(stderr, "autopilot: %s\n", error.c_str());
        return 2;
    }
    int result = WinMain(SysModule(), nullptr, "", 1);
    if (record && !RecordFinish(&error)) {
        fprintf(stderr, "autopilot: %s\n", error.c_str());
        return 2;
    }
    printf("score=%u stage=%u lives=%u frames=%u ticks=%u games=%u %s\n", gameWorld.score, gameWorld.stageNumber,
           gameWorld.lives, HeadlessFramesPresented(), HeadlessNow(), PilotGamesOver(), PilotMemoryLine().c_str());
    return result;
}
