// System services shared by both backends: the program's own file name and the debugger break.
#include "platform/sys.h"
#include "platform/backend.h"

#include <csignal>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <string>
#include <unistd.h>

static std::wstring moduleFileOverride;

struct Module {
    int unused;
};
static Module programModule;

Module* SysModule()
{
    return &programModule;
}

void SysSetModuleFileName(const wchar_t* path)
{
    moduleFileOverride = path ? path : L"";
}

int SysModuleFileName(Module*, wchar_t* out, int capacity)
{
    if (!out || capacity <= 0)
        return 0;
    std::wstring name = moduleFileOverride;
    if (name.empty()) {
        char path[1024];
        ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
        path[n > 0 ? n : 0] = 0;
        wchar_t wide[1024];
        size_t count = mbstowcs(wide, path, 1023);
        wide[count == (size_t)-1 ? 0 : count] = 0;
        name = wide;
    }
    int length = (int)name.size() < capacity - 1 ? (int)name.size() : capacity - 1;
    wmemcpy(out, name.c_str(), (size_t)length);
    out[length] = 0;
    return length;
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
