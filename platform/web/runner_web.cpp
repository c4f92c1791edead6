// The runner under node prints line by line, as on a terminal: a reader of its frame lines sees each when its frame is done.
#include <cstdio>

// Node's pipes are no terminal, so the C library would hold the output in
// blocks; the benchmark times each frame by the moment its line comes out.
static const int lineBuffered = setvbuf(stdout, nullptr, _IOLBF, 0);
