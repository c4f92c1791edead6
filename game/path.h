// Flight paths: the path command language, its compiler and the point fetch.
#pragma once
#include <cstdint>

// A path script: command strings ended by a null entry.
using PathScript = const char* const*;

struct PathPoint {
    int16_t x;
    int16_t y;
};

enum { FlightPathCapacity = 1024 };

struct FlightPath {
    PathPoint* points;
    int32_t curX, curY;
    int32_t lastX, lastY;
    uint32_t count;
    uint32_t loopStart;   // 0: the path ends; else 1 + the index it starts over at
    float heading;
};

// The game's twelve scripts, numbered as the wave table names them.
extern const PathScript PathScriptTable[12];

void FlightPathInit(FlightPath* path);
void FlightPathFree(FlightPath* path);
bool FlightPathCompile(FlightPath* path, PathScript script, int spacing);
bool FlightPathNextPoint(const FlightPath* path, int* x, int* y, uint32_t* step, uint32_t* loops);
float PathHeading(int x0, int y0, int x1, int y1);
