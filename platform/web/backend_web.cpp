// Web backend hooks: the page's clock, waits that give the browser its turn, message boxes, and the one canvas.
#include "platform/backend.h"
#include "platform/internal.h"
#include "platform/record.h"
#include "platform/sys.h"
#include "platform/thread.h"
#include "platform/web/web_internal.h"

#include <emscripten.h>

#include <string>

Window* webOwner;
static int woken;
static double lastYield;

uint32_t BackendNow()
{
    return (uint32_t)(uint64_t)emscripten_get_now();
}

void WebSleep(uint32_t ms)
{
    lastYield = emscripten_get_now() + ms;
    emscripten_sleep(ms);
}

void WebYieldIfBusy()
{
    if (emscripten_get_now() - lastYield > 30)
        WebSleep(0);
}

// The mixer's fiber runs here, on the game's own turn, and refills the
// buffers the audio callback has handed back.
void BackendPump()
{
    SysEventsRun();
    WebPumpInput();
}

// The page delivers events only while the program sleeps, so a wait is a
// series of short sleeps that ends at the deadline, a post, or new input.
void BackendWait(uint32_t until, int hasDeadline)
{
    for (;;) {
        if (woken || WebInputPending())
            break;
        int32_t rest = hasDeadline ? (int32_t)(until - BackendNow()) : 10;
        if (rest <= 0)
            break;
        WebSleep(rest < 10 ? (uint32_t)rest : 10);
        SysEventsRun();
    }
    woken = 0;
}

// A screen loop polls without rest: each poll gives the browser a turn.
void BackendIdle(uint32_t, int)
{
    WebSleep(1);
}

void BackendWake()
{
    woken = 1;
}

uint32_t SysTicks()
{
    return RecordClock(BackendNow());
}

void SysSleep(uint32_t ms)
{
    uint32_t end = BackendNow() + ms;
    RecordPumpBegin();
    for (;;) {
        BackendPump();
        int32_t rest = (int32_t)(end - BackendNow());
        if (rest <= 0)
            break;
        WebSleep(rest < 5 ? (uint32_t)rest : 5);
    }
    RecordPumpEnd();
}

int SysMessageBox(Window*, const char* text, const char* caption, uint32_t flags)
{
    int answer = EM_ASM_INT({
        var text = UTF8ToString($1) + ':\n\n' + UTF8ToString($0);
        console.warn(text);
        return $2 ? (confirm(text) ? 1 : 2) : (alert(text), 1);
    }, text ? text : "", caption ? caption : "", (flags & SysBoxOkCancel) != 0);
    return RecordBox(caption, text, answer);
}

void BackendWindowCreated(Window* window, int)
{
    if (webOwner)
        return;
    webOwner = window;
    std::string title;
    for (wchar_t c : window->title)
        title += (char)(c < 128 ? c : '?');
    EM_ASM({ document.title = UTF8ToString($0); }, title.c_str());
}

void BackendWindowShown(Window*)
{
}

void BackendWindowDestroyed(Window* window)
{
    if (window == webOwner)
        webOwner = nullptr;
}

void BackendWindowRaise(Window* window)
{
    WindowSetForegroundState(window);
}

// A tab is alone: there is no running copy to find.
std::string BackendInstanceScope()
{
    return "";
}

void BackendInstanceServed(uint32_t)
{
}
