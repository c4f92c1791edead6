// Address space for the memory manager in WebAssembly: the range is the fresh top of the linear memory, which starts zeroed.
#include "platform/memory.h"

#include <cstring>
#include <unistd.h>

// WebAssembly has no pages to reserve or protect. The C library's mmap would
// hand out the range by clearing all of it, a gigabyte touched before the
// first frame; memory taken past the break instead comes from the engine
// untouched and zero, and costs nothing until it is used.
void* SysMemReserve(size_t bytes)
{
    void* range = sbrk((intptr_t)bytes);
    return range == (void*)-1 ? nullptr : range;
}

int SysMemCommit(void*, size_t)
{
    return 1;
}

// The pages stay; clearing them now keeps the promise that a commit sees zeros.
void SysMemDecommit(void* address, size_t bytes)
{
    memset(address, 0, bytes);
}
