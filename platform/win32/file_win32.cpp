// Durable file writing on Windows: FlushFileBuffers for the data, MoveFileEx for the switch.
#include "platform/file.h"

#include <windows.h>

#include <io.h>

#include <string>

static int crashStep = 0;
static int stepsTaken = 0;

static void CrashPoint()
{
    if (crashStep && ++stepsTaken == crashStep)
        ExitProcess(FileCrashExitCode);
}

void FileSetCrashStep(int step)
{
    crashStep = step;
    stepsTaken = 0;
}

int FileWrite(FILE* file, const void* data, size_t size)
{
    CrashPoint();
    size_t written = fwrite(data, 1, size, file);
    CrashPoint();
    return written == size;
}

int FileCommit(FILE* file)
{
    CrashPoint();
    int ok = fflush(file) == 0;
    HANDLE handle = (HANDLE)_get_osfhandle(_fileno(file));
    ok = handle != INVALID_HANDLE_VALUE && FlushFileBuffers(handle) && ok;
    CrashPoint();
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
    CrashPoint();
    if (!MoveFileExW(Wide(from).c_str(), Wide(to).c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return 0;
    CrashPoint();
    CrashPoint();   // where POSIX flushes the folder: the write-through move has done that
    return 1;
}

int FileRemove(const char* path)
{
    return DeleteFileW(Wide(path).c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND;
}
