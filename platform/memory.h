// Address space for the memory manager, which keeps all its blocks in one range so that 32-bit offsets can link them.
#pragma once
#include <cstddef>

// Reserves bytes of address space, none of it usable yet; null when the
// system has too little. The memory manager reserves one range when it is created.
void* SysMemReserve(size_t bytes);

// Makes part of a reserved range usable, zero-filled; 1 on success. Called
// when the memory manager takes a chunk or a large block from the system.
int SysMemCommit(void* address, size_t bytes);

// Gives the pages back; the range stays reserved. Called when the memory
// manager returns a chunk or a large block.
void SysMemDecommit(void* address, size_t bytes);
