// The debug memory manager: tagged, signed blocks from 1 MB chunks and size-class free lists, for all the sound code's memory.
#pragma once
#include <cstddef>
#include <cstdint>

// File and tag strings must outlive the block (callers pass literals).
// Every operation is safe from any thread.

// A block of at least size bytes, not initialised; null when the system
// refuses memory.
void* MemAlloc(size_t size, const wchar_t* tag, const wchar_t* file, int line);

// Releases a block allocated as plain memory. An address the manager never
// handed out (or already released) shows the "Memory Manager" box.
void MemFree(void* address, const wchar_t* file, int line);

// Releases a block allocated as an object.
void MemDelete(void* address, const wchar_t* file, int line);

// Checks the block's signatures and marks it tared.
void MemTare(void* address, const wchar_t* file, int line);

// Grows the array *arrayAddress (any pointer type) of *count elements to at
// least needed elements: needed + increment - 1 of them, the new ones zeroed.
// Returns 1, also when it already held enough; 0 when memory was refused, and
// then the array and the count are as they were.
int MemRealloc(size_t elementSize, void* arrayAddress, uint32_t* count, uint32_t needed, uint32_t increment,
               const wchar_t* file, int line);

// For tests: what the manager holds now.
struct MemStats {
    uint32_t chunks;        // chunks taken from the system
    uint32_t emptyChunks;   // of those, chunks holding no allocated block
    uint32_t largeBlocks;   // blocks taken straight from the system
    uint32_t warnings;      // overwritten signatures and mode mismatches so far
    const char* lastWarning;
};
MemStats MemGetStats();

// For tests: while set, the system refuses every chunk and large block.
void MemSetSystemRefusal(int refuse);

// For tests: gives everything back and starts afresh. Every block handed out
// before becomes unknown; no other thread may be using the manager.
void MemReset();
