// Flushing to the disk, in a browser or node's emulated file system: nothing below the C library to flush.
#include <unistd.h>

// The page's files live in memory and reach IndexedDB whole, in one
// transaction per sync (see main_web.cpp), so a table is never stored half
// written; the runner writes through node at once. The C library's own
// fsync would suspend the program to sync a mount, which these have no use for.
extern "C" int fsync(int)
{
    return 0;
}
