// Recording and replaying a session: every answer the program gets from outside, in the order it asks.
#pragma once
#include <cstdint>
#include <string>

struct Message;
struct Window;

// A recording is a header (the display format and the high-score file the
// session started with), then one entry per answer the program received, in
// order, then a trailer with the frame count and a checksum. Messages from
// outside (keys, stylus, focus, closing, a second copy's redraw) are placed by
// the pump that brought them in, so that a replay queues them at the same
// point; a replay stops at any other message, such as one carrying a pointer.

// The high-score file the game reads from its working folder; a recording
// carries its contents at the start, so that a replay begins from the same table.
constexpr const char* recordScoreFile = "Skyrend.dat";

enum RecordState { RecordOff, RecordWriting, RecordReplaying };

// Starts writing every answer to path. Called by the entry point with
// --record, and by tools that play the game themselves, before WinMain.
// Returns 0 and sets error when the file cannot be made.
int RecordStart(const std::string& path, uint32_t ffFormat, std::string* error);

// Ends the recording: writes the trailer and closes the file. Called after
// WinMain returns; 0 when the file could not be written completely.
int RecordFinish(std::string* error);

// Loads a recording, checks it whole, and puts its starting high-score file
// in the working folder. Called by the headless runner with --replay, before
// WinMain. Returns 0 and sets error on a damaged or truncated file, or when
// the working folder already holds a different high-score file.
int ReplayStart(const std::string& path, std::string* error);

// The display format the replayed recording was made with.
uint32_t ReplayFormat();

// After WinMain: 0 and error when the recording holds more than the program
// asked for.
int ReplayFinish(std::string* error);

// Drops a recording or replay under way without finishing it. Called by
// HeadlessReset, so that a test that stopped half-way leaves nothing behind.
void RecordReset();

RecordState RecordCurrent();

// Frames presented since the start, as counted by RecordFrame.
uint32_t RecordFrames();

// Called when a replay goes out of step, with a message naming the frame.
// The default prints it and ends the process with exit code 4. The replay
// stops before the handler runs, so the platform answers live afterwards.
void RecordSetFailHandler(void (*handler)(const char* message));

// Where a replay moves the virtual clock as the recorded times go by.
void RecordSetClockSink(void (*sink)(uint32_t tick));

// The hooks. Each takes the live answer and returns the one the program must
// act on: the live one, written down, while recording; the recorded one while
// replaying. Only the thread that started the recording or the replay is
// recorded; other threads get the live answer.

// The tick count, read by SysTicks and by the message queue's timers.
uint32_t RecordClock(uint32_t live);
// A key-state poll (InputKeyState).
int16_t RecordKey(int virtualKey, int16_t live);
// The window in front (WindowForeground).
Window* RecordForeground(Window* live);
// A message box's answer (SysMessageBox). While replaying the box is not shown.
int RecordBox(const char* caption, const char* text, int live);
// Whether the display could be opened (GXOpenDisplay).
int RecordDisplay(int live);
// Whether another copy of the program is running (WindowFindRunning).
int RecordRunning(int live);
// A message taken by MessageGet, with the timer ticks dropped before it.
void RecordTake(const Message* message, uint32_t dropped);
// A presented frame of 240 x 320 native pixels: written as its hash and the
// tick it was shown at, or checked against the recorded one.
void RecordFrame(const uint16_t* pixels);

// A pump: where messages from outside come into the queue (the message
// loop's pump, a sleep, the end of a frame). Replays queue the recorded ones
// on entry. Pumps nest; only the outermost counts.
void RecordPumpBegin();
void RecordPumpEnd();

// Around input that the headless script applies outside a pump.
void RecordExternalBegin();
void RecordExternalEnd();

// Called by MessagePost and by focus changes: written down, with the tick
// they came at, when they come from outside (inside a pump or an external bracket).
void RecordPost(Window* window, uint32_t message, uintptr_t wParam, intptr_t lParam);
void RecordFocus(Window* window);

// FNV-1a 64 of the 240 x 320 native pixels, low byte first.
uint64_t RecordHash(const uint16_t* pixels);

// FNV-1a 64 of bytes, the recording's checksum.
uint64_t RecordChecksum(const uint8_t* data, size_t size);
