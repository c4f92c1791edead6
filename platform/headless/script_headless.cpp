// The headless clock and input script: time moves only while the program waits, straight to the next due event.
#include "platform/backend.h"
#include "platform/gx.h"
#include "platform/headless.h"
#include "platform/headless_wave.h"
#include "platform/headless/headless_internal.h"
#include "platform/internal.h"
#include "platform/record.h"

#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <vector>

enum ScriptKind {
    ScriptTap,
    ScriptDown,
    ScriptUp,
    ScriptShot,
    ScriptQuit,
    ScriptActivate,
    ScriptDeactivate,
    ScriptClickActivate,
    ScriptAwaitRemote,
};

struct ScriptEvent {
    uint32_t time;
    ScriptKind kind;
    int a;
    int b;
    std::string name;
};

struct ScriptKeyDef {
    const char* name;
    int virtualKey;
};

static const ScriptKeyDef scriptKeyTable[] = {
    { "up", KeyUp },
    { "down", KeyDown },
    { "left", KeyLeft },
    { "right", KeyRight },
    { "fire", KeyFire },
    { "lock", KeyLockOn },
    { "menu", KeyMenu },
};

// Held keys repeat as a desktop keyboard's do: a first further WM_KEYDOWN
// 500 ms after the key went down, then one every 50 ms until it comes up,
// each with the previous-state bit (30) set. Every held key repeats on its own.
enum : uint32_t { RepeatDelay = 500, RepeatPeriod = 50 };

struct HeldKey {
    int virtualKey;   // 0: a free slot
    uint32_t due;     // the tick of its next repeat
};

static uint32_t now;
static HeldKey heldKeys[sizeof scriptKeyTable / sizeof scriptKeyTable[0]];
static uint32_t timeLimit = 0xFFFFFFFF;
static std::vector<ScriptEvent> events;
static size_t nextEvent;
static std::string shotFolder = ".";

uint32_t HeadlessNow()
{
    return now;
}

static void KeyHold(int virtualKey, uint32_t time)
{
    HeldKey* free = nullptr;
    for (HeldKey& held : heldKeys) {
        if (held.virtualKey == virtualKey) {
            held.due = time + RepeatDelay;
            return;
        }
        if (!held.virtualKey && !free)
            free = &held;
    }
    // One slot per key the script can name, so a free one is always there.
    if (free)
        *free = { virtualKey, time + RepeatDelay };
}

static void KeyRelease(int virtualKey)
{
    for (HeldKey& held : heldKeys)
        if (held.virtualKey == virtualKey)
            held = {};
}

// The held key whose repeat comes first, or null when none is held.
static HeldKey* KeyNextRepeat()
{
    HeldKey* next = nullptr;
    for (HeldKey& held : heldKeys)
        if (held.virtualKey && (!next || held.due < next->due))
            next = &held;
    return next;
}

static void ScriptApply(const ScriptEvent& event)
{
    Window* window = WindowMain();
    RecordExternalBegin();
    switch (event.kind) {
    case ScriptTap: {
        intptr_t position = (intptr_t)((event.b & 0xFFFF) << 16 | (event.a & 0xFFFF));
        MessagePost(window, WM_LBUTTONDOWN, 1, position);
        MessagePost(window, WM_LBUTTONUP, 0, position);
        break;
    }
    case ScriptDown:
        HeadlessKeySet(event.a, 1);
        KeyHold(event.a, event.time);
        MessagePost(window, WM_KEYDOWN, (uintptr_t)event.a, 1);
        break;
    case ScriptUp:
        HeadlessKeySet(event.a, 0);
        KeyRelease(event.a);
        MessagePost(window, WM_KEYUP, (uintptr_t)event.a, 1);
        break;
    case ScriptShot: {
        std::vector<uint16_t> frame(240 * 320);
        HeadlessScreenRead(frame.data());
        std::string path = shotFolder + "/" + event.name + ".png";
        if (!HeadlessWritePng(path, frame.data(), GXGetDisplayProperties().ffFormat))
            fprintf(stderr, "headless: cannot write %s\n", path.c_str());
        break;
    }
    case ScriptQuit:
        MessagePost(window, WM_CLOSE, 0, 0);
        break;
    case ScriptActivate:
    case ScriptClickActivate:
        WindowSetForegroundState(window);
        MessagePost(window, WM_ACTIVATE, event.kind == ScriptActivate ? WA_ACTIVE : WA_CLICKACTIVE, 0);
        break;
    case ScriptDeactivate:
        WindowSetForegroundState(nullptr);
        MessagePost(window, WM_ACTIVATE, WA_INACTIVE, 0);
        break;
    case ScriptAwaitRemote:
        // The one place the headless clock waits for the real world: another
        // process that is asking this copy to come forward.
        fprintf(stderr, "headless: awaiting the running copy's caller\n");
        if (!InstanceAwaitCaller(20000))
            fprintf(stderr, "headless: nobody called\n");
        InstanceServeInbox();
        break;
    }
    RecordExternalEnd();
}

// The sound device plays the buffers that end on the way, in step with the clock.
// A script command and a repeat due at the same tick: the command goes first,
// so a key let go at its repeat's tick does not repeat.
void HeadlessAdvanceTo(uint32_t tick)
{
    HeadlessWavePlayUntil(now);
    for (;;) {
        HeldKey* repeat = KeyNextRepeat();
        int hasEvent = nextEvent < events.size() && events[nextEvent].time <= tick;
        int hasRepeat = repeat && repeat->due <= tick;
        if (!hasEvent && !hasRepeat)
            break;
        uint32_t time = hasEvent && (!hasRepeat || events[nextEvent].time <= repeat->due) ? events[nextEvent].time
                                                                                           : repeat->due;
        if (time > now) {
            HeadlessWavePlayUntil(time);
            now = time;
        }
        if (hasEvent && events[nextEvent].time == time) {
            ScriptApply(events[nextEvent++]);
            continue;
        }
        int key = repeat->virtualKey;
        repeat->due += RepeatPeriod;
        MessagePost(WindowMain(), WM_KEYDOWN, (uintptr_t)key, 1 | 1 << 30);
    }
    if (tick > now) {
        HeadlessWavePlayUntil(tick);
        now = tick;
    }
    if (now > timeLimit) {
        fprintf(stderr, "headless: stopped at the time limit, ticks=%u frames=%u boxes=%zu\n",
                now, HeadlessFramesPresented(), HeadlessBoxes().size());
        fflush(stderr);
        InstanceShutdown();   // _Exit skips the exit handlers, which would remove the socket file
        _Exit(3);
    }
}

// A recording may jump far (a machine that slept), or anywhere when damaged:
// sound is not replayed, so only the last minute of it is played out.
void HeadlessReplayClock(uint32_t tick)
{
    const uint32_t longestPlay = 60000;
    if ((int32_t)(tick - now) <= 0)
        return;
    if (tick - now > longestPlay)
        now = tick - longestPlay;
    HeadlessAdvanceTo(tick);
}

static int ScriptParseLine(const std::string& line, ScriptEvent* event, std::string* error)
{
    std::istringstream in(line);
    std::string at, command;
    long time = -1;
    if (!(in >> at >> time >> command) || at != "at" || time < 0) {
        *error = "expected \"at T COMMAND\"";
        return 0;
    }
    event->time = (uint32_t)time;
    if (command == "tap") {
        event->kind = ScriptTap;
        if (!(in >> event->a >> event->b) || event->a < 0 || event->a >= 240 || event->b < 0 || event->b >= 320) {
            *error = "tap needs X Y inside 240 x 320";
            return 0;
        }
    } else if (command == "down" || command == "up") {
        event->kind = command == "down" ? ScriptDown : ScriptUp;
        std::string key;
        in >> key;
        event->a = 0;
        for (const ScriptKeyDef& def : scriptKeyTable)
            if (key == def.name)
                event->a = def.virtualKey;
        if (!event->a) {
            *error = "unknown key \"" + key + "\"";
            return 0;
        }
    } else if (command == "shot") {
        event->kind = ScriptShot;
        if (!(in >> event->name) || event->name.find('/') != std::string::npos) {
            *error = "shot needs a NAME without folders";
            return 0;
        }
    } else if (command == "quit") {
        event->kind = ScriptQuit;
    } else if (command == "activate") {
        event->kind = ScriptActivate;
    } else if (command == "deactivate") {
        event->kind = ScriptDeactivate;
    } else if (command == "clickactivate") {
        event->kind = ScriptClickActivate;
    } else if (command == "await-remote") {
        event->kind = ScriptAwaitRemote;
    } else {
        *error = "unknown command \"" + command + "\"";
        return 0;
    }
    std::string rest;
    if (in >> rest) {
        *error = "unexpected \"" + rest + "\"";
        return 0;
    }
    return 1;
}

// Parses text into commands that start no earlier than earliest.
static int ScriptParse(const std::string& text, uint32_t earliest, std::vector<ScriptEvent>* parsed, std::string* error)
{
    std::istringstream in(text);
    std::string line;
    for (int number = 1; std::getline(in, line); number++) {
        size_t hash = line.find('#');
        if (hash != std::string::npos)
            line.erase(hash);
        if (line.find_first_not_of(" \t\r") == std::string::npos)
            continue;
        ScriptEvent event = {};
        std::string why;
        if (!ScriptParseLine(line, &event, &why)) {
            if (error)
                *error = "line " + std::to_string(number) + ": " + why;
            return 0;
        }
        if (event.time < (parsed->empty() ? earliest : parsed->back().time)) {
            if (error)
                *error = "line " + std::to_string(number) + ": times must not go back";
            return 0;
        }
        parsed->push_back(event);
    }
    return 1;
}

int HeadlessScriptLoad(const std::string& text, std::string* error)
{
    std::vector<ScriptEvent> parsed;
    if (!ScriptParse(text, 0, &parsed, error))
        return 0;
    events = parsed;
    nextEvent = 0;
    return 1;
}

int HeadlessScriptAppend(const std::string& text, std::string* error)
{
    uint32_t earliest = events.empty() || events.back().time < now ? now : events.back().time;
    std::vector<ScriptEvent> parsed;
    if (!ScriptParse(text, earliest, &parsed, error))
        return 0;
    events.erase(events.begin(), events.begin() + (long)nextEvent);   // what has happened is not needed again
    nextEvent = 0;
    events.insert(events.end(), parsed.begin(), parsed.end());
    return 1;
}

uint32_t HeadlessScriptEnd()
{
    return events.empty() ? 0 : events.back().time;
}

void HeadlessSetShotFolder(const std::string& folder)
{
    shotFolder = folder;
}

void HeadlessSetTimeLimit(uint32_t tick)
{
    timeLimit = tick;
}

void HeadlessScriptReset()
{
    now = 0;
    timeLimit = 0xFFFFFFFF;
    events.clear();
    nextEvent = 0;
    for (HeldKey& held : heldKeys)
        held = {};
    shotFolder.assign(1, '.');   // assigning a literal here trips a false g++ 12 warning
}

// Backend hooks: waiting means jumping the clock to the next thing that happens.

uint32_t BackendNow()
{
    return now;
}

void BackendPump()
{
    InstanceServeInbox();
}

void BackendWait(uint32_t until, int hasDeadline)
{
    // A replay's clock moves with the recorded reads, and its input comes from the recording.
    if (RecordCurrent() == RecordReplaying)
        return;
    int hasEvent = nextEvent < events.size();
    const HeldKey* repeat = KeyNextRepeat();
    if (!hasDeadline && !hasEvent && !repeat) {
        fprintf(stderr, "headless: the program waits, and nothing is left to happen, ticks=%u\n", now);
        fflush(stderr);
        InstanceShutdown();   // _Exit skips the exit handlers, which would remove the socket file
        _Exit(3);
    }
    uint32_t target = hasDeadline ? until : hasEvent ? events[nextEvent].time : repeat->due;
    if (hasEvent && events[nextEvent].time < target)
        target = events[nextEvent].time;
    if (repeat && repeat->due < target)
        target = repeat->due;
    HeadlessAdvanceTo(target > now ? target : now);
}

void BackendIdle(uint32_t nextDue, int hasDue)
{
    BackendWait(nextDue, hasDue);
}

void BackendWake()
{
}

void BackendWindowCreated(Window*, int)
{
}

void BackendWindowShown(Window*)
{
}

void BackendWindowDestroyed(Window*)
{
}

void BackendWindowRaise(Window* window)
{
    WindowSetForegroundState(window);
}

void BackendInstanceServed(uint32_t request)
{
    if (request == InstanceRequestForeground)
        fprintf(stderr, "headless: asked to come to the front\n");
    else
        fprintf(stderr, "headless: asked to handle message 0x%X\n", (unsigned)InstanceRedrawMessage);
}
