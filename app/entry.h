// Program entry, start-up and shutdown, and the paths of the files beside the program.
#pragma once
#include <cstdint>

struct GameWorld;
struct Module;
struct Window;

// The program handle given to WinMain, used for every resource load.
extern Module* moduleHandle;

int WinMain(Module* instance, Module* previousInstance, const char* commandLine, int showFlag);
int InitInstance(Module* instance);
int RegisterWindowClass(Module* instance, const wchar_t* className);
int InitGame(GameWorld* world, Window* window);

// Paths of files beside the program. Both share one buffer: each result is
// valid until the next call of either. Backslashes in name become the
// platform's separator.
const wchar_t* ModuleFilePathW(const wchar_t* name);
const char* ModuleFilePathA(const char* name);
