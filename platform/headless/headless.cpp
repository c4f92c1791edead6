// Headless resets and settings that span its modules.
#include "platform/backend.h"
#include "platform/headless.h"
#include "platform/headless/headless_internal.h"
#include "platform/internal.h"

#include <unistd.h>

static std::string instanceScope;

void HeadlessReset()
{
    InstanceShutdown();
    WindowResetAll();
    MessageResetAll();
    HeadlessScriptReset();
    HeadlessDisplayReset();
    HeadlessBoxesReset();
    SysSetModuleFileName(nullptr);
}

void HeadlessSetModuleFileName(const wchar_t* path)
{
    SysSetModuleFileName(path);
}

void HeadlessSetForeground(Window* window)
{
    WindowSetForegroundState(window);
}

void HeadlessSetInstanceScope(const std::string& scope)
{
    instanceScope = scope;
}

std::string BackendInstanceScope()
{
    if (!instanceScope.empty())
        return "headless:" + std::to_string(getuid()) + ":" + instanceScope;
    char folder[1024];
    if (!getcwd(folder, sizeof folder))
        folder[0] = 0;
    return "headless:" + std::to_string(getuid()) + ":" + folder;
}
