// System services shared by the Windows programs: the program's own file name and the debugger break.
#include "platform/sys.h"
#include "platform/backend.h"

#include <windows.h>

#include <cwchar>
#include <string>

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

// Windows takes forward slashes too, and the program joins its paths with them.
int SysModuleFileName(Module*, wchar_t* out, int capacity)
{
    if (!out || capacity <= 0)
        return 0;
    std::wstring name = moduleFileOverride;
    if (name.empty()) {
        wchar_t path[MAX_PATH * 2];
        DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH * 2);
        name.assign(path, n < MAX_PATH * 2 ? n : 0);
    }
    for (wchar_t& c : name)
        if (c == L'\\')
            c = sysPathSeparator;
    int length = (int)name.size() < capacity - 1 ? (int)name.size() : capacity - 1;
    wmemcpy(out, name.c_str(), (size_t)length);
    out[length] = 0;
    return length;
}

void SysDebugBreak()
{
    if (IsDebuggerPresent())
        DebugBreak();
}
