// A browser tab is its own world: no second copy can be found or called, so every copy runs alone.
#include "platform/backend.h"

void InstanceListen(const std::wstring&, const std::wstring&)
{
}

int InstanceConnect(const std::wstring&, const std::wstring&)
{
    return -1;
}

int InstanceSend(int, uint32_t)
{
    return 0;
}

void InstanceDisconnect(int)
{
}

void InstanceServeInbox()
{
}

int InstanceAwaitCaller(uint32_t)
{
    return 0;
}

void InstanceShutdown()
{
}
