// Durable file writing on POSIX systems: fsync for the data, rename for the switch.
#include "platform/file.h"
#include "platform/internal.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <unistd.h>

int FileCommit(FILE* file)
{
    FileCrashPoint();
    int ok = fflush(file) == 0;
    ok = fsync(fileno(file)) == 0 && ok;
    FileCrashPoint();
    return fclose(file) == 0 && ok;
}

// The folder that holds path, for flushing the new directory entry.
static std::string FolderOf(const char* path)
{
    const char* slash = strrchr(path, '/');
    if (!slash)
        return ".";
    if (slash == path)
        return "/";
    return std::string(path, (size_t)(slash - path));
}

int FileReplace(const char* from, const char* to)
{
    FileCrashPoint();
    if (rename(from, to) != 0)
        return 0;
    FileCrashPoint();
    int folder = open(FolderOf(to).c_str(), O_RDONLY | O_DIRECTORY);
    if (folder >= 0) {
        // Some file systems refuse fsync on a folder; the rename stands either way.
        fsync(folder);
        close(folder);
    }
    FileCrashPoint();
    return 1;
}

int FileRemove(const char* path)
{
    return unlink(path) == 0 || errno == ENOENT;
}
