// Resource lookup: registered resources first, then the table compiled into the program.
#include "platform/res.h"

#include <cwchar>
#include <vector>

// The compiled-in table comes from the generated resource source when the
// program links it; without it these weak references are null and the
// program has no resources. (Weak definitions holding an empty table would
// let the compiler fold their count of 0 into the lookup below.)
extern const ResourceDef ResourceTable[] __attribute__((weak));
extern const uint32_t ResourceTableCount __attribute__((weak));

static std::vector<ResourceDef> registered;

const uint8_t* ResourceFindBitmap(Module*, const wchar_t* name, uint32_t* size)
{
    *size = 0;
    if (!name)
        return nullptr;
    for (size_t i = registered.size(); i-- > 0;) {
        if (wcscmp(registered[i].name, name) == 0) {
            *size = registered[i].size;
            return registered[i].data;
        }
    }
    uint32_t count = &ResourceTableCount ? ResourceTableCount : 0;
    for (uint32_t i = 0; i < count; i++) {
        if (wcscmp(ResourceTable[i].name, name) == 0) {
            *size = ResourceTable[i].size;
            return ResourceTable[i].data;
        }
    }
    return nullptr;
}

void ResourceRegister(const wchar_t* name, const uint8_t* data, uint32_t size)
{
    registered.push_back({ name, data, size });
}

void ResourceRegisterClear()
{
    registered.clear();
}
