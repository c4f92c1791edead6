// Address space for the memory manager on VirtualAlloc: reserved, committed and decommitted pages.
#include "platform/memory.h"

#include <windows.h>

void* SysMemReserve(size_t bytes)
{
    return VirtualAlloc(nullptr, bytes, MEM_RESERVE, PAGE_NOACCESS);
}

// Committed pages always come zero-filled, also after a decommit.
int SysMemCommit(void* address, size_t bytes)
{
    return VirtualAlloc(address, bytes, MEM_COMMIT, PAGE_READWRITE) != nullptr;
}

void SysMemDecommit(void* address, size_t bytes)
{
    VirtualFree(address, bytes, MEM_DECOMMIT);
}
