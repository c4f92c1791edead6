// Threads, re-entrant locks and auto-reset events over the standard library.
#include "platform/thread.h"

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

struct SysLock {
    std::recursive_mutex mutex;
};

struct SysEvent {
    int signalled;
    int waiting;    // threads blocked in SysEventWait
    int released;   // held wake-ups handed over by SysEventsRun, not yet taken
    int running;    // threads woken while held, not yet waiting again
};

// All events share one mutex and condition: they are few, and SysEventsRun
// watches them all at once. Never destroyed, because the mixer thread is
// still waiting on its event while the process exits.
struct EventShared {
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<SysEvent*> events;
};

static EventShared& Shared()
{
    static EventShared* shared = new EventShared;
    return *shared;
}

SysLock* SysLockCreate()
{
    return new SysLock;
}

void SysLockEnter(SysLock* lock)
{
    lock->mutex.lock();
}

void SysLockLeave(SysLock* lock)
{
    lock->mutex.unlock();
}

SysEvent* SysEventCreate()
{
    EventShared& shared = Shared();
    SysEvent* event = new SysEvent{};
    std::lock_guard<std::mutex> hold(shared.mutex);
    shared.events.push_back(event);
    return event;
}

// Waiters are woken after the mutex is let go throughout: woken while it is
// still held, they would only block on it again, which on a busy or single
// core costs two more thread switches for every wake-up.
void SysEventSet(SysEvent* event)
{
    EventShared& shared = Shared();
    {
        std::lock_guard<std::mutex> hold(shared.mutex);
        event->signalled = 1;
    }
    shared.changed.notify_all();
}

void SysEventWait(SysEvent* event)
{
    EventShared& shared = Shared();
    std::unique_lock<std::mutex> hold(shared.mutex);
    if (event->running)
        event->running--;   // the pass this thread was woken for is over
    event->waiting++;
    hold.unlock();
    shared.changed.notify_all();
    hold.lock();
    if (BackendEventsHeld()) {
        shared.changed.wait(hold, [event] { return event->released > 0; });
        event->released--;
        event->running++;
    } else {
        shared.changed.wait(hold, [event] { return event->signalled != 0; });
        event->signalled = 0;
    }
    event->waiting--;
}

void SysEventsRun()
{
    EventShared& shared = Shared();
    std::unique_lock<std::mutex> hold(shared.mutex);
    // A thread that never answers would stop the clock for good; give up
    // after a while so that a run ends with a message instead of hanging.
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    for (;;) {
        int busy = 0, woken = 0;
        for (SysEvent* event : shared.events) {
            if (event->signalled && event->waiting > event->released) {
                event->signalled = 0;
                event->released++;
                woken = 1;
            }
            busy |= event->signalled || event->released || event->running;
        }
        if (!busy)
            return;
        if (woken) {
            // The states are read again after the wake-up, so an answer that
            // comes before this thread waits is not missed.
            hold.unlock();
            shared.changed.notify_all();
            hold.lock();
            continue;
        }
        if (shared.changed.wait_until(hold, deadline) == std::cv_status::timeout) {
            fprintf(stderr, "headless: a thread did not answer its wake-up\n");
            return;
        }
    }
}

int SysThreadStart(void (*entry)(void* argument), void* argument)
{
    try {
        std::thread(entry, argument).detach();
        return 1;
    } catch (const std::system_error&) {
        return 0;
    }
}
