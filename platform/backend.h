// What the shared window, message and instance code asks of a backend (SDL or headless).
#pragma once
#include <cstdint>
#include <string>

struct Window;

// The tick count: real milliseconds for SDL, the virtual clock for headless.
uint32_t BackendNow();

// Collects whatever input has arrived as posted messages.
void BackendPump();

// The queue is empty: waits until tick `until` (forever when hasDeadline is 0)
// or until something is posted. Headless jumps its clock instead of waiting.
void BackendWait(uint32_t until, int hasDeadline);

// A peek found nothing waiting; nextDue is the next timer tick when hasDue.
void BackendIdle(uint32_t nextDue, int hasDue);

// Another thread has posted a message: wakes a BackendWait.
void BackendWake();

// Window life: the backend binds its screen to the first window created.
void BackendWindowCreated(Window* window, int iconId);
void BackendWindowShown(Window* window);
void BackendWindowDestroyed(Window* window);
void BackendWindowRaise(Window* window);

// Names the single-instance namespace: per user, and for headless runs also
// per working folder, so that parallel tests never see each other. Empty:
// this process is alone and neither listens nor looks for a running copy.
std::string BackendInstanceScope();

// Shared state kept by window.cpp for the backends.
void WindowSetForegroundState(Window* window);   // focus changes seen by the backend
Window* WindowMain();                           // the first live window, or null

// Single instance (instance.cpp). The first copy listens on a socket file in
// the user's private runtime folder and takes only two requests, from the
// same user: come forward, and redraw. No message or pointer ever crosses.
enum : uint32_t { InstanceRequestForeground = 1, InstanceRequestRedraw = 2 };

// WindowCreate, for the first window: starts listening.
void InstanceListen(const std::wstring& className, const std::wstring& title);
// WindowFindRunning: a connection to the running copy, or -1.
int InstanceConnect(const std::wstring& className, const std::wstring& title);
// A second copy's window calls: sends one request; 0 when it could not.
int InstanceSend(int connection, uint32_t request);
void InstanceDisconnect(int connection);
// The backend's pump: hands the pending requests to the main window.
void InstanceServeInbox();
// The headless await-remote command: waits in real time until a caller that
// made a request has gone; 0 after timeoutMs without one.
int InstanceAwaitCaller(uint32_t timeoutMs);
// A request was handed on (the headless backend reports it).
void BackendInstanceServed(uint32_t request);
// Stops listening and removes the socket file: when the main window goes, and between tests.
void InstanceShutdown();

// The request reader, fed a connection's bytes one at a time. Each request
// is four bytes, "SS", 1 and its number; a connection carries at most
// instanceRequestsPerCaller of them. Returns the request a byte completes, 0
// while more is needed, and -1 when the connection must close: a bad byte,
// an unknown request, or a byte after the last request allowed.
struct InstanceReader {
    uint32_t used;       // bytes of the request under way
    uint32_t requests;   // requests completed
};
constexpr uint32_t instanceRequestsPerCaller = 2;
int InstanceRead(InstanceReader* reader, uint8_t byte);

// Replaces the program file name that SysModuleFileName reports (headless tests).
void SysSetModuleFileName(const wchar_t* path);
