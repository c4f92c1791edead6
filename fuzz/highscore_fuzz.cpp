// Fuzz target: the high-score file "Skyrend.dat" as everything that reads it does: the table, placing, inserting, and its screen.
#include "app/display.h"
#include "app/entry.h"
#include "app/windowproc.h"
#include "fuzz/fuzz.h"
#include "game/world.h"
#include "gfx/pixelfont.h"
#include "platform/headless.h"
#include "platform/sys.h"
#include "ui/highscore.h"

#include <climits>
#include <cstdlib>
#include <cstdio>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;

// The program's file name, which its art and sounds are found beside: the
// build folder, one above the fuzz targets'.
static const std::wstring& ProgramPath()
{
    static const std::wstring path =
        (fs::read_symlink("/proc/self/exe").parent_path().parent_path() / "space-shooter").wstring();
    return path;
}

static fs::path folder;

// The program started once, in a scratch folder of its own that holds the
// table (the folder is current only while an input runs: the inputs' own
// paths are relative to the folder the fuzzer started in).
static Window* StartProgram()
{
    // The files first: the scratch paths are removed in order at exit.
    FuzzScratchPath("highscore/Skyrend.dat");
    FuzzScratchPath("highscore/hscore.tmp");
    folder = FuzzScratchPath("highscore");
    std::error_code error;
    fs::create_directories(folder, error);
    HeadlessReset();
    HeadlessSetInstanceScope(folder.string());
    HeadlessSetModuleFileName(ProgramPath().c_str());
    displayProps = GXGetDisplayProperties();
    PixelFormatSelect(displayProps.ffFormat);
    PixelFontBuild();
    if (!InitInstance(SysModule()))
        return nullptr;
    appReady = 1;
    Message message;
    // The first WM_SHOWMENU, posted at creation; a peek that moved the clock
    // found the next timer tick, not a message waiting now.
    for (uint32_t before = HeadlessNow(); MessagePeek(&message) && HeadlessNow() == before;)
        MessageGet(&message);
    return gameWorld.owner;
}

static void WriteTable(const uint8_t* data, size_t size)
{
    FuzzWriteFile("Skyrend.dat", data, size);
    remove("hscore.tmp");
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fs::path started = fs::current_path();
    static Window* window = StartProgram();
    if (chdir(folder.c_str()) != 0)
        return 0;
    WriteTable(data, size);
    HighScoreEntry table[HighScoreCount];
    HighScoreRead(table);
    int32_t scores[] = { 0, 1, -1, INT_MAX, INT_MIN, table[0].score, table[HighScoreCount - 1].score };
    for (int32_t score : scores)
        HighScorePlace(score);
    char row[64];
    for (int i = 0; i < HighScoreCount; i++)
        HighScoreFormatRow(row, sizeof row, i + 1, table[i].name, table[i].score);

    // The screen, its row highlighted, left by a tap on "Exit" waiting in the queue.
    if (window) {
        int highlight = HighScorePlace(table[5].score + 1);
        MessagePost(window, WM_LBUTTONUP, 0, (intptr_t)289 << 16 | 116);
        ShowHighScores(&gameWorld.backBuffer, highlight);
    }

    // Inserting rewrites the table; a long name is cut, not overrun.
    HighScoreInsert("FUZZ", table[3].score);
    HighScoreInsert("ABCDEFGHIJKLMNOPQRSTUVWXYZ", INT_MAX);
    HighScoreRead(table);
    if (chdir(started.c_str()) != 0)
        abort();
    return 0;
}
