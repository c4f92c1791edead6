// Bitmap loading: files beside the program and resources inside it, to native surfaces.
#pragma once
#include "gfx/surface.h"

struct Module;

// Loads a BMP file; shows "LoadBMP Failed" on a bad file. 1 on success.
int LoadBitmapFile(Surface* surface, const char* path);

// Loads a bitmap resource of the program, silently. 1 on success.
int LoadBitmapResource(Surface* surface, Module* module, const wchar_t* name);

// The palette size of the bitmap whose 40-byte info header starts here.
uint32_t ColourCount(const uint8_t* infoHeader);
