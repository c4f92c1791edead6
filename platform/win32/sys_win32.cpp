// System services of the Windows programs: the program's own path and the debugger break.
#include "platform/sys.h"
#include "platform/internal.h"

#include <windows.h>

// Windows takes forward slashes too, and the program joins its paths with them.
void SysProgramPath(std::wstring* name)
{
    if (name->empty()) {
        wchar_t path[MAX_PATH * 2];
        DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH * 2);
        name->assign(path, n < MAX_PATH * 2 ? n : 0);
    }
    for (wchar_t& c : *name)
        if (c == L'\\')
            c = sysPathSeparator;
}

void SysDebugBreak()
{
    if (IsDebuggerPresent())
        DebugBreak();
}
