// Fuzz target: the headless runner's input script.
#include "fuzz/fuzz.h"
#include "platform/headless.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string error;
    if (HeadlessScriptLoad(std::string((const char*)data, size), &error))
        HeadlessScriptEnd();
    return 0;
}
