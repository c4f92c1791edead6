// Durable file writing, the part every system shares: the writes and the crash points the tests stop at.
#include "platform/file.h"
#include "platform/internal.h"

#include <cstdlib>

static int crashStep = 0;
static int stepsTaken = 0;

// _Exit, like _exit, ends the process with no flush of the C library's buffers.
void FileCrashPoint()
{
    if (crashStep && ++stepsTaken == crashStep)
        std::_Exit(FileCrashExitCode);
}

void FileSetCrashStep(int step)
{
    crashStep = step;
    stepsTaken = 0;
}

int FileWrite(FILE* file, const void* data, size_t size)
{
    FileCrashPoint();
    size_t written = fwrite(data, 1, size, file);
    FileCrashPoint();
    return written == size;
}
