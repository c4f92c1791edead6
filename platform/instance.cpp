// Single instance: the first copy listens on a socket file in the user's private runtime folder; a second copy of the same user asks it to come forward and redraw.
#include "platform/backend.h"
#include "platform/internal.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <mutex>
#include <thread>

// A caller has this long to say what it wants, from the moment it is taken in.
static const int callerDeadlineMs = 1000;
// Callers served side by side; one more pushes the oldest out.
static const int callerSlots = 8;
// Both requests are idempotent, so a request already waiting is not queued
// again, and the queue never holds more than one of each.
static const int pendingSlots = 4;

static const uint8_t requestMagic[3] = { 'S', 'S', 1 };

struct Caller {
    int socket;
    std::chrono::steady_clock::time_point deadline;
    InstanceReader reader;
};

static std::mutex inboxLock;
static std::condition_variable inboxSignal;
static uint32_t pending[pendingSlots];
static int pendingCount;
static int callersServed;

// Never destroyed: a process may end while it still listens.
static std::thread& server = *new std::thread();
static int stopPipe[2] = { -1, -1 };
static std::string socketPath;
static dev_t socketDevice;
static ino_t socketInode;

int InstanceRead(InstanceReader* reader, uint8_t byte)
{
    if (reader->requests >= instanceRequestsPerCaller)
        return -1;
    if (reader->used < sizeof requestMagic && byte != requestMagic[reader->used])
        return -1;
    if (++reader->used < 4)
        return 0;
    reader->used = 0;
    if (byte != InstanceRequestForeground && byte != InstanceRequestRedraw)
        return -1;
    reader->requests++;
    return byte;
}

static uid_t User()
{
    return geteuid();
}

// A folder only this user can enter: owned by them, with no rights for others.
static int Private(const std::string& folder)
{
    struct stat info;
    return lstat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == User() &&
           (info.st_mode & 077) == 0;
}

// The user's runtime folder; without one, a private folder of the game's own in /tmp.
static std::string Folder()
{
    const char* runtime = getenv("XDG_RUNTIME_DIR");
    if (runtime && runtime[0] == '/' && Private(runtime))
        return runtime;
    std::string own = "/tmp/space-shooter-" + std::to_string(User());
    if (mkdir(own.c_str(), 0700) != 0 && errno != EEXIST)
        return "";
    return Private(own) ? own : "";
}

// The socket file's address; 0 when this process is alone or the path does not fit.
static socklen_t Address(sockaddr_un* address, const std::wstring& className, const std::wstring& title)
{
    std::string key = BackendInstanceScope();
    if (key.empty())
        return 0;
    for (wchar_t c : className + L"|" + title)
        key += (char)(c & 0x7F);
    std::string folder = Folder();
    char name[64];
    snprintf(name, sizeof name, "/space-shooter.%016zx", std::hash<std::string>()(key));
    std::string path = folder + name;
    memset(address, 0, sizeof *address);
    if (folder.empty() || path.size() >= sizeof address->sun_path)
        return 0;
    address->sun_family = AF_UNIX;
    memcpy(address->sun_path, path.c_str(), path.size());
    return (socklen_t)(offsetof(sockaddr_un, sun_path) + path.size() + 1);
}

static uid_t PeerUser(int socket)
{
    ucred peer = {};
    socklen_t size = sizeof peer;
    if (getsockopt(socket, SOL_SOCKET, SO_PEERCRED, &peer, &size) != 0 || size != sizeof peer)
        return (uid_t)-1;
    return peer.uid;
}

static void Queue(uint32_t request)
{
    {
        std::lock_guard<std::mutex> hold(inboxLock);
        for (int i = 0; i < pendingCount; i++)
            if (pending[i] == request)
                return;
        if (pendingCount == pendingSlots)
            return;
        pending[pendingCount++] = request;
    }
    BackendWake();
}

static void CallerClose(Caller* caller)
{
    if (caller->socket < 0)
        return;
    close(caller->socket);
    caller->socket = -1;
    if (caller->reader.requests) {
        {
            std::lock_guard<std::mutex> hold(inboxLock);
            callersServed++;
        }
        inboxSignal.notify_all();
    }
}

// Takes what has arrived; each request is answered with one byte once queued.
static void CallerRead(Caller* caller)
{
    uint8_t bytes[16];
    ssize_t n = recv(caller->socket, bytes, sizeof bytes, MSG_DONTWAIT);
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR))
        return;
    if (n <= 0) {
        CallerClose(caller);
        return;
    }
    for (ssize_t i = 0; i < n; i++) {
        int request = InstanceRead(&caller->reader, bytes[i]);
        if (request < 0) {
            CallerClose(caller);
            return;
        }
        if (request) {
            Queue((uint32_t)request);
            send(caller->socket, "+", 1, MSG_DONTWAIT | MSG_NOSIGNAL);
        }
    }
    if (caller->reader.requests == instanceRequestsPerCaller)
        CallerClose(caller);
}

// Only this user's processes are taken in, into a free slot or the oldest's.
static void Admit(int listener, Caller* callers)
{
    for (int taken = 0; taken < callerSlots; taken++) {
        int socket = accept4(listener, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (socket < 0)
            return;
        if (PeerUser(socket) != User()) {
            close(socket);
            continue;
        }
        Caller* slot = &callers[0];
        for (int i = 0; i < callerSlots; i++) {
            if (callers[i].socket < 0) {
                slot = &callers[i];
                break;
            }
            if (callers[i].deadline < slot->deadline)
                slot = &callers[i];
        }
        CallerClose(slot);
        *slot = { socket, std::chrono::steady_clock::now() + std::chrono::milliseconds(callerDeadlineMs), {} };
        CallerRead(slot);   // a second copy has usually sent its requests already
    }
}

// One thread serves every caller with poll, so a silent one holds up nobody.
static void Serve(int listener, int stop)
{
    Caller callers[callerSlots];
    for (Caller& caller : callers)
        caller.socket = -1;
    for (;;) {
        pollfd watched[2 + callerSlots];
        Caller* owners[2 + callerSlots] = {};
        int count = 0;
        watched[count++] = { stop, POLLIN, 0 };
        watched[count++] = { listener, POLLIN, 0 };
        auto now = std::chrono::steady_clock::now();
        int timeout = -1;
        for (Caller& caller : callers) {
            if (caller.socket < 0)
                continue;
            int rest = (int)std::chrono::ceil<std::chrono::milliseconds>(caller.deadline - now).count();
            if (rest <= 0) {
                CallerClose(&caller);
                continue;
            }
            timeout = timeout < 0 || rest < timeout ? rest : timeout;
            owners[count] = &caller;
            watched[count++] = { caller.socket, POLLIN, 0 };
        }
        if (poll(watched, (nfds_t)count, timeout) < 0 && errno != EINTR)
            break;
        if (watched[0].revents)
            break;
        for (int i = 2; i < count; i++)
            if (watched[i].revents)
                CallerRead(owners[i]);
        if (watched[1].revents)
            Admit(listener, callers);
    }
    for (Caller& caller : callers)
        CallerClose(&caller);
    close(listener);
}

// A socket file left by a copy that ended without removing it goes, but only
// when it is this user's socket and nothing answers on it.
static int ClearStale(const sockaddr_un& address, socklen_t length)
{
    struct stat info;
    if (lstat(address.sun_path, &info) != 0)
        return errno == ENOENT;
    if (!S_ISSOCK(info.st_mode) || info.st_uid != User())
        return 0;
    int probe = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    int answered = probe >= 0 && connect(probe, (const sockaddr*)&address, length) == 0;
    int refused = !answered && errno == ECONNREFUSED;
    if (probe >= 0)
        close(probe);
    return refused && unlink(address.sun_path) == 0;
}

// The socket file goes only while it is still the one bound here.
static void RemoveSocketFile()
{
    struct stat info;
    if (!socketPath.empty() && lstat(socketPath.c_str(), &info) == 0 && info.st_dev == socketDevice &&
        info.st_ino == socketInode)
        unlink(socketPath.c_str());
    socketPath.clear();
}

void InstanceListen(const std::wstring& className, const std::wstring& title)
{
    if (server.joinable())
        return;
    sockaddr_un address;
    socklen_t length = Address(&address, className, title);
    if (!length || !ClearStale(address, length))
        return;
    int s = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (s < 0)
        return;
    struct stat info;
    if (bind(s, (sockaddr*)&address, length) != 0 || listen(s, 16) != 0 || lstat(address.sun_path, &info) != 0 ||
        pipe2(stopPipe, O_CLOEXEC) != 0) {
        close(s);
        return;
    }
    socketPath = address.sun_path;
    socketDevice = info.st_dev;
    socketInode = info.st_ino;
    server = std::thread(Serve, s, stopPipe[0]);
    // A process that ends while listening (a test, a window never closed) leaves no file behind.
    static int atEnd = atexit(RemoveSocketFile);
    (void)atEnd;
}

int InstanceConnect(const std::wstring& className, const std::wstring& title)
{
    sockaddr_un address;
    socklen_t length = Address(&address, className, title);
    if (!length)
        return -1;
    int s = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (s < 0)
        return -1;
    if (connect(s, (sockaddr*)&address, length) != 0 || PeerUser(s) != User()) {
        close(s);
        return -1;
    }
    return s;
}

int InstanceSend(int connection, uint32_t request)
{
    uint8_t bytes[4] = { requestMagic[0], requestMagic[1], requestMagic[2], (uint8_t)request };
    // The running copy may have gone meanwhile: that is a failed request, not a signal that ends this copy.
    return send(connection, bytes, sizeof bytes, MSG_NOSIGNAL) == (ssize_t)sizeof bytes;
}

void InstanceDisconnect(int connection)
{
    if (connection >= 0)
        close(connection);
}

void InstanceServeInbox()
{
    uint32_t taken[pendingSlots];
    int count;
    {
        std::lock_guard<std::mutex> hold(inboxLock);
        count = pendingCount;
        memcpy(taken, pending, sizeof taken);
        pendingCount = 0;
    }
    Window* window = WindowMain();
    for (int i = 0; window && i < count; i++) {
        BackendInstanceServed(taken[i]);
        if (taken[i] == InstanceRequestForeground)
            WindowSetForeground(window);
        else
            MessagePost(window, InstanceRedrawMessage, 0, 0);
    }
}

int InstanceAwaitCaller(uint32_t timeoutMs)
{
    std::unique_lock<std::mutex> hold(inboxLock);
    int came = inboxSignal.wait_for(hold, std::chrono::milliseconds(timeoutMs), [] { return callersServed != 0; });
    callersServed = 0;
    return came;
}

void InstanceShutdown()
{
    if (server.joinable()) {
        ssize_t written = write(stopPipe[1], "x", 1);   // an empty pipe always takes a byte
        (void)written;
        server.join();
        close(stopPipe[0]);
        close(stopPipe[1]);
        stopPipe[0] = stopPipe[1] = -1;
        RemoveSocketFile();
    }
    std::lock_guard<std::mutex> hold(inboxLock);
    pendingCount = 0;
    callersServed = 0;
}
