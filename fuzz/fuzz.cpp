// Scratch files and headless housekeeping shared by the fuzz targets.
#include "fuzz/fuzz.h"
#include "gfx/surface.h"
#include "platform/headless.h"

#include <cstdio>
#include <cstdlib>
#include <unistd.h>
#include <vector>

// A file system in memory where there is one: the targets write a file for
// every input, and a disk makes that most of the time of a run.
static std::string ScratchFolder()
{
    const char* folder = getenv("TMPDIR");
    if (folder && *folder)
        return folder;
    return access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
}

static std::vector<std::string> scratchPaths;

static void ScratchRemove()
{
    for (const std::string& path : scratchPaths)
        remove(path.c_str());
}

std::string FuzzScratchPath(const char* name)
{
    if (scratchPaths.empty())
        atexit(ScratchRemove);
    scratchPaths.push_back(ScratchFolder() + "/ss-fuzz-" + std::to_string(getpid()) + "-" + name);
    return scratchPaths.back();
}

int FuzzWriteFile(const std::string& path, const uint8_t* data, size_t size)
{
    FILE* file = fopen(path.c_str(), "wb");
    if (!file)
        return 0;
    int written = fwrite(data, 1, size, file) == size;
    return fclose(file) == 0 && written;
}

void FuzzForgetBoxes()
{
    if (!HeadlessBoxes().empty())
        HeadlessReset();
}

void FuzzTouchPixels(const Surface* surface)
{
    volatile uint32_t sum = 0;
    for (size_t i = 0; i < (size_t)surface->width * (size_t)surface->height; i++)
        sum = sum + surface->pixels[i];
}
