// The game's entry point on Windows: the backend up, the program, the backend down.
#include "app/entry.h"
#include "platform/gx.h"
#include "platform/record.h"
#include "platform/sys.h"
#include "platform/win32/entry_win32.h"


#include <cstdio>
#include <cstring>
#include <string>

int main(int argc, char** argv)
{
    // The game reads no command line; --record FILE is the desktop's own.
    const char* recordPath = nullptr;
    for (int i = 1; i + 1 < argc; i++)
        if (!strcmp(argv[i], "--record"))
            recordPath = argv[++i];
    std::string error;
    if (recordPath && !RecordStart(recordPath, GXGetDisplayProperties().ffFormat, &error)) {
        SysMessageBox(nullptr, error.c_str(), "Space Shooter", SysBoxError);
        return 1;
    }
    Win32Start();
    int result = WinMain(SysModule(), nullptr, "", 1);
    Win32Stop();
    if (recordPath && !RecordFinish(&error))
        SysMessageBox(nullptr, error.c_str(), "Space Shooter", SysBoxError);
    return result;
}
