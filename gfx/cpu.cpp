// The machine's vector width, read from the processor's own feature bits.
#include "gfx/cpu.h"

#include <cstdlib>
#include <cstring>

static CpuVectors CpuVectorsOfMachine()
{
#if defined(__x86_64__)
    // Static initialisers may run before the compiler's own reads the bits.
    __builtin_cpu_init();
    if (__builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") &&
        __builtin_cpu_supports("avx512vl"))
        return CpuVectorsAvx512;
    if (__builtin_cpu_supports("avx2"))
        return CpuVectorsAvx2;
#endif
    return CpuVectorsBuild;
}

CpuVectors CpuVectorWidth()
{
    CpuVectors widest = CpuVectorsOfMachine();
    const char* cap = getenv("SS_VECTORS");
    if (cap && !strcmp(cap, "build"))
        return CpuVectorsBuild;
    if (cap && !strcmp(cap, "avx2") && widest > CpuVectorsAvx2)
        return CpuVectorsAvx2;
    return widest;
}
