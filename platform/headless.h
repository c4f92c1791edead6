// Controls of the headless backend, for tests and tools: clock, script, display layout, frames, boxes.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct GXDisplayProperties;
struct Window;

// Back to a fresh machine: no windows or timers, an empty queue, clock at 0,
// no script, default display (240 x 320, 565, straight pitches), no boxes.
void HeadlessReset();

// The virtual clock: moves only while the program waits.
uint32_t HeadlessNow();

// Lays the display memory out as described (size, pitches, format bits) and
// makes GXGetDisplayProperties report it.
void HeadlessSetDisplay(const GXDisplayProperties& props);

// Whether GXOpenDisplay succeeds (default 1).
void HeadlessSetDisplayAvailable(int available);

// The display memory as the program last drew it, with the offset of the
// address GXBeginDraw hands out.
const std::vector<uint8_t>& HeadlessDisplayMemory(size_t* beginOffset);

// Reads the 240 x 320 screen through the display's pitches, top row first.
void HeadlessScreenRead(uint16_t* out);

// Counts the frames presented (GXEndDraw after a successful GXBeginDraw).
uint32_t HeadlessFramesPresented();

// Called after every presented frame.
void HeadlessSetPresentHook(void (*hook)(void* context), void* context);

// Input script. Each line: "at T tap X Y", "at T down KEY", "at T up KEY",
// "at T shot NAME", "at T quit", "at T activate", "at T deactivate",
// "at T clickactivate" or "at T await-remote". KEY is up, down, left, right,
// fire, lock or menu. Returns 0 and sets error on a bad script.
int HeadlessScriptLoad(const std::string& text, std::string* error);

// Adds commands behind those loaded, while the program runs: a player at
// the keys, as the autopilot is. Their times must not go back, nor before
// the clock. Returns 0 and sets error on a bad line.
int HeadlessScriptAppend(const std::string& text, std::string* error);

// Where "shot" saves its PNG files.
void HeadlessSetShotFolder(const std::string& folder);

// The virtual time of the script's last command.
uint32_t HeadlessScriptEnd();

// Stops the run (exit code 3 and a line on stderr) if the clock passes this tick.
void HeadlessSetTimeLimit(uint32_t tick);

// Message boxes shown so far, as "CAPTION: TEXT"; answered with OK, or with
// the answer set here.
const std::vector<std::string>& HeadlessBoxes();
void HeadlessSetBoxAnswer(int answer);

// Overrides the program's own file name (default: the real executable).
void HeadlessSetModuleFileName(const wchar_t* path);

// Makes window the one in front (null: another program is), as a focus change would.
void HeadlessSetForeground(Window* window);

// The single-instance namespace: copies in the same scope see each other.
// HeadlessReset makes this process alone, with no channel; the runner uses
// its working folder, so two runners started in one folder meet.
void HeadlessSetInstanceScope(const std::string& scope);
std::string HeadlessWorkingFolder();

// Makes the virtual clock follow a replay (see platform/record.h): it moves
// to each recorded time as the program reads it. Called after ReplayStart.
void HeadlessFollowReplay();

// Writes rows of 8-bit RGB (channels 3) or RGBA (channels 4) as a PNG; 1 on success.
int HeadlessWritePngRows(const std::string& path, int width, int height, int channels, const uint8_t* data);

// Writes a 240 x 320 frame of native pixels as an RGB PNG; 1 on success.
int HeadlessWritePng(const std::string& path, const uint16_t* frame, uint32_t ffFormat);
