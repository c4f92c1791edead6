// Counting the heap calls of the program's own code, for a test program linked with --wrap for malloc, calloc, realloc and new.
#pragma once
#include <cstddef>
#include <new>

// Include in one source file of the test program only: it defines the wrappers.
// A thread's heap calls are added to allocations while its counting is set.
static thread_local bool counting;
static thread_local long allocations;

extern "C" {
void* __real_malloc(size_t size);
void* __real_calloc(size_t count, size_t size);
void* __real_realloc(void* block, size_t size);
void* __real__Znwm(size_t size);
void* __real__Znam(size_t size);
void* __real__ZnwmRKSt9nothrow_t(size_t size, const std::nothrow_t& tag);

void* __wrap_malloc(size_t size)
{
    allocations += counting;
    return __real_malloc(size);
}
void* __wrap_calloc(size_t count, size_t size)
{
    allocations += counting;
    return __real_calloc(count, size);
}
void* __wrap_realloc(void* block, size_t size)
{
    allocations += counting;
    return __real_realloc(block, size);
}
void* __wrap__Znwm(size_t size)
{
    allocations += counting;
    return __real__Znwm(size);
}
void* __wrap__Znam(size_t size)
{
    allocations += counting;
    return __real__Znam(size);
}
void* __wrap__ZnwmRKSt9nothrow_t(size_t size, const std::nothrow_t& tag)
{
    allocations += counting;
    return __real__ZnwmRKSt9nothrow_t(size, tag);
}
}
