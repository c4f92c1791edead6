// The machine's vector width, read from the processor's own feature bits.
#include "gfx/cpu.h"

CpuVectors CpuVectorWidth()
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
