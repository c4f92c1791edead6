// Fuzz target: a recording replayed through the whole program, as the headless runner's --replay does.
#include "app/entry.h"
#include "fuzz/fuzz.h"
#include "platform/gx.h"
#include "platform/headless.h"
#include "platform/record.h"
#include "platform/sys.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

// The program's file name, which its art and sounds are found beside: the
// build folder, one above the fuzz targets'.
static const std::wstring& ProgramPath()
{
    static const std::wstring path =
        (fs::read_symlink("/proc/self/exe").parent_path().parent_path() / "space-shooter").wstring();
    return path;
}

// Closes the window as a user would: the program goes on live once a replay
// stops, and must then end by itself.
static void Quit()
{
    std::string error;
    HeadlessScriptAppend("at " + std::to_string(HeadlessNow()) + " quit\n", &error);
}

static void OnFail(const char*)
{
    Quit();
}

// A recording that stays in step runs no longer than a short game.
static void OnFrame(void*)
{
    if (HeadlessFramesPresented() == 2000)
        Quit();
}

// The replay's working folder, which gets the recording's high-score file.
static fs::path Prepare()
{
    // The files first: the scratch paths are removed in order at exit.
    FuzzScratchPath("replay/input.rec");
    FuzzScratchPath("replay/Skyrend.dat");
    fs::path folder = FuzzScratchPath("replay");
    std::error_code error;
    fs::create_directories(folder, error);
    return folder;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const fs::path folder = Prepare();
    const std::string path = (folder / "input.rec").string();
    fs::path started = fs::current_path();
    // The checksum is put right, so that changed inputs get past it to the entries.
    std::vector<uint8_t> bytes(data, data + size);
    if (bytes.size() > 8) {
        uint64_t sum = RecordChecksum(bytes.data(), bytes.size() - 8);
        for (int i = 0; i < 8; i++)
            bytes[bytes.size() - 8 + (size_t)i] = (uint8_t)(sum >> (8 * i));
    }
    if (!FuzzWriteFile(path, bytes.data(), bytes.size()) || chdir(folder.c_str()) != 0)
        return 0;
    remove(recordScoreFile);

    HeadlessReset();
    HeadlessSetModuleFileName(ProgramPath().c_str());
    std::string error;
    if (ReplayStart(path, &error)) {
        GXDisplayProperties display = { 240, 320, 2, 480, 16, ReplayFormat() };
        HeadlessSetDisplay(display);
        HeadlessFollowReplay();
        RecordSetFailHandler(OnFail);
        HeadlessSetPresentHook(OnFrame, nullptr);
        WinMain(SysModule(), nullptr, "", 1);
        ReplayFinish(&error);
        HeadlessSetPresentHook(nullptr, nullptr);
    }
    HeadlessReset();
    if (chdir(started.c_str()) != 0)
        abort();
    return 0;
}
