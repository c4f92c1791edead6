// System services on POSIX systems: the program's path from /proc and the debugger break.
#include "platform/sys.h"
#include "platform/internal.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

void SysProgramPath(std::wstring* name)
{
    if (!name->empty())
        return;
    char path[1024];
    ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    path[n > 0 ? n : 0] = 0;
    wchar_t wide[1024];
    size_t count = mbstowcs(wide, path, 1023);
    wide[count == (size_t)-1 ? 0 : count] = 0;
    *name = wide;
}

// A trap with no debugger attached would kill the program, so look first.
void SysDebugBreak()
{
    FILE* status = fopen("/proc/self/status", "r");
    if (!status)
        return;
    char line[256];
    int traced = 0;
    while (fgets(line, sizeof line, status))
        if (strncmp(line, "TracerPid:", 10) == 0)
            traced = atoi(line + 10) != 0;
    fclose(status);
    if (traced)
        raise(SIGTRAP);
}
