// The running copy found through the real window list: FindWindow, SetForegroundWindow and PostMessage.
#include "platform/backend.h"
#include "platform/win.h"

#include <windows.h>

#include <vector>

// A handle on the running copy's window is its slot here.
static std::vector<HWND> found;

// The window itself is what a second copy finds, so there is nothing to open.
void InstanceListen(const std::wstring&, const std::wstring&)
{
}

int InstanceConnect(const std::wstring& className, const std::wstring& title)
{
    HWND window = FindWindowW(className.c_str(), title.empty() ? nullptr : title.c_str());
    // For a few seconds the title may carry a message after the name.
    if (!window)
        window = FindWindowW(className.c_str(), nullptr);
    if (!window)
        return -1;
    found.push_back(window);
    return (int)found.size() - 1;
}

int InstanceSend(int connection, uint32_t request)
{
    if (connection < 0 || (size_t)connection >= found.size() || !IsWindow(found[(size_t)connection]))
        return 0;
    HWND window = found[(size_t)connection];
    if (request == InstanceRequestForeground) {
        // A minimised copy comes back first, or it would be raised as an icon.
        if (IsIconic(window))
            ShowWindow(window, SW_RESTORE);
        return SetForegroundWindow(window) != 0;
    }
    return request == InstanceRequestRedraw && PostMessageW(window, InstanceRedrawMessage, 0, 0) != 0;
}

void InstanceDisconnect(int)
{
}

// Another copy's requests arrive as real window messages, handled by the window.
void InstanceServeInbox()
{
}

int InstanceAwaitCaller(uint32_t)
{
    return 0;
}

void InstanceShutdown()
{
    found.clear();
}
