// Windows: classes, creation and destruction, focus, and handles on the running copy's window.
#include "platform/win.h"
#include "platform/backend.h"
#include "platform/internal.h"
#include "platform/record.h"

#include <string>
#include <vector>

static std::vector<WindowClass> classes;
static std::vector<std::wstring> classNames;
// Records live on past exit: a thread may still ask about a window while the
// process ends, so the list is never destroyed.
static std::vector<Window*>& windows = *new std::vector<Window*>();
static Window* foreground;

int WindowRegisterClass(const WindowClass* windowClass)
{
    if (!windowClass || !windowClass->proc || !windowClass->name)
        return 0;
    classes.push_back(*windowClass);
    classNames.emplace_back(windowClass->name);
    return (int)classes.size();
}

Window* WindowCreate(const wchar_t* className, const wchar_t* title, uint32_t,
                     int, int, int, int, void* createParam)
{
    if (!className)
        return nullptr;
    for (size_t i = 0; i < classes.size(); i++) {
        if (classNames[i] != className)
            continue;
        Window* window = new Window();
        window->proc = classes[i].proc;
        window->alive = 1;
        window->className = className;
        window->title = title ? title : L"";
        windows.push_back(window);
        if (!foreground)
            foreground = window;
        BackendWindowCreated(window, classes[i].iconId);
        InstanceListen(window->className, window->title);
        WindowCreateInfo info = { createParam };
        if (window->proc(window, WM_CREATE, 0, (intptr_t)&info) == -1) {
            WindowDestroy(window);
            return nullptr;
        }
        return window;
    }
    return nullptr;
}

intptr_t WindowDefaultProc(Window* window, uint32_t message, uintptr_t, intptr_t)
{
    if (message == WM_CLOSE)
        WindowDestroy(window);
    return 0;
}

void WindowDestroy(Window* window)
{
    if (!window || !window->alive || window->remote)
        return;
    // A copy started from here on finds none running, and runs itself.
    if (window == WindowMain())
        InstanceShutdown();
    window->proc(window, WM_DESTROY, 0, 0);
    TimerKillAll(window);
    window->alive = 0;
    if (foreground == window)
        foreground = nullptr;
    BackendWindowDestroyed(window);
}

int WindowIsAlive(Window* window)
{
    return window && window->alive;
}

void WindowShow(Window* window)
{
    if (WindowIsAlive(window) && !window->remote)
        BackendWindowShown(window);
}

void WindowSetForeground(Window* window)
{
    if (!WindowIsAlive(window))
        return;
    if (window->remote) {
        InstanceSend(window->connection, InstanceRequestForeground);
        return;
    }
    foreground = window;
    BackendWindowRaise(window);
}

void WindowSetForegroundState(Window* window)
{
    foreground = window;
    RecordFocus(window);
}

Window* WindowForeground()
{
    return RecordForeground(foreground);
}

Window* WindowFocus()
{
    return foreground;
}

Window* WindowMain()
{
    for (Window* window : windows)
        if (window->alive && !window->remote)
            return window;
    return nullptr;
}

void WindowSetData(Window* window, void* data)
{
    if (window)
        window->data = data;
}

void* WindowData(Window* window)
{
    return window ? window->data : nullptr;
}

Window* WindowFindRunning(const wchar_t* className, const wchar_t* title)
{
    int connection = InstanceConnect(className ? className : L"", title ? title : L"");
    if (!RecordRunning(connection >= 0)) {
        InstanceDisconnect(connection);
        return nullptr;
    }
    Window* window = new Window();
    window->alive = 1;
    window->remote = 1;
    window->connection = connection;
    windows.push_back(window);
    return window;
}

// Window records outlive their windows, so that a late message or an alive
// test on a destroyed one stays safe; they are freed only here.
void WindowResetAll()
{
    for (Window* window : windows) {
        if (window->remote)
            InstanceDisconnect(window->connection);
        delete window;
    }
    windows.clear();
    classes.clear();
    classNames.clear();
    foreground = nullptr;
}
