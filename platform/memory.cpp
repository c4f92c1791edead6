// Address space for the memory manager: reserved, committed and decommitted pages.
#include "platform/memory.h"

#include <sys/mman.h>

void* SysMemReserve(size_t bytes)
{
    void* range = mmap(nullptr, bytes, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    return range == MAP_FAILED ? nullptr : range;
}

int SysMemCommit(void* address, size_t bytes)
{
    return mprotect(address, bytes, PROT_READ | PROT_WRITE) == 0;
}

// Dropping the pages first makes the next commit see zeros again.
void SysMemDecommit(void* address, size_t bytes)
{
    madvise(address, bytes, MADV_DONTNEED);
    mprotect(address, bytes, PROT_NONE);
}
