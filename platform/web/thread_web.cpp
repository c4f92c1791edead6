// Threads without threads: each started thread is a fiber that runs when its event is signalled and the game's thread lets it.
#include "platform/thread.h"

#include <emscripten/fiber.h>

#include <cstdio>
#include <cstdlib>

// A page served with no special headers gets no shared memory, so the web
// build has one thread of control. A thread's body runs as a fiber: its
// SysEventWait swaps back to the game, and SysEventsRun swaps in each fiber
// whose event was signalled, at the same points where the headless clock
// would release a real thread. So the order of everything the game sees is
// the same as in the native runner.

struct SysLock {
    int depth;   // only one thread of control: nothing to exclude
};

struct SysEvent {
    int signalled;
    struct WebFiber* waiter;   // the fiber parked in SysEventWait on it
};

struct WebFiber {
    emscripten_fiber_t context;
    void (*entry)(void*);
    void* argument;
};

enum : size_t {
    fiberStackBytes = 64 * 1024,
    asyncifyStackBytes = 64 * 1024,
    mainAsyncifyBytes = 512 * 1024,   // the game's whole call chain is saved here at each swap
    eventCapacity = 8,
};

static emscripten_fiber_t mainContext;
static int mainReady;
static WebFiber* current;   // the fiber running now; null on the game's own stack
static SysEvent events[eventCapacity];
static int eventCount;

SysLock* SysLockCreate()
{
    return new SysLock{};
}

void SysLockEnter(SysLock* lock)
{
    lock->depth++;
}

void SysLockLeave(SysLock* lock)
{
    lock->depth--;
}

SysEvent* SysEventCreate()
{
    if (eventCount == eventCapacity) {
        fprintf(stderr, "web: too many events\n");
        abort();
    }
    return &events[eventCount++];
}

void SysEventSet(SysEvent* event)
{
    event->signalled = 1;
}

// Parks the running fiber until SysEventsRun hands it its signal. Called on
// the game's own stack, where nothing could take over, it returns at once.
void SysEventWait(SysEvent* event)
{
    WebFiber* self = current;
    if (!self)
        return;
    event->waiter = self;
    current = nullptr;
    emscripten_fiber_swap(&self->context, &mainContext);
}

static void MainContextReady()
{
    if (mainReady)
        return;
    static void* mainAsyncify = malloc(mainAsyncifyBytes);
    emscripten_fiber_init_from_current_context(&mainContext, mainAsyncify, mainAsyncifyBytes);
    mainReady = 1;
}

static void FiberSwitchTo(WebFiber* fiber)
{
    MainContextReady();
    current = fiber;
    emscripten_fiber_swap(&mainContext, &fiber->context);
}

void SysEventsRun()
{
    if (current)
        return;   // a fiber's own pass: the game's thread runs the others afterwards
    for (int again = 1; again;) {
        again = 0;
        for (int i = 0; i < eventCount; i++) {
            SysEvent* event = &events[i];
            if (!event->signalled || !event->waiter)
                continue;
            WebFiber* fiber = event->waiter;
            event->signalled = 0;
            event->waiter = nullptr;
            FiberSwitchTo(fiber);
            again = 1;
        }
    }
}

static void FiberMain(void* argument)
{
    WebFiber* fiber = (WebFiber*)argument;
    fiber->entry(fiber->argument);
    // A body that returns is finished for good: it never runs again.
    current = nullptr;
    emscripten_fiber_swap(&fiber->context, &mainContext);
}

// The body runs at once up to its first wait, as a new thread would before
// anyone signals it.
int SysThreadStart(void (*entry)(void* argument), void* argument)
{
    if (current)
        return 0;
    WebFiber* fiber = new WebFiber{};
    fiber->entry = entry;
    fiber->argument = argument;
    void* stack = malloc(fiberStackBytes);
    void* saved = malloc(asyncifyStackBytes);
    if (!stack || !saved) {
        free(stack);
        free(saved);
        delete fiber;
        return 0;
    }
    emscripten_fiber_init(&fiber->context, FiberMain, fiber, stack, fiberStackBytes, saved, asyncifyStackBytes);
    FiberSwitchTo(fiber);
    return 1;
}
