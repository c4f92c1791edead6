// What every fuzz target shares: the entry point libFuzzer calls, and scratch files for loaders that read paths.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

struct Surface;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

// A path in the temporary folder private to this process, ending in name.
std::string FuzzScratchPath(const char* name);

// Writes the bytes to path, replacing the file; 1 on success.
int FuzzWriteFile(const std::string& path, const uint8_t* data, size_t size);

// Forgets the message boxes the input made. libFuzzer counts an input that
// leaves memory allocated as a possible leak and runs the leak checker after
// it, which slows a run a hundredfold; and the record would grow without bound.
void FuzzForgetBoxes();

// Reads every pixel of the surface, so that a buffer smaller than its size shows.
void FuzzTouchPixels(const Surface* surface);
