// Fuzz target: what a caller sends on the single-instance channel, through the request reader.
#include "fuzz/fuzz.h"
#include "platform/backend.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    InstanceReader reader = {};
    uint32_t taken = 0;
    for (size_t i = 0; i < size; i++) {
        int request = InstanceRead(&reader, data[i]);
        if (request < 0)
            break;
        if (request != 0 && request != InstanceRequestForeground && request != InstanceRequestRedraw)
            abort();
        taken += request != 0;
    }
    // A caller never gets more requests in than it may make.
    if (taken > instanceRequestsPerCaller || taken != reader.requests)
        abort();
    return 0;
}
