// The message queue: posting, sending, taking and peeking, and the periodic timers.
#include "platform/win.h"
#include "platform/backend.h"
#include "platform/internal.h"
#include "platform/record.h"

#include <mutex>
#include <vector>

struct Timer {
    Window* window;
    uint32_t id;
    uint32_t period;
    uint32_t due;
};

// Other threads post (the mixer, the instance listener), so the queue is locked.
static std::mutex queueLock;
// A ring over slots taken up front, so that posting never allocates in play;
// a queue that fills doubles its slots.
static std::vector<Message> queue(256);
static size_t queueHead;
static size_t queueCount;
static int quitPending;
static int quitCode;
static uint32_t takenDropped;   // the ticks the last timer message taken had missed

// Timers belong to the window's thread and need no lock.
static std::vector<Timer> timers;

static int TickReached(uint32_t now, uint32_t due)
{
    return (int32_t)(now - due) >= 0;
}

static int TakePosted(Message* out, int remove)
{
    std::lock_guard<std::mutex> hold(queueLock);
    if (!queueCount)
        return 0;
    *out = queue[queueHead];
    if (remove) {
        queueHead = (queueHead + 1) % queue.size();
        queueCount--;
    }
    return 1;
}

// The earliest due timer becomes a WM_TIMER. Taking it moves its next tick to
// the first one after now, so ticks missed meanwhile are dropped.
static int TakeTimer(Message* out, int remove)
{
    uint32_t now = RecordClock(BackendNow());
    Timer* best = nullptr;
    for (Timer& timer : timers)
        if (TickReached(now, timer.due) && (!best || (int32_t)(timer.due - best->due) < 0))
            best = &timer;
    if (!best)
        return 0;
    *out = { best->window, WM_TIMER, best->id, 0 };
    if (remove) {
        takenDropped = (now - best->due) / best->period;
        best->due += best->period * (takenDropped + 1);
    }
    return 1;
}

static int TakeNext(Message* out, int remove)
{
    takenDropped = 0;
    if (TakePosted(out, remove))
        return 1;
    if (quitPending) {
        *out = { nullptr, WM_QUIT, (uintptr_t)quitCode, 0 };
        if (remove)
            quitPending = 0;
        return 1;
    }
    return TakeTimer(out, remove);
}

int TimerNextDue(uint32_t* due)
{
    if (timers.empty())
        return 0;
    uint32_t now = RecordClock(BackendNow());
    uint32_t best = timers[0].due;
    for (const Timer& timer : timers)
        if ((int32_t)(timer.due - best) < 0)
            best = timer.due;
    *due = TickReached(now, best) ? now : best;
    return 1;
}

int MessagePost(Window* window, uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    if (window && !window->alive)
        return 0;
    if (window && window->remote)
        return message == InstanceRedrawMessage && !wParam && !lParam &&
               InstanceSend(window->connection, InstanceRequestRedraw);
    {
        std::lock_guard<std::mutex> hold(queueLock);
        if (queueCount == queue.size()) {
            std::vector<Message> grown(queue.size() * 2);
            for (size_t i = 0; i < queueCount; i++)
                grown[i] = queue[(queueHead + i) % queue.size()];
            queue.swap(grown);
            queueHead = 0;
        }
        queue[(queueHead + queueCount++) % queue.size()] = { window, message, wParam, lParam };
    }
    RecordPost(window, message, wParam, lParam);
    BackendWake();
    return 1;
}

// What input from outside the process can bring: keys, the stylus, focus,
// closing and a second copy's redraw. None carries a pointer.
int MessageFromOutside(uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    switch (message) {
    case WM_ACTIVATE:
    case WM_CLOSE:
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
        return 1;
    case InstanceRedrawMessage:
        return !wParam && !lParam;
    }
    return 0;
}

intptr_t MessageSend(Window* window, uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    if (!WindowIsAlive(window) || window->remote)
        return 0;
    return window->proc(window, message, wParam, lParam);
}

// Input from outside comes into the queue only here, in sleeps and at the
// end of a frame: the recorder counts these pumps to place it on replay.
static void Pump()
{
    RecordPumpBegin();
    BackendPump();
    RecordPumpEnd();
}

int MessageGet(Message* message)
{
    for (;;) {
        Pump();
        if (TakeNext(message, 1)) {
            RecordTake(message, message->message == WM_TIMER ? takenDropped : 0);
            return message->message != WM_QUIT;
        }
        uint32_t due = 0;
        int hasDue = TimerNextDue(&due);
        BackendWait(due, hasDue);
    }
}

int MessagePeek(Message* message)
{
    Pump();
    if (TakeNext(message, 0))
        return 1;
    uint32_t due = 0;
    int hasDue = TimerNextDue(&due);
    BackendIdle(due, hasDue);
    Pump();
    return TakeNext(message, 0);
}

intptr_t MessageDispatch(const Message* message)
{
    if (!message || !WindowIsAlive(message->window) || message->window->remote)
        return 0;
    return message->window->proc(message->window, message->message, message->wParam, message->lParam);
}

void MessageTranslate(const Message*)
{
}

void MessagePostQuit(int code)
{
    quitPending = 1;
    quitCode = code;
    BackendWake();
}

int TimerSet(Window* window, uint32_t id, uint32_t periodMs)
{
    if (!WindowIsAlive(window) || periodMs == 0)
        return 0;
    uint32_t due = RecordClock(BackendNow()) + periodMs;
    for (Timer& timer : timers) {
        if (timer.window == window && timer.id == id) {
            timer.period = periodMs;
            timer.due = due;
            return 1;
        }
    }
    timers.push_back({ window, id, periodMs, due });
    return 1;
}

int TimerKill(Window* window, uint32_t id)
{
    for (size_t i = 0; i < timers.size(); i++) {
        if (timers[i].window == window && timers[i].id == id) {
            timers.erase(timers.begin() + (long)i);
            return 1;
        }
    }
    return 0;
}

void TimerKillAll(Window* window)
{
    for (size_t i = timers.size(); i-- > 0;)
        if (timers[i].window == window)
            timers.erase(timers.begin() + (long)i);
}

void MessageResetAll()
{
    std::lock_guard<std::mutex> hold(queueLock);
    queueHead = queueCount = 0;
    timers.clear();
    quitPending = 0;
    quitCode = 0;
}
