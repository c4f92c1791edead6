// System services every backend shares: the program's own file name, which the runner may override.
#include "platform/sys.h"
#include "platform/backend.h"
#include "platform/internal.h"

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

int SysModuleFileName(Module*, wchar_t* out, int capacity)
{
    if (!out || capacity <= 0)
        return 0;
    std::wstring name = moduleFileOverride;
    SysProgramPath(&name);
    int length = (int)name.size() < capacity - 1 ? (int)name.size() : capacity - 1;
    wmemcpy(out, name.c_str(), (size_t)length);
    out[length] = 0;
    return length;
}
