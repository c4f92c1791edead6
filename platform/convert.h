// The sample converter: PCM to PCM of another rate, depth or channel count, with its output size known before it runs.
#pragma once
#include "platform/wave.h"

struct ConvertStream;

// A stream from source to target; null when either format is not one the
// converter handles (PCM of 8, 16 or 32 bits or 32-bit float, 1 to 8
// channels). Opened by the sound loading for each conversion step.
ConvertStream* ConvertStreamOpen(const WaveFormat* source, const WaveFormat* target);

// The bytes that converting sourceBytes yields, in whole target frames;
// 0 when that is nothing.
int ConvertStreamSize(ConvertStream* stream, uint32_t sourceBytes, uint32_t* targetBytes);

// Converts source into target, writing at most targetBytes; 1 on success.
// A partial frame at the end of the source is left out. Bytes of target past
// what the conversion yields keep whatever they held.
int ConvertStreamRun(ConvertStream* stream, const uint8_t* source, uint32_t sourceBytes, uint8_t* target,
                     uint32_t targetBytes);

void ConvertStreamClose(ConvertStream* stream);
