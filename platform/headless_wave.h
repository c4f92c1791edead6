// Controls of the headless wave-output device, for tests, tools and the runner: what it accepts and what it played.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// The most channels the device accepts: 2 (the default), 1 to refuse
// stereo, 0 to have no device at all.
void HeadlessSetAudioChannels(int channels);

// Every byte the device has played, in the format of the last device opened
// (8-bit stereo at 22050 Hz until one opens). A device that opens in another
// format starts the capture afresh.
const std::vector<uint8_t>& HeadlessAudioCaptured();
int HeadlessAudioChannels();

// Whether the capture keeps everything played (1, the default) or only the
// last buffer, in the same memory every time: a long run stays flat. Called
// by tools and tests that play for hours, before WinMain.
void HeadlessSetAudioCapture(int keep);

// Forgets the capture and the play position, and accepts stereo again.
// Tests call it after closing the device.
void HeadlessAudioReset();

// Writes the capture as a PCM WAV file; 1 on success.
int HeadlessWriteWav(const std::string& path);

// Called by the headless clock before it moves to tick. Plays, in order,
// every queued buffer that ends by then; after each one the device hands
// back, the clock waits until the woken threads have answered. A buffer
// lasts its frames / samples-per-second: 768 / 22050 s for 1536 bytes of
// 8-bit stereo.
void HeadlessWavePlayUntil(uint32_t tick);
