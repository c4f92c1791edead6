// The autopilot's player: plays the headless game at the player's keys, steering by the GameWorld.
#pragma once
#include <cstdint>
#include <string>

struct PilotOptions {
    uint32_t stages = 2;        // leave once this many stage intros have passed
    uint32_t giveUpScore = 0;   // nonzero: stop dodging once the score reaches this
    uint32_t playFor = 0;       // nonzero: game after game until this virtual time, then leave by the menu
    uint32_t giveUpFrom = 1;    // with playFor: stages the first game clears before giving up; one more each game, for three
    uint32_t giveUpAfter = 0;   // with playFor: how long a game plays on into the stage it gives up in
    uint32_t reportEvery = 0;   // nonzero: print the resident size and the memory manager's chunks this often
    std::string frames;         // where to save a picture every second, if anywhere
    int trace = 0;              // print what the pilot sees every 20 frames, and before each death
};

// Readies the pilot for the next WinMain. Called before it, after HeadlessReset.
void PilotStart(const PilotOptions& options);

// The pilot's look at the world and its hands on the keys, once a frame.
// Called by the present hook (HeadlessSetPresentHook) after every frame.
void PilotOnFrame(void* context);

// Whether a game is on and the pilot is playing it: not on the screens around play.
int PilotPlaying();

// Games that have ended in a game over since PilotStart.
uint32_t PilotGamesOver();

// The resident size of the process in KB, and the memory manager's chunks:
// "rss=N KB chunks=N". Printed by --report-every.
std::string PilotMemoryLine();
