// Durable file writing on Windows: FlushFileBuffers for the data, MoveFileEx for the switch.
#include "platform/file.h"
#include "platform/internal.h"

#include <windows.h>

#include <io.h>

#include <string>

int FileCommit(FILE* file)
{
    FileCrashPoint();
    int ok = fflush(file) == 0;
    HANDLE handle = (HANDLE)_get_osfhandle(_fileno(file));
    ok = handle != INVALID_HANDLE_VALUE && FlushFileBuffers(handle) && ok;
    FileCrashPoint();
    return fclose(file) == 0 && ok;
}

// fopen reads narrow names in the ANSI code page; so does this.
static std::wstring Wide(const char* path)
{
    wchar_t wide[MAX_PATH * 2];
    int n = MultiByteToWideChar(CP_ACP, 0, path, -1, wide, MAX_PATH * 2);
    return n > 0 ? std::wstring(wide) : std::wstring();
}

// WRITE_THROUGH returns only once the new directory entry is on the disk,
// which on Windows stands in for flushing the folder.
int FileReplace(const char* from, const char* to)
{
    FileCrashPoint();
    if (!MoveFileExW(Wide(from).c_str(), Wide(to).c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return 0;
    FileCrashPoint();
    FileCrashPoint();   // where POSIX flushes the folder: the write-through move has done that
    return 1;
}

int FileRemove(const char* path)
{
    return DeleteFileW(Wide(path).c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND;
}
