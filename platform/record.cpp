// Recording and replaying a session: a buffered writer of the program's answers, and a checked reader that feeds them back.
#include "platform/record.h"
#include "platform/backend.h"
#include "platform/internal.h"

#include <atomic>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <thread>
#include <vector>

// One byte says what an entry is. Clock reads that moved less than 64 ms
// since the last one are that byte alone: they are most of a recording.
enum : uint8_t {
    KindClockShort = 0x00,   // up to 0x3F: the milliseconds since the last read
    KindClock = 0x40,
    KindKey = 0x41,
    KindForeground = 0x42,
    KindBox = 0x43,
    KindDisplay = 0x44,
    KindRunning = 0x45,
    KindTake = 0x46,
    KindFrame = 0x47,
    KindPost = 0x48,
    KindFocus = 0x49,
    KindEnd = 0x7F,
};

static const char recordMagic[8] = { 'S', 'S', 'R', 'E', 'C', 0x1A, 1, 0 };
static const size_t trailerSize = 1 + 4 + 8;
static const size_t largestScoreFile = 1 << 20;

struct Entry {
    uint8_t kind;
    uint64_t a;
    uint64_t b;
    uint64_t c;
    uint64_t d;
    int64_t s;
    int64_t t;
};

// Read by every thread that posts; set only by the one that records.
static std::atomic<RecordState> state = RecordOff;
static std::thread::id owner;
static uint32_t frames;
static uint32_t lastClock;
static uint32_t pumpCount;
static int pumpDepth;
static int externalDepth;
static uint32_t lastEventPump;   // the pump of the previous message from outside

static FILE* out;
static std::string outPath;
static uint8_t outBuffer[1 << 16];
static size_t outUsed;
static uint64_t outSum;
static int outFailed;

static std::vector<uint8_t> in;
static size_t inAt;
static size_t inEnd;
static uint32_t inFrames;
static uint32_t inFormat;

static void DefaultFail(const char* message)
{
    fprintf(stderr, "%s\n", message);
    fflush(stderr);
    InstanceShutdown();   // _Exit skips the exit handlers, which would remove the socket file
    _Exit(4);
}

static void (*failHandler)(const char*) = DefaultFail;
static void (*clockSink)(uint32_t);

static const uint64_t fnvOffset = 14695981039346656037ull;
static const uint64_t fnvPrime = 1099511628211ull;

uint64_t RecordChecksum(const uint8_t* data, size_t size)
{
    uint64_t hash = fnvOffset;
    for (size_t i = 0; i < size; i++)
        hash = (hash ^ data[i]) * fnvPrime;
    return hash;
}

uint64_t RecordHash(const uint16_t* pixels)
{
    uint64_t hash = fnvOffset;
    for (int i = 0; i < 240 * 320; i++) {
        hash = (hash ^ (pixels[i] & 0xFF)) * fnvPrime;
        hash = (hash ^ (pixels[i] >> 8)) * fnvPrime;
    }
    return hash;
}

RecordState RecordCurrent()
{
    return state;
}

uint32_t RecordFrames()
{
    return frames;
}

void RecordSetFailHandler(void (*handler)(const char*))
{
    failHandler = handler ? handler : DefaultFail;
}

void RecordSetClockSink(void (*sink)(uint32_t))
{
    clockSink = sink;
}

static int Active(RecordState wanted)
{
    return state == wanted && std::this_thread::get_id() == owner;
}

static void ResetCounters()
{
    owner = std::this_thread::get_id();
    frames = 0;
    lastClock = 0;
    pumpCount = 0;
    pumpDepth = 0;
    externalDepth = 0;
    lastEventPump = 0;
}

// Writing

static void Flush()
{
    if (outUsed && !outFailed && fwrite(outBuffer, 1, outUsed, out) != outUsed) {
        outFailed = 1;
        fprintf(stderr, "record: cannot write %s; the recording stops here\n", outPath.c_str());
        state = RecordOff;
    }
    outUsed = 0;
}

static void PutByte(uint8_t value)
{
    if (outUsed == sizeof outBuffer)
        Flush();
    outBuffer[outUsed++] = value;
    outSum = (outSum ^ value) * fnvPrime;
}

static void PutVarint(uint64_t value)
{
    while (value >= 0x80) {
        PutByte((uint8_t)(value | 0x80));
        value >>= 7;
    }
    PutByte((uint8_t)value);
}

static void PutSigned(int64_t value)
{
    PutVarint(((uint64_t)value << 1) ^ (uint64_t)(value >> 63));
}

static void PutFixed(uint64_t value, int bytes)
{
    for (int i = 0; i < bytes; i++)
        PutByte((uint8_t)(value >> (8 * i)));
}

static int ReadWhole(const std::string& path, std::vector<uint8_t>* data, size_t limit)
{
    FILE* file = fopen(path.c_str(), "rb");
    if (!file)
        return 0;
    data->clear();
    uint8_t chunk[4096];
    size_t n;
    while ((n = fread(chunk, 1, sizeof chunk, file)) > 0 && data->size() <= limit)
        data->insert(data->end(), chunk, chunk + n);
    int ok = !ferror(file) && data->size() <= limit;
    fclose(file);
    return ok ? 1 : -1;
}

int RecordStart(const std::string& path, uint32_t ffFormat, std::string* error)
{
    if (out || state != RecordOff) {
        *error = "a recording or replay is already under way";
        return 0;
    }
    std::vector<uint8_t> scores;
    int hasScores = ReadWhole(recordScoreFile, &scores, largestScoreFile);
    if (hasScores < 0) {
        *error = std::string("cannot read ") + recordScoreFile;
        return 0;
    }
    out = fopen(path.c_str(), "wb");
    if (!out) {
        *error = "cannot write " + path;
        return 0;
    }
    outPath = path;
    outUsed = 0;
    outSum = fnvOffset;
    outFailed = 0;
    ResetCounters();
    state = RecordWriting;
    for (char c : recordMagic)
        PutByte((uint8_t)c);
    PutFixed(ffFormat, 4);
    PutByte((uint8_t)(hasScores == 1));
    PutVarint(hasScores == 1 ? scores.size() : 0);
    for (uint8_t b : scores)
        PutByte(b);
    return 1;
}

int RecordFinish(std::string* error)
{
    if (!out) {
        *error = "nothing is being recorded";
        return 0;
    }
    state = RecordWriting;   // a failed write turned it off; the trailer still tells
    PutByte(KindEnd);
    PutFixed(frames, 4);
    uint64_t sum = outSum;
    PutFixed(sum, 8);
    Flush();
    state = RecordOff;
    int ok = !outFailed;
    if (fclose(out) != 0)
        ok = 0;
    out = nullptr;
    if (!ok)
        *error = "cannot write " + outPath;
    return ok;
}

void RecordReset()
{
    state = RecordOff;
    if (out)
        fclose(out);
    out = nullptr;
    in.clear();
    inAt = inEnd = 0;
    clockSink = nullptr;
    failHandler = DefaultFail;
}

// Reading

static int GetByte(uint8_t* value)
{
    if (inAt >= inEnd)
        return 0;
    *value = in[inAt++];
    return 1;
}

static int GetVarint(uint64_t* value)
{
    *value = 0;
    for (int shift = 0; shift < 64; shift += 7) {
        uint8_t b;
        if (!GetByte(&b))
            return 0;
        *value |= (uint64_t)(b & 0x7F) << shift;
        if (!(b & 0x80))
            return shift < 63 || b <= 1;
    }
    return 0;
}

static int GetSigned(int64_t* value)
{
    uint64_t raw;
    if (!GetVarint(&raw))
        return 0;
    *value = (int64_t)(raw >> 1) ^ -(int64_t)(raw & 1);
    return 1;
}

static int GetFixed(uint64_t* value, int bytes)
{
    *value = 0;
    for (int i = 0; i < bytes; i++) {
        uint8_t b;
        if (!GetByte(&b))
            return 0;
        *value |= (uint64_t)b << (8 * i);
    }
    return 1;
}

// Decodes the entry at the read position. Clock entries come out as
// KindClock with the absolute tick in a.
static int GetEntry(Entry* entry)
{
    *entry = {};
    uint8_t kind;
    if (!GetByte(&kind))
        return 0;
    entry->kind = kind;
    switch (kind) {
    case KindClock:
        return GetSigned(&entry->s) && (entry->a = (uint32_t)(lastClock + entry->s), 1);
    case KindKey:
    case KindForeground:
    case KindDisplay:
    case KindRunning:
        return GetVarint(&entry->a) && (kind != KindKey || GetVarint(&entry->b));
    case KindBox:
        return GetVarint(&entry->a) && GetFixed(&entry->b, 4);
    case KindTake:
        return GetVarint(&entry->a) && GetVarint(&entry->b) && GetVarint(&entry->c);
    case KindFrame:
        return GetFixed(&entry->a, 8) && GetSigned(&entry->s);
    case KindPost:
        return GetVarint(&entry->a) && GetSigned(&entry->s) && GetVarint(&entry->b) && GetVarint(&entry->c) &&
               entry->c <= 0xFFFFFFFF && GetVarint(&entry->d) && GetSigned(&entry->t);
    case KindFocus:
        return GetVarint(&entry->a) && GetSigned(&entry->s) && GetVarint(&entry->b);
    default:
        if (kind < KindClock) {
            entry->kind = KindClock;
            entry->a = (uint32_t)(lastClock + kind);
            return 1;
        }
        return 0;
    }
}

static const char* Describe(uint8_t kind)
{
    switch (kind) {
    case KindClock: return "a clock read";
    case KindKey: return "a key state";
    case KindForeground: return "the window in front";
    case KindBox: return "a message box's answer";
    case KindDisplay: return "the display's opening";
    case KindRunning: return "the look for a running copy";
    case KindTake: return "the next message";
    case KindFrame: return "a frame";
    case KindPost: return "a message from outside";
    case KindFocus: return "a focus change";
    default: return "an unknown entry";
    }
}

static void Fail(const char* format, ...)
{
    char text[512];
    int n = snprintf(text, sizeof text, "replay: after frame %u: ", frames);
    va_list args;
    va_start(args, format);
    vsnprintf(text + n, sizeof text - (size_t)n, format, args);
    va_end(args);
    state = RecordOff;
    failHandler(text);
}

// The next entry, which must be of the kind the program asks for.
static int Expect(uint8_t kind, Entry* entry)
{
    if (inAt >= inEnd) {
        Fail("the recording ends, and the program asks for %s", Describe(kind));
        return 0;
    }
    size_t at = inAt;
    if (!GetEntry(entry)) {
        Fail("the recording is damaged at byte %zu", at);
        return 0;
    }
    if (entry->kind != kind) {
        Fail("out of step: the program asks for %s, the recording holds %s", Describe(kind), Describe(entry->kind));
        return 0;
    }
    return 1;
}

int ReplayStart(const std::string& path, std::string* error)
{
    if (out || state != RecordOff) {
        *error = "a recording or replay is already under way";
        return 0;
    }
    std::vector<uint8_t> data;
    int read = ReadWhole(path, &data, (size_t)1 << 30);
    if (read == 0) {
        *error = "cannot read " + path;
        return 0;
    }
    if (read < 0) {
        *error = path + " is too large to be a recording";
        return 0;
    }
    if (data.size() < sizeof recordMagic || memcmp(data.data(), recordMagic, 6) != 0) {
        *error = path + " is not a recording";
        return 0;
    }
    if (memcmp(data.data(), recordMagic, sizeof recordMagic) != 0) {
        *error = path + " was made by another version of the recorder";
        return 0;
    }
    size_t headerLeast = sizeof recordMagic + 4 + 1 + 1;
    if (data.size() < headerLeast + trailerSize || data[data.size() - trailerSize] != KindEnd) {
        *error = path + " is truncated: it has no end mark";
        return 0;
    }
    uint64_t stored = 0;
    for (int i = 0; i < 8; i++)
        stored |= (uint64_t)data[data.size() - 8 + (size_t)i] << (8 * i);
    if (RecordChecksum(data.data(), data.size() - 8) != stored) {
        *error = path + " is damaged: its checksum does not match";
        return 0;
    }

    in.swap(data);
    inEnd = in.size() - trailerSize;
    inAt = sizeof recordMagic;
    uint64_t format = 0, hasScores = 0, scoreSize = 0;
    uint8_t flag = 0;
    int ok = GetFixed(&format, 4) && GetByte(&flag) && GetVarint(&scoreSize) &&
             scoreSize <= largestScoreFile && scoreSize <= inEnd - inAt && flag <= 1 && (flag || !scoreSize);
    hasScores = flag;
    if (!ok) {
        *error = path + " is damaged: its header does not hold together";
        in.clear();
        return 0;
    }
    std::vector<uint8_t> scores(in.begin() + (long)inAt, in.begin() + (long)(inAt + scoreSize));
    inAt += scoreSize;
    inFormat = (uint32_t)format;
    inFrames = (uint32_t)(in[inEnd + 1] | in[inEnd + 2] << 8 | in[inEnd + 3] << 16 | (uint32_t)in[inEnd + 4] << 24);

    // The game's high scores live in the working folder. A replay starts
    // from the recorded table, and never overwrites someone's own.
    std::vector<uint8_t> present;
    int here = ReadWhole(recordScoreFile, &present, largestScoreFile);
    if (here != 0 && (!hasScores || here < 0 || present != scores)) {
        *error = std::string("this folder's ") + recordScoreFile +
                 " is not the one the recording started with; replay in an empty folder";
        in.clear();
        return 0;
    }
    if (here == 0 && hasScores) {
        FILE* file = fopen(recordScoreFile, "wb");
        int written = file && fwrite(scores.data(), 1, scores.size(), file) == scores.size();
        if (file && fclose(file) != 0)
            written = 0;
        if (!written) {
            *error = std::string("cannot write ") + recordScoreFile;
            in.clear();
            return 0;
        }
    }
    ResetCounters();
    state = RecordReplaying;
    return 1;
}

uint32_t ReplayFormat()
{
    return inFormat;
}

int ReplayFinish(std::string* error)
{
    if (state != RecordReplaying) {
        *error = "the replay stopped early";
        return 0;
    }
    state = RecordOff;
    if (inAt < inEnd) {
        char text[160];
        snprintf(text, sizeof text, "replay: the program ended after frame %u, and the recording goes on", frames);
        *error = text;
        return 0;
    }
    if (frames != inFrames) {
        char text[160];
        snprintf(text, sizeof text, "replay: the program presented %u frames, the recording %u", frames, inFrames);
        *error = text;
        return 0;
    }
    return 1;
}

// The hooks

uint32_t RecordClock(uint32_t live)
{
    if (Active(RecordWriting)) {
        uint32_t delta = live - lastClock;
        if (delta < KindClock) {
            PutByte((uint8_t)delta);
        } else {
            PutByte(KindClock);
            PutSigned((int32_t)delta);
        }
        lastClock = live;
    } else if (Active(RecordReplaying)) {
        Entry entry;
        if (!Expect(KindClock, &entry))
            return live;
        lastClock = (uint32_t)entry.a;
        if (clockSink)
            clockSink(lastClock);
        return lastClock;
    }
    return live;
}

int16_t RecordKey(int virtualKey, int16_t live)
{
    if (Active(RecordWriting)) {
        PutByte(KindKey);
        PutVarint((uint32_t)virtualKey & 0xFFFF);
        PutVarint(live < 0);
    } else if (Active(RecordReplaying)) {
        Entry entry;
        if (!Expect(KindKey, &entry))
            return live;
        if (entry.a != ((uint32_t)virtualKey & 0xFFFF)) {
            Fail("out of step: the program polls key %d, the recording holds key %llu", virtualKey,
                 (unsigned long long)entry.a);
            return live;
        }
        return entry.b ? (int16_t)0x8000 : 0;
    }
    return live;
}

static uint32_t WindowCode(Window* window)
{
    return !window ? 0 : window == WindowMain() ? 1 : 2;
}

Window* RecordForeground(Window* live)
{
    if (Active(RecordWriting)) {
        PutByte(KindForeground);
        PutVarint(WindowCode(live));
    } else if (Active(RecordReplaying)) {
        Entry entry;
        if (!Expect(KindForeground, &entry))
            return live;
        if (entry.a == 0)
            return nullptr;
        if (entry.a == 1)
            return WindowMain();
        if (WindowCode(live) != 2)
            Fail("out of step: another window was in front");
    }
    return live;
}

int RecordBox(const char* caption, const char* text, int live)
{
    std::string line = std::string(caption ? caption : "") + ": " + (text ? text : "");
    uint32_t sum = (uint32_t)RecordChecksum((const uint8_t*)line.data(), line.size());
    if (Active(RecordWriting)) {
        PutByte(KindBox);
        PutVarint((uint32_t)live);
        PutFixed(sum, 4);
    } else if (Active(RecordReplaying)) {
        Entry entry;
        if (!Expect(KindBox, &entry))
            return live;
        if (entry.b != sum) {
            Fail("out of step: the box \"%s\" is not the one recorded", line.c_str());
            return live;
        }
        return (int)(uint32_t)entry.a;
    }
    return live;
}

static int RecordFlag(uint8_t kind, int live)
{
    if (Active(RecordWriting)) {
        PutByte(kind);
        PutVarint(live != 0);
    } else if (Active(RecordReplaying)) {
        Entry entry;
        if (!Expect(kind, &entry))
            return live;
        return entry.a != 0;
    }
    return live;
}

int RecordDisplay(int live)
{
    return RecordFlag(KindDisplay, live);
}

int RecordRunning(int live)
{
    int recorded = RecordFlag(KindRunning, live);
    // A running copy is another process: a replay can only find it or not.
    if (recorded != live && RecordCurrent() == RecordReplaying)
        Fail("out of step: a running copy was %s when recorded", recorded ? "found" : "not found");
    return live;
}

void RecordTake(const Message* message, uint32_t dropped)
{
    if (Active(RecordWriting)) {
        PutByte(KindTake);
        PutVarint(message->message);
        PutVarint(message->wParam);
        PutVarint(dropped);
    } else if (Active(RecordReplaying)) {
        Entry entry;
        if (!Expect(KindTake, &entry))
            return;
        if (entry.a != message->message || entry.b != message->wParam || entry.c != dropped)
            Fail("out of step: the program takes message 0x%X (%llu, %u ticks dropped), the recording 0x%llX "
                 "(%llu, %llu dropped)",
                 message->message, (unsigned long long)message->wParam, dropped, (unsigned long long)entry.a,
                 (unsigned long long)entry.b, (unsigned long long)entry.c);
    }
}

void RecordFrame(const uint16_t* pixels)
{
    if (Active(RecordWriting)) {
        frames++;
        PutByte(KindFrame);
        PutFixed(RecordHash(pixels), 8);
        PutSigned((int32_t)(BackendNow() - lastClock));
    } else if (Active(RecordReplaying)) {
        frames++;
        Entry entry;
        if (!Expect(KindFrame, &entry))
            return;
        // The program may show a frame some time after its last clock read:
        // the clock moves to where the frame was shown.
        if (clockSink)
            clockSink((uint32_t)(lastClock + entry.s));
        uint64_t hash = RecordHash(pixels);
        if (hash != entry.a) {
            frames--;
            Fail("frame %u differs from the recording: %016llx, recorded %016llx", frames + 1,
                 (unsigned long long)hash, (unsigned long long)entry.a);
        }
    }
}

// Queues the recorded messages from outside that came in at this pump.
static void Inject()
{
    while (inAt < inEnd && (in[inAt] == KindPost || in[inAt] == KindFocus)) {
        size_t at = inAt;
        Entry entry;
        if (!GetEntry(&entry)) {
            Fail("the recording is damaged at byte %zu", at);
            return;
        }
        uint64_t pump = lastEventPump + entry.a;
        if (pump > pumpCount) {
            inAt = at;
            return;
        }
        if (pump < pumpCount) {
            Fail("out of step: %s came in at an earlier pump", Describe(entry.kind));
            return;
        }
        lastEventPump = (uint32_t)pump;
        if (clockSink)
            clockSink((uint32_t)(lastClock + entry.s));
        if (entry.b > 1) {
            Fail("%s names a window the replay does not have", Describe(entry.kind));
            return;
        }
        // Messages that carry pointers come only from the program's own threads.
        if (entry.kind == KindPost && !MessageFromOutside((uint32_t)entry.c, (uintptr_t)entry.d, (intptr_t)entry.t)) {
            Fail("the recording is damaged at byte %zu: message 0x%llX cannot come from outside", at,
                 (unsigned long long)entry.c);
            return;
        }
        Window* target = entry.b ? WindowMain() : nullptr;
        if (entry.kind == KindFocus)
            WindowSetForegroundState(target);
        else
            MessagePost(target, (uint32_t)entry.c, (uintptr_t)entry.d, (intptr_t)entry.t);
    }
}

void RecordPumpBegin()
{
    if (state == RecordOff || std::this_thread::get_id() != owner)
        return;
    externalDepth++;
    if (pumpDepth++ == 0) {
        pumpCount++;
        if (state == RecordReplaying)
            Inject();
    }
}

void RecordPumpEnd()
{
    if (state == RecordOff || std::this_thread::get_id() != owner || pumpDepth == 0)
        return;
    externalDepth--;
    pumpDepth--;
}

void RecordExternalBegin()
{
    if (state != RecordOff && std::this_thread::get_id() == owner)
        externalDepth++;
}

void RecordExternalEnd()
{
    if (state != RecordOff && std::this_thread::get_id() == owner && externalDepth > 0)
        externalDepth--;
}

// Input applied inside a pump comes in at that pump; input applied between
// pumps (the headless script while the clock jumps) comes in at the next one.
static void PutEventHead(uint8_t kind, uint32_t tick)
{
    uint32_t pump = pumpDepth ? pumpCount : pumpCount + 1;
    PutByte(kind);
    PutVarint(pump - lastEventPump);
    PutSigned((int32_t)(tick - lastClock));
    lastEventPump = pump;
}

void RecordPost(Window* window, uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    if (!Active(RecordWriting) || externalDepth == 0)
        return;
    PutEventHead(KindPost, BackendNow());
    PutVarint(WindowCode(window));
    PutVarint(message);
    PutVarint(wParam);
    PutSigned(lParam);
}

void RecordFocus(Window* window)
{
    if (!Active(RecordWriting) || externalDepth == 0)
        return;
    PutEventHead(KindFocus, BackendNow());
    PutVarint(WindowCode(window));
}
