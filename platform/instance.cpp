// Single instance: the first copy listens on a per-user local socket; a second copy connects and asks it to come forward.
#include "platform/backend.h"
#include "platform/internal.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

struct InstanceRequest {
    uint32_t kind;
    uint32_t message;
    uint64_t wParam;
    int64_t lParam;
};

static int listener = -1;
static std::mutex inboxLock;
static std::condition_variable inboxSignal;
static std::deque<InstanceRequest> inbox;
static int callersServed;

// An abstract socket name: nothing on disk, gone when the process ends.
static socklen_t InstanceAddress(sockaddr_un* address, const std::wstring& className, const std::wstring& title)
{
    std::string key = BackendInstanceScope();
    for (wchar_t c : className + L"|" + title)
        key += (char)(c & 0x7F);
    char name[96];
    snprintf(name, sizeof name, "space-shooter.%016zx", std::hash<std::string>()(key));
    memset(address, 0, sizeof *address);
    address->sun_family = AF_UNIX;
    memcpy(address->sun_path + 1, name, strlen(name));
    return (socklen_t)(offsetof(sockaddr_un, sun_path) + 1 + strlen(name));
}

static void InstanceServe(int socket)
{
    for (;;) {
        int connection = accept(socket, nullptr, nullptr);
        if (connection < 0)
            return;
        InstanceRequest request;
        while (read(connection, &request, sizeof request) == (ssize_t)sizeof request) {
            {
                std::lock_guard<std::mutex> hold(inboxLock);
                inbox.push_back(request);
            }
            inboxSignal.notify_all();
            BackendWake();
        }
        close(connection);
        {
            std::lock_guard<std::mutex> hold(inboxLock);
            callersServed++;
        }
        inboxSignal.notify_all();
    }
}

void InstanceListen(const std::wstring& className, const std::wstring& title)
{
    if (listener >= 0)
        return;
    int s = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (s < 0)
        return;
    sockaddr_un address;
    socklen_t length = InstanceAddress(&address, className, title);
    if (bind(s, (sockaddr*)&address, length) != 0 || listen(s, 4) != 0) {
        close(s);
        return;
    }
    listener = s;
    std::thread(InstanceServe, s).detach();
}

int InstanceConnect(const std::wstring& className, const std::wstring& title)
{
    int s = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (s < 0)
        return -1;
    sockaddr_un address;
    socklen_t length = InstanceAddress(&address, className, title);
    if (connect(s, (sockaddr*)&address, length) != 0) {
        close(s);
        return -1;
    }
    return s;
}

int InstanceSend(int connection, uint32_t kind, uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    InstanceRequest request = { kind, message, wParam, lParam };
    // The running copy may have gone meanwhile: that is a failed post, not a signal that ends this copy.
    return send(connection, &request, sizeof request, MSG_NOSIGNAL) == (ssize_t)sizeof request;
}

void InstanceDisconnect(int connection)
{
    if (connection >= 0)
        close(connection);
}

void InstanceServeInbox()
{
    for (;;) {
        InstanceRequest request;
        {
            std::lock_guard<std::mutex> hold(inboxLock);
            if (inbox.empty())
                return;
            request = inbox.front();
            inbox.pop_front();
        }
        Window* window = WindowMain();
        if (!window)
            continue;
        BackendInstanceServed(request.kind, request.message);
        if (request.kind == InstanceRequestForeground)
            WindowSetForeground(window);
        else if (request.kind == InstanceRequestPost)
            MessagePost(window, request.message, (uintptr_t)request.wParam, (intptr_t)request.lParam);
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
    if (listener >= 0) {
        shutdown(listener, SHUT_RDWR);
        close(listener);
        listener = -1;
    }
    std::lock_guard<std::mutex> hold(inboxLock);
    inbox.clear();
}
