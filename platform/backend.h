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
// per working folder, so that parallel tests never see each other.
std::string BackendInstanceScope();

// Shared state kept by window.cpp for the backends.
void WindowSetForegroundState(Window* window);   // focus changes seen by the backend
Window* WindowMain();                           // the first live window, or null

// Single-instance plumbing (instance.cpp).
void InstanceListen(const std::wstring& className, const std::wstring& title);
int InstanceConnect(const std::wstring& className, const std::wstring& title);
int InstanceSend(int connection, uint32_t kind, uint32_t message, uintptr_t wParam, intptr_t lParam);
void InstanceDisconnect(int connection);
void InstanceServeInbox();                       // hands what the other copy asked for to the main window
int InstanceAwaitCaller(uint32_t timeoutMs);     // waits in real time until a caller has come and gone
void BackendInstanceServed(uint32_t kind, uint32_t message);   // a request was handed on
void InstanceShutdown();                        // closes the listener (tests)

enum : uint32_t { InstanceRequestForeground = 1, InstanceRequestPost = 2 };

// Replaces the program file name that SysModuleFileName reports (headless tests).
void SysSetModuleFileName(const wchar_t* path);
