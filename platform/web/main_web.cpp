// The game's entry point in a browser page: the saved files' folder, the page's input, the program.
#include "app/entry.h"
#include "platform/sys.h"
#include "platform/web/web_internal.h"

#include <emscripten.h>

#include <unistd.h>

int main()
{
    // The high-score table lives in /data, which page_pre.js has filled
    // from IndexedDB before main and stores back after each replacement.
    if (chdir("/data") != 0)
        EM_ASM({ console.warn('no /data folder: the high scores will not be kept'); });
    WebInputStart();
    int result = WinMain(SysModule(), nullptr, "", 1);
    EM_ASM({ if (Module['onGameEnd']) Module['onGameEnd'](); });
    return result;
}
