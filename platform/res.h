// Bitmap resources compiled into the program, found by name.
#pragma once
#include <cstdint>

struct Module;

struct ResourceDef {
    const wchar_t* name;
    const uint8_t* data;   // the bitmap after its 14-byte file header: info header, palette, rows
    uint32_t size;
};

// The bitmap resource called name, read in place, or null (size 0) when the
// program has none. Called by the bitmap loader at start-up and stage changes.
const uint8_t* ResourceFindBitmap(Module* module, const wchar_t* name, uint32_t* size);

// Adds a resource that takes precedence over a compiled-in one of the same
// name. Tests and tools call it before loading; the data must outlive its use.
void ResourceRegister(const wchar_t* name, const uint8_t* data, uint32_t size);

// Forgets the registered resources (tests).
void ResourceRegisterClear();
