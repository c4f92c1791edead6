// Headless resets and settings that span its modules.
#include "platform/backend.h"
#include "platform/headless.h"
#include "platform/headless/headless_internal.h"
#include "platform/internal.h"
#include "platform/record.h"

#include <unistd.h>

static std::string instanceScope;

void HeadlessReset()
{
    RecordReset();
    InstanceShutdown();
    WindowResetAll();
    MessageResetAll();
    HeadlessScriptReset();
    HeadlessDisplayReset();
    HeadlessBoxesReset();
    SysSetModuleFileName(nullptr);
    // In-process tests run side by side in one folder: each process is alone,
    // with no channel. The runner widens this to its working folder.
    instanceScope.clear();
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

std::string HeadlessWorkingFolder()
{
    char folder[1024];
    if (!getcwd(folder, sizeof folder))
        folder[0] = 0;
    return folder;
}

std::string BackendInstanceScope()
{
    return instanceScope.empty() ? "" : "headless:" + std::to_string(getuid()) + ":" + instanceScope;
}

void HeadlessFollowReplay()
{
    RecordSetClockSink(HeadlessReplayClock);
}
