// The widest vectors this machine computes in, for the few loops that pick their code at start.
#pragma once

enum CpuVectors { CpuVectorsBuild, CpuVectorsAvx2, CpuVectorsAvx512 };

// Asked by the drawing modules' static initialisers, once each, to choose
// between copies of a loop compiled for wider vectors than the build's own.
// CpuVectorsAvx512 means AVX-512 F, BW and VL together. The choice is kept
// in an ordinary pointer, not a loader-resolved clone: sanitizer runtimes are
// not ready while the loader resolves. SS_VECTORS=build or avx2 in the
// environment narrows the choice, so that every copy can be checked on one
// machine.
CpuVectors CpuVectorWidth();
