// The debug memory manager: chunks carved into size-classed blocks, an address hash, signed headers.
//
// Block headers are seventeen 32-bit words, as the sizes callers see depend
// on it (0 bytes gives a 128-byte block, 56 bytes a 256-byte one). A 64-bit
// pointer does not fit a word, so the manager reserves one address range of
// its own when it is created: chunks and large blocks are pages of that range,
// and every link in a header is a 32-bit offset from the range's start, with
// 0 for null. The file and tag words hold numbers in a table of the strings
// callers passed. No caller registers an external address, so that word
// stays 0 and blocks are always found by their own data address.
#include "app/mem.h"
#include "platform/memory.h"
#include "platform/sys.h"
#include "platform/thread.h"

#include <cstdio>
#include <cstring>
#include <cwchar>
#include <mutex>

enum : uint32_t {
    memLeadSignature = 0x4D656D21,    // "!meM" in memory order
    memTrailSignature = 0x4F6B6179,   // "yakO"
    memBlockHeader = 68,
    memBlockOverhead = 72,            // the header and the trailing signature
    memChunkSize = 0x100000,
    memChunkHeader = 28,
    memChunkCapacity = memChunkSize - memChunkHeader,
    memLargeThreshold = 0x80000,
    memBucketCount = 0x4000,
    memClassCount = 4096,
    memClassReach = 16,
    memUnhashed = 0xFFFFFFFF,
    memKeptEmptyChunks = 3,
    memStringCount = 256,
};

// The range holds every sound many times over; it is handed out in granules.
static const uint64_t memRangeSize = 1ull << 30;
static const uint32_t memGranule = 0x10000;
static const uint32_t memGranuleCount = (uint32_t)(memRangeSize / memGranule);

struct MemChunk {
    uint32_t next;         // the older chunk
    uint32_t prev;         // the newer chunk
    uint32_t capacity;
    uint32_t remaining;
    uint32_t usedBlocks;
    uint32_t blockCount;   // blocks ever carved
    uint32_t firstBlock;
};
static_assert(sizeof(MemChunk) == memChunkHeader);

struct MemBlock {
    uint32_t leadSignature;
    uint32_t bucket;       // memUnhashed while free
    uint32_t bucketPrev;
    uint32_t bucketNext;
    uint32_t freePrev;
    uint32_t freeNext;
    uint32_t chunk;        // 0 for a large block
    uint32_t isObject;
    uint32_t isLarge;
    uint32_t capacity;
    uint32_t requestedSize;
    uint32_t file;         // string number; 0 is "free"
    uint32_t tag;
    uint32_t line;
    uint32_t tared;
    uint32_t userPtr;
    uint32_t externalAddress;
};
static_assert(sizeof(MemBlock) == memBlockHeader);

struct MemoryManager {
    SysLock* lock;
    uint8_t* base;   // the reserved range
    uint32_t currentChunk;
    uint32_t buckets[memBucketCount];
    uint32_t freeLists[memClassCount];
    uint32_t emptyChunks;
    const wchar_t* strings[memStringCount];
    uint32_t stringCount;
    // The system's side: granules of the range in use, large blocks out.
    uint64_t granulesUsed[memGranuleCount / 64];
    uint32_t largeBlocks;
    uint32_t warnings;
    const char* lastWarning;
    int refuse;
};

static MemoryManager mem;

static void MemClearTables()
{
    mem.currentChunk = 0;
    memset(mem.buckets, 0, sizeof mem.buckets);
    memset(mem.freeLists, 0, sizeof mem.freeLists);
    mem.emptyChunks = 0;
    memset(mem.granulesUsed, 0, sizeof mem.granulesUsed);
    mem.granulesUsed[0] = 1;   // offset 0 stands for null, so granule 0 is never handed out
    mem.strings[0] = L"free";
    mem.strings[1] = L"?";
    mem.stringCount = 2;
    mem.largeBlocks = 0;
    mem.warnings = 0;
    mem.lastWarning = "";
    mem.refuse = 0;
}

static MemoryManager& MemManager()
{
    static std::once_flag created;
    std::call_once(created, [] {
        mem.lock = SysLockCreate();
        mem.base = (uint8_t*)SysMemReserve(memRangeSize);
        MemClearTables();
    });
    return mem;
}

static MemBlock* BlockAt(uint32_t offset)
{
    return (MemBlock*)(mem.base + offset);
}

static MemChunk* ChunkAt(uint32_t offset)
{
    return (MemChunk*)(mem.base + offset);
}

static uint32_t* TrailOf(MemBlock* block)
{
    return (uint32_t*)((uint8_t*)block + memBlockHeader + block->capacity);
}

// The file and tag strings are stored as numbers; equal texts share one.
static uint32_t MemStringNumber(const wchar_t* text)
{
    if (!text)
        return 1;
    for (uint32_t i = 0; i < mem.stringCount; i++)
        if (mem.strings[i] == text || !wcscmp(mem.strings[i], text))
            return i;
    if (mem.stringCount == memStringCount)
        return 1;
    mem.strings[mem.stringCount] = text;
    return mem.stringCount++;
}

// The system: runs of granules of the range, committed when taken. Returns
// the run's offset, or 0 when refused.
static uint32_t SystemAlloc(uint64_t bytes)
{
    if (mem.refuse || !mem.base || bytes > memRangeSize)
        return 0;
    uint32_t need = (uint32_t)((bytes + memGranule - 1) / memGranule);
    uint32_t run = 0;
    for (uint32_t g = 1; g < memGranuleCount; g++) {
        if (mem.granulesUsed[g / 64] >> (g % 64) & 1) {
            run = 0;
            continue;
        }
        if (++run < need)
            continue;
        uint32_t first = g + 1 - need;
        if (!SysMemCommit(mem.base + (uint64_t)first * memGranule, (size_t)need * memGranule))
            return 0;
        for (uint32_t i = first; i <= g; i++)
            mem.granulesUsed[i / 64] |= 1ull << (i % 64);
        return first * memGranule;
    }
    return 0;
}

static void SystemFree(uint32_t offset, uint64_t bytes)
{
    uint32_t first = offset / memGranule;
    uint32_t count = (uint32_t)((bytes + memGranule - 1) / memGranule);
    SysMemDecommit(mem.base + offset, (size_t)count * memGranule);
    for (uint32_t i = first; i < first + count; i++)
        mem.granulesUsed[i / 64] &= ~(1ull << (i % 64));
}

static uint32_t SizeClass(uint64_t total)
{
    return (uint32_t)(total >> 7) - 1;
}

static void FreeListPush(uint32_t offset)
{
    MemBlock* block = BlockAt(offset);
    uint32_t sizeClass = SizeClass(block->capacity + memBlockOverhead);
    block->freePrev = 0;
    block->freeNext = mem.freeLists[sizeClass];
    if (block->freeNext)
        BlockAt(block->freeNext)->freePrev = offset;
    mem.freeLists[sizeClass] = offset;
}

static void FreeListRemove(uint32_t offset)
{
    MemBlock* block = BlockAt(offset);
    if (block->freePrev)
        BlockAt(block->freePrev)->freeNext = block->freeNext;
    else
        mem.freeLists[SizeClass(block->capacity + memBlockOverhead)] = block->freeNext;
    if (block->freeNext)
        BlockAt(block->freeNext)->freePrev = block->freePrev;
    block->freePrev = block->freeNext = 0;
}

static void BucketInsert(uint32_t offset)
{
    MemBlock* block = BlockAt(offset);
    block->bucket = (uint32_t)(((uintptr_t)(mem.base + block->userPtr) >> 4) & (memBucketCount - 1));
    block->bucketPrev = 0;
    block->bucketNext = mem.buckets[block->bucket];
    if (block->bucketNext)
        BlockAt(block->bucketNext)->bucketPrev = offset;
    mem.buckets[block->bucket] = offset;
}

static void BucketRemove(uint32_t offset)
{
    MemBlock* block = BlockAt(offset);
    if (block->bucketPrev)
        BlockAt(block->bucketPrev)->bucketNext = block->bucketNext;
    else
        mem.buckets[block->bucket] = block->bucketNext;
    if (block->bucketNext)
        BlockAt(block->bucketNext)->bucketPrev = block->bucketPrev;
    block->bucket = memUnhashed;
    block->bucketPrev = block->bucketNext = 0;
}

// The block whose data starts at address, or 0. Freed blocks have left the
// hash, so they are never found.
static uint32_t BlockLookup(const void* address)
{
    const uint8_t* at = (const uint8_t*)address;
    if (!mem.base || at < mem.base || at >= mem.base + memRangeSize)
        return 0;
    uint32_t offset = (uint32_t)(at - mem.base);
    uint32_t bucket = (uint32_t)(((uintptr_t)at >> 4) & (memBucketCount - 1));
    for (uint32_t b = mem.buckets[bucket]; b; b = BlockAt(b)->bucketNext)
        if (BlockAt(b)->userPtr == offset)
            return b;
    return 0;
}

// Writes a free block's header and trailing signature.
static void BlockInit(uint32_t offset, uint32_t total, uint32_t chunk)
{
    MemBlock* block = BlockAt(offset);
    *block = {};
    block->leadSignature = memLeadSignature;
    block->bucket = memUnhashed;
    block->capacity = total - memBlockOverhead;
    block->userPtr = offset + memBlockHeader;
    block->chunk = chunk;
    *TrailOf(block) = memTrailSignature;
}

static void ChunkAdd()
{
    uint32_t offset = SystemAlloc(memChunkSize);
    if (!offset)
        return;
    MemChunk* chunk = ChunkAt(offset);
    chunk->next = mem.currentChunk;
    chunk->prev = 0;
    if (mem.currentChunk)
        ChunkAt(mem.currentChunk)->prev = offset;
    chunk->capacity = chunk->remaining = memChunkCapacity;
    chunk->usedBlocks = chunk->blockCount = 0;
    chunk->firstBlock = offset + memChunkHeader;
    mem.currentChunk = offset;
    mem.emptyChunks++;
}

// Cuts the next size bytes off the current chunk, as a free block; 0 when
// there is no room.
static uint32_t ChunkCarve(uint32_t size)
{
    if (size < 128)
        size = 128;
    if (!mem.currentChunk)
        return 0;
    MemChunk* chunk = ChunkAt(mem.currentChunk);
    if (chunk->remaining < size)
        return 0;
    uint32_t offset = chunk->firstBlock + (chunk->capacity - chunk->remaining);
    chunk->remaining -= size;
    chunk->blockCount++;
    BlockInit(offset, size, mem.currentChunk);
    return offset;
}

static void ChunkRelease(uint32_t offset)
{
    MemChunk* chunk = ChunkAt(offset);
    uint32_t block = chunk->firstBlock;
    for (uint32_t i = 0; i < chunk->blockCount; i++) {
        FreeListRemove(block);
        block += BlockAt(block)->capacity + memBlockOverhead;
    }
    if (chunk->prev)
        ChunkAt(chunk->prev)->next = chunk->next;
    if (chunk->next)
        ChunkAt(chunk->next)->prev = chunk->prev;
    if (mem.currentChunk == offset)
        mem.currentChunk = chunk->next;
    mem.emptyChunks--;
    SystemFree(offset, memChunkSize);
}

static uint32_t TakeSmallBlock(uint32_t total)
{
    uint32_t first = SizeClass(total);
    uint32_t last = first + memClassReach < memClassCount ? first + memClassReach : memClassCount - 1;
    for (uint32_t sizeClass = first; sizeClass <= last; sizeClass++) {
        uint32_t offset = mem.freeLists[sizeClass];
        if (offset) {
            FreeListRemove(offset);
            return offset;
        }
    }
    if (mem.currentChunk && ChunkAt(mem.currentChunk)->remaining < total) {
        // The rest of a full chunk is kept as one free block, unless too small.
        uint32_t rest = ChunkAt(mem.currentChunk)->remaining;
        if (rest >= 128)
            FreeListPush(ChunkCarve(rest));
        ChunkAdd();
    } else if (!mem.currentChunk) {
        ChunkAdd();
    }
    return ChunkCarve(total);
}

static uint32_t TakeLargeBlock(uint64_t total)
{
    // A large block sits where a chunk's first block would, after room for a
    // chunk header, so its data is aligned like every other block's.
    uint32_t run = SystemAlloc(total + memChunkHeader);
    if (!run)
        return 0;
    uint32_t offset = run + memChunkHeader;
    BlockInit(offset, (uint32_t)total, 0);
    mem.largeBlocks++;
    return offset;
}

static void* MemAllocBlock(size_t size, const wchar_t* tag, const wchar_t* file, int line, int isObject)
{
    MemoryManager& m = MemManager();
    // Totals are whole 128-byte steps; a request that fills one exactly takes one more.
    uint64_t total = (((uint64_t)size + memBlockOverhead) & ~(uint64_t)127) + 128;
    SysLockEnter(m.lock);
    uint32_t offset = total > memLargeThreshold ? TakeLargeBlock(total) : TakeSmallBlock((uint32_t)total);
    if (!offset) {
        SysLockLeave(m.lock);
        return nullptr;
    }
    MemBlock* block = BlockAt(offset);
    BucketInsert(offset);
    block->isLarge = total > memLargeThreshold;
    block->isObject = isObject;
    block->file = MemStringNumber(file);
    block->requestedSize = (uint32_t)size;
    block->tag = MemStringNumber(tag);
    block->line = (uint32_t)line;
    block->tared = 0;
    block->externalAddress = 0;
    if (block->chunk && ++ChunkAt(block->chunk)->usedBlocks == 1)
        m.emptyChunks--;
    SysLockLeave(m.lock);
    return m.base + block->userPtr;
}

// Errors stop the user with a box; Cancel (the X) breaks into the debugger.
static void MemError(const void* address, const wchar_t* file, int line, const char* message)
{
    char text[1024];
    snprintf(text, sizeof text,
             "%s\n\n   Address: 0x%08lX\n   Current: %ls line %ld\n\nClick OK to dismiss\nClick X to debug",
             message, (unsigned long)(uintptr_t)address, file ? file : L"", (long)line);
    if (SysMessageBox(nullptr, text, "Memory Manager", SysBoxOkCancel | SysBoxError) == SysAnswerCancel)
        SysDebugBreak();
}

// Warnings are silent: they are counted, and the last one is kept for tests.
static void MemWarn(const char* message)
{
    mem.warnings++;
    mem.lastWarning = message;
}

static void MemCheckSignatures(MemBlock* block)
{
    if (block->leadSignature != memLeadSignature)
        MemWarn("The leading signature on a memory block was overwritten.");
    else if (*TrailOf(block) != memTrailSignature)
        MemWarn("The trailing signature on a memory block was overwritten.");
}

static void MemRelease(void* address, const wchar_t* file, int line, int objectMode)
{
    MemoryManager& m = MemManager();
    SysLockEnter(m.lock);
    uint32_t offset = BlockLookup(address);
    if (!offset) {
        MemError(address, file, line, "An invalid address was deleted.");
        SysLockLeave(m.lock);
        return;
    }
    MemBlock* block = BlockAt(offset);
    if (objectMode && block->isObject != 1)
        MemWarn("A non-object memory address was deleted.");
    if (!objectMode && block->isObject == 1)
        MemWarn("A C++ object was deleted using the \"free\" method.");
    MemCheckSignatures(block);
    BucketRemove(offset);
    if (block->isLarge) {
        SystemFree(offset - memChunkHeader, (uint64_t)block->capacity + memBlockOverhead + memChunkHeader);
        m.largeBlocks--;
        SysLockLeave(m.lock);
        return;
    }
    FreeListPush(offset);
    block->file = block->tag = 0;
    block->line = block->tared = block->externalAddress = 0;
    MemChunk* chunk = ChunkAt(block->chunk);
    if (--chunk->usedBlocks == 0 && ++m.emptyChunks > memKeptEmptyChunks)
        ChunkRelease(block->chunk);
    SysLockLeave(m.lock);
}

void* MemAlloc(size_t size, const wchar_t* tag, const wchar_t* file, int line)
{
    return MemAllocBlock(size, tag, file, line, 0);
}

void MemFree(void* address, const wchar_t* file, int line)
{
    MemRelease(address, file, line, 0);
}

void MemDelete(void* address, const wchar_t* file, int line)
{
    MemRelease(address, file, line, 1);
}

void MemTare(void* address, const wchar_t* file, int line)
{
    MemoryManager& m = MemManager();
    SysLockEnter(m.lock);
    uint32_t offset = BlockLookup(address);
    if (!offset) {
        MemError(address, file, line, "An invalid address was tared.");
    } else {
        MemCheckSignatures(BlockAt(offset));
        BlockAt(offset)->tared = 1;
    }
    SysLockLeave(m.lock);
}

int MemRealloc(size_t elementSize, void* arrayAddress, uint32_t* count, uint32_t needed, uint32_t increment,
               const wchar_t* file, int line)
{
    if (*count >= needed)
        return 1;
    uint64_t newCount = (uint64_t)needed + (increment ? increment : 1) - 1;
    if (newCount > 0xFFFFFFFF || newCount * elementSize > memRangeSize)
        return 0;
    uint8_t* fresh = (uint8_t*)MemAlloc(newCount * elementSize, L"MemRealloc", file, line);
    if (!fresh)
        return 0;
    // The array pointer may be of any type, so it is read and written as bytes.
    uint8_t* old;
    memcpy(&old, arrayAddress, sizeof old);
    size_t kept = (size_t)*count * elementSize;
    if (old)
        memcpy(fresh, old, kept);
    memset(fresh + kept, 0, newCount * elementSize - kept);
    if (old)
        MemFree(old, file, line);
    memcpy(arrayAddress, &fresh, sizeof fresh);
    *count = (uint32_t)newCount;
    return 1;
}

MemStats MemGetStats()
{
    MemoryManager& m = MemManager();
    SysLockEnter(m.lock);
    MemStats stats = {};
    for (uint32_t c = m.currentChunk; c; c = ChunkAt(c)->next)
        stats.chunks++;
    stats.emptyChunks = m.emptyChunks;
    stats.largeBlocks = m.largeBlocks;
    stats.warnings = m.warnings;
    stats.lastWarning = m.lastWarning;
    SysLockLeave(m.lock);
    return stats;
}

void MemSetSystemRefusal(int refuse)
{
    MemoryManager& m = MemManager();
    SysLockEnter(m.lock);
    m.refuse = refuse;
    SysLockLeave(m.lock);
}

void MemReset()
{
    MemoryManager& m = MemManager();
    SysLockEnter(m.lock);
    if (m.base)
        SysMemDecommit(m.base, memRangeSize);
    MemClearTables();
    SysLockLeave(m.lock);
}
