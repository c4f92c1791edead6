// Threads, re-entrant locks and auto-reset events, for the mixer and the memory manager.
#pragma once
#include <cstdint>

struct SysLock;
struct SysEvent;

// A lock the holding thread may take again (each Enter needs its Leave).
// Created once by the memory manager and once by the mixer; never destroyed.
SysLock* SysLockCreate();
// Called around every memory manager operation and every mixer change.
void SysLockEnter(SysLock* lock);
void SysLockLeave(SysLock* lock);

// An auto-reset event, not signalled at first: a wait takes the signal, and
// several signals before a wait count as one. Each event has one thread that
// waits on it. Created once by the mixer; never destroyed.
SysEvent* SysEventCreate();
// Called by the mixer when a voice starts and by the device callback when a
// buffer comes back; safe from any thread, never blocks for long.
void SysEventSet(SysEvent* event);
// Called by the mixer thread between its passes.
void SysEventWait(SysEvent* event);

// Starts a detached thread running entry(argument); 1 on success. The mixer
// starts its thread on the first sound played.
int SysThreadStart(void (*entry)(void* argument), void* argument);

// Each backend says whether wake-ups are held back until SysEventsRun. The
// headless clock holds them so that the threads' work lands at fixed virtual
// times; the desktop delivers them at once.
int BackendEventsHeld();

// Called by the headless clock before it moves and after each buffer the
// device hands back: passes every pending signal to its waiting thread and
// returns once each woken thread waits again.
void SysEventsRun();
