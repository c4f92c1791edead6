// Tests of the debug memory manager: block sizes, size classes, chunks, diagnostics, growth and threads.
#include "app/mem.h"
#include "platform/headless.h"
#include "platform/sys.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

static const wchar_t testFile[] = L"mem_test";

static uint8_t* Alloc(size_t size)
{
    return (uint8_t*)MemAlloc(size, L"size", testFile, 1);
}

static void Free(void* address)
{
    MemFree(address, testFile, 2);
}

class MemTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        HeadlessReset();
        MemReset();
    }
};

// Blocks are carved front to back, so the distance between two blocks
// carved in a row is the first one's total size.
static ptrdiff_t TotalOf(size_t size)
{
    uint8_t* block = Alloc(size);
    uint8_t* after = Alloc(0);
    return after - block;
}

TEST_F(MemTest, SizesStep128BytesAndTheTrailBeyondTheCapacityIsGuarded)
{
    EXPECT_EQ(TotalOf(0), 128);
    EXPECT_EQ(TotalOf(55), 128);
    EXPECT_EQ(TotalOf(56), 256);
    EXPECT_EQ(TotalOf(183), 256);
    EXPECT_EQ(TotalOf(184), 384);

    // The capacity is the total less 72, and the trail is guarded.
    uint8_t* exact = Alloc(0);
    memset(exact, 0xAB, 56);   // the whole capacity
    Free(exact);
    EXPECT_EQ(MemGetStats().warnings, 0u);

    uint8_t* over = Alloc(0);
    memset(over, 0xAB, 57);
    Free(over);
    EXPECT_EQ(MemGetStats().warnings, 1u);
    EXPECT_STREQ(MemGetStats().lastWarning, "The trailing signature on a memory block was overwritten.");

    uint8_t* under = Alloc(10);
    under[-68] = 0;   // the first byte of the header
    MemTare(under, testFile, 3);
    EXPECT_STREQ(MemGetStats().lastWarning, "The leading signature on a memory block was overwritten.");
    Free(under);
    EXPECT_EQ(MemGetStats().warnings, 3u);
    EXPECT_TRUE(HeadlessBoxes().empty());
}

TEST_F(MemTest, LargeBlocksGoStraightToTheSystemAndBack)
{
    uint8_t* largest = Alloc(524215);
    ASSERT_NE(largest, nullptr);
    EXPECT_EQ(MemGetStats().largeBlocks, 0u);
    EXPECT_EQ(MemGetStats().chunks, 1u);

    uint8_t* large = Alloc(524216);
    ASSERT_NE(large, nullptr);
    memset(large, 1, 524216);
    EXPECT_EQ(MemGetStats().largeBlocks, 1u);
    Free(large);
    EXPECT_EQ(MemGetStats().largeBlocks, 0u);
    Free(largest);
    EXPECT_EQ(MemGetStats().warnings, 0u);
}

TEST_F(MemTest, FreeBlocksAreFoundUpTo16ClassesUpWholeAndNewestFirst)
{
    uint8_t* class16 = Alloc(2000);   // total 2176
    uint8_t* class17 = Alloc(2150);   // total 2304
    Alloc(0);
    Free(class17);
    EXPECT_NE(Alloc(0), class17);     // out of a class-0 request's reach

    Free(class16);
    EXPECT_EQ(Alloc(0), class16);     // reused whole, not split

    uint8_t* first = Alloc(100);
    uint8_t* second = Alloc(100);
    Free(first);
    Free(second);
    EXPECT_EQ(Alloc(100), second);
    EXPECT_EQ(Alloc(100), first);
}

TEST_F(MemTest, AtMostThreeEmptyChunksAreKept)
{
    // A 0x80000 block fills a chunk: the rest is too small for a second one.
    std::vector<uint8_t*> blocks;
    for (int i = 0; i < 5; i++)
        blocks.push_back(Alloc(524215));
    EXPECT_EQ(MemGetStats().chunks, 5u);
    EXPECT_EQ(MemGetStats().emptyChunks, 0u);

    for (int i = 0; i < 3; i++)
        Free(blocks[i]);
    EXPECT_EQ(MemGetStats().chunks, 5u);
    EXPECT_EQ(MemGetStats().emptyChunks, 3u);

    Free(blocks[3]);   // the fourth empty chunk goes back at once
    EXPECT_EQ(MemGetStats().chunks, 4u);
    EXPECT_EQ(MemGetStats().emptyChunks, 3u);
    EXPECT_EQ(Alloc(524215), blocks[2]);   // the kept ones still serve
    Free(blocks[2]);
    Free(blocks[4]);
    EXPECT_EQ(MemGetStats().chunks, 3u);
}

TEST_F(MemTest, UnknownAddressesShowTheErrorBoxAndAModeMismatchOnlyWarns)
{
    uint8_t* block = Alloc(16);
    Free(block);
    MemFree(block, L"caller", 77);   // freed blocks have left the hash
    ASSERT_EQ(HeadlessBoxes().size(), 1u);
    char expected[256];
    snprintf(expected, sizeof expected,
             "Memory Manager: An invalid address was deleted.\n\n   Address: 0x%08lX\n   Current: caller line 77"
             "\n\nClick OK to dismiss\nClick X to debug",
             (unsigned long)(uintptr_t)block);
    EXPECT_EQ(HeadlessBoxes()[0], expected);

    int local = 0;
    HeadlessSetBoxAnswer(SysAnswerCancel);   // asks to debug; nothing is attached
    MemTare(&local, L"caller", 78);
    MemDelete(nullptr, L"caller", 79);
    ASSERT_EQ(HeadlessBoxes().size(), 3u);
    EXPECT_EQ(HeadlessBoxes()[1].rfind("Memory Manager: An invalid address was tared.", 0), 0u);
    EXPECT_EQ(HeadlessBoxes()[2].rfind("Memory Manager: An invalid address was deleted.", 0), 0u);

    // A block freed the other way only warns, and is still released.
    block = Alloc(16);
    MemDelete(block, testFile, 4);
    EXPECT_STREQ(MemGetStats().lastWarning, "A non-object memory address was deleted.");
    EXPECT_EQ(HeadlessBoxes().size(), 3u);
    Free(block);
    EXPECT_EQ(HeadlessBoxes().size(), 4u);
}

TEST_F(MemTest, ReallocGrowsByItsIncrementAndKeepsTheElements)
{
    uint32_t* array = nullptr;
    uint32_t count = 0;
    ASSERT_EQ(MemRealloc(4, &array, &count, 3, 1, testFile, 5), 1);
    EXPECT_EQ(count, 3u);
    array[0] = 7;
    array[2] = 9;
    uint32_t* before = array;
    EXPECT_EQ(MemRealloc(4, &array, &count, 2, 128, testFile, 6), 1);
    EXPECT_EQ(array, before);
    ASSERT_EQ(MemRealloc(4, &array, &count, 4, 128, testFile, 7), 1);
    EXPECT_EQ(count, 131u);
    EXPECT_EQ(array[0], 7u);
    EXPECT_EQ(array[2], 9u);
    for (uint32_t i = 3; i < count; i++)
        ASSERT_EQ(array[i], 0u);

    // Refused memory leaves array and count as they were.
    MemSetSystemRefusal(1);
    uint32_t* kept = array;
    EXPECT_EQ(MemRealloc(4, &array, &count, 200000, 1, testFile, 8), 0);
    EXPECT_EQ(array, kept);
    EXPECT_EQ(count, 131u);
    EXPECT_EQ(array[2], 9u);
    Free(array);
    EXPECT_EQ(Alloc(600000), nullptr);
    MemReset();
    MemSetSystemRefusal(1);
    EXPECT_EQ(Alloc(0), nullptr);   // no chunk to carve from
    MemSetSystemRefusal(0);
    EXPECT_NE(Alloc(0), nullptr);
    EXPECT_TRUE(HeadlessBoxes().empty());
}

TEST_F(MemTest, ThreadsAllocateAndFreeAtOnce)
{
    std::atomic<int> damaged = 0;
    auto work = [&damaged](uint8_t seed) {
        struct Held {
            uint8_t* block;
            size_t size;
        };
        std::vector<Held> held;
        uint32_t state = seed;
        for (int i = 0; i < 3000; i++) {
            state = state * 1103515245 + 12345;
            if (held.size() < 40 && (state >> 16) % 3) {
                size_t size = (state >> 8) % 3000;
                uint8_t* block = Alloc(size);
                memset(block, seed, size);
                held.push_back({ block, size });
                continue;
            }
            if (held.empty())
                continue;
            // A block handed to two threads at once would lose its pattern.
            size_t pick = (state >> 4) % held.size();
            for (size_t j = 0; j < held[pick].size; j++)
                if (held[pick].block[j] != seed) {
                    damaged++;
                    break;
                }
            Free(held[pick].block);
            held.erase(held.begin() + (ptrdiff_t)pick);
        }
        for (Held& h : held)
            Free(h.block);
    };
    std::vector<std::thread> threads;
    for (uint8_t t = 1; t <= 4; t++)
        threads.emplace_back(work, t);
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(damaged, 0);
    EXPECT_EQ(MemGetStats().warnings, 0u);
    EXPECT_EQ(MemGetStats().emptyChunks, MemGetStats().chunks);
    EXPECT_TRUE(HeadlessBoxes().empty());
}
