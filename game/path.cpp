// Flight paths: the command compiler, the point fetch, the heading and the game's twelve scripts.
#include "game/path.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

static const double Pi = 3.141592653589793;
static const double DegreesPerRadian = 57.29577951308239;
static const double RadiansPerDegree = 0.017453292519943278;

// The largest command number a mark is kept for: "G" takes two digits.
enum { PathMarkCount = 100 };

// A command with its fields. Fields sit at fixed positions and a short
// command reads on past its terminator into what follows. The command is
// copied into a zero-padded buffer first, so that "what follows" is always
// NULs (atoi stops there) and nothing outside the string is ever read.
struct PathCommand {
    char text[16];
};

static void PathCommandLoad(PathCommand* command, const char* source)
{
    memset(command->text, 0, sizeof command->text);
    strncpy(command->text, source, sizeof command->text - 1);
}

// Exactly width characters from position at, read as a decimal number.
static int PathCommandNumber(const PathCommand* command, int at, int width)
{
    char field[8] = {};
    memcpy(field, command->text + at, (size_t)width);
    return atoi(field);
}

// A sign field: '-' is negative, anything else positive.
static int PathCommandSign(const PathCommand* command, int at)
{
    return command->text[at] == '-' ? -1 : 1;
}

// A sign at 'at' and three digits after it.
static int PathCommandSigned(const PathCommand* command, int at)
{
    return PathCommandSign(command, at) * PathCommandNumber(command, at + 1, 3);
}

// Appends a point; a script that would overrun the buffer loses its tail.
static void FlightPathAppend(FlightPath* path, int x, int y)
{
    if (path->count >= FlightPathCapacity)
        return;
    path->points[path->count].x = (int16_t)x;
    path->points[path->count].y = (int16_t)y;
    path->count++;
}

// The spacing test, in double as the game always has.
static bool FlightPathFar(int dx, int dy, int spacing)
{
    return sqrt((double)(dx * dx + dy * dy)) >= (double)spacing;
}

// A straight line from the pen to (x2, y2), walked in single precision as
// the game always has; the end point is left for the next command.
static void FlightPathLine(FlightPath* path, int x2, int y2, int spacing)
{
    float fx = (float)path->curX;
    float fy = (float)path->curY;
    path->heading = PathHeading((int)fx, (int)fy, x2, y2);
    int nx = (int)fabsf((float)x2 - fx);
    int ny = (int)fabsf((float)y2 - fy);
    int n = nx > ny ? nx : ny;
    if (n == 0)
        return;
    float stepX = ((float)x2 - fx) / (float)n;
    float stepY = ((float)y2 - fy) / (float)n;
    for (int i = 0; i < n; i++) {
        int ex = (int)(fx - (float)path->lastX);
        int ey = (int)(fy - (float)path->lastY);
        if (FlightPathFar(ex, ey, spacing)) {
            path->lastX = (int)fx;
            path->lastY = (int)fy;
            FlightPathAppend(path, path->lastX, path->lastY);
        }
        fx += stepX;
        fy += stepY;
    }
    path->curX = x2;
    path->curY = y2;
}

// An arc of the given radius and sweep; turn 90 puts the centre to the right
// of the heading (clockwise), 270 to the left (anticlockwise).
static void FlightPathArc(FlightPath* path, int turn, int radius, int sweep, int spacing)
{
    int start = (int)(path->heading + (float)turn);
    if (start > 360)
        start -= 360;
    int cx = (int)(radius * sin(start * RadiansPerDegree) + path->curX);
    int cy = (int)(path->curY - radius * cos(start * RadiansPerDegree));
    int back = start + 180;
    if (back > 360)
        back = start - 180;
    int px = path->curX, py = path->curY;
    for (int k = 0; k <= sweep; k++) {
        int angle = turn < 181 ? back + k : back - k;
        px = (int)(radius * sin(angle * RadiansPerDegree) + cx);
        py = (int)(cy - radius * cos(angle * RadiansPerDegree));
        if (FlightPathFar(px - path->lastX, py - path->lastY, spacing)) {
            path->lastX = px;
            path->lastY = py;
            FlightPathAppend(path, px, py);
        }
    }
    path->curX = px;
    path->curY = py;
    path->heading += (float)sweep;
}

// Clears the pen and heading too, so a script that does not begin with "B"
// starts from (0, 0) heading up rather than from whatever memory held.
void FlightPathInit(FlightPath* path)
{
    memset(path, 0, sizeof *path);
}

void FlightPathFree(FlightPath* path)
{
    free(path->points);
    path->points = nullptr;
    path->count = 0;
    path->loopStart = 0;
}

bool FlightPathCompile(FlightPath* path, PathScript script, int spacing)
{
    FlightPathFree(path);
    path->points = (PathPoint*)malloc(FlightPathCapacity * sizeof(PathPoint));
    if (!path->points)
        return false;
    // Where each command ended, kept in 8 bits as the game always has: a
    // loop target lies within the first 256 points. A "G" naming a command
    // that has not run loops to the first point.
    uint8_t marks[PathMarkCount] = {};
    for (int k = 0; script && script[k]; k++) {
        PathCommand command;
        PathCommandLoad(&command, script[k]);
        switch (command.text[0]) {
        case 'B':
            path->curX = path->lastX = PathCommandSigned(&command, 1);
            path->curY = path->lastY = PathCommandSigned(&command, 5);
            FlightPathAppend(path, path->curX, path->curY);
            break;
        case 'M':
            FlightPathLine(path, PathCommandNumber(&command, 1, 3),
                           PathCommandNumber(&command, 4, 3), spacing);
            break;
        case 'R':
            FlightPathLine(path, path->curX + PathCommandSigned(&command, 1),
                           path->curY + PathCommandSigned(&command, 5), spacing);
            break;
        case 'C':
            FlightPathArc(path, PathCommandNumber(&command, 1, 3),
                          PathCommandNumber(&command, 4, 3),
                          PathCommandNumber(&command, 7, 3), spacing);
            break;
        case 'S':
            spacing += PathCommandSign(&command, 1) * PathCommandNumber(&command, 2, 2);
            break;
        case 'P':
            for (int i = PathCommandNumber(&command, 2, 3); i > 0; i--)
                FlightPathAppend(path, path->curX, path->curY);
            break;
        case 'G': {
            int n = PathCommandNumber(&command, 1, 2);
            path->loopStart = (uint32_t)(n >= 0 && n < PathMarkCount ? marks[n] : 0) + 1;
            return true;
        }
        default:
            break;
        }
        if (k + 1 < PathMarkCount)
            marks[k + 1] = (uint8_t)path->count;
    }
    return true;
}

bool FlightPathNextPoint(const FlightPath* path, int* x, int* y, uint32_t* step, uint32_t* loops)
{
    uint32_t at = *step;
    if (at >= path->count) {
        // A loop target past the end (a "G" with nothing after its mark)
        // has no point to give: the path ends there instead.
        if (path->loopStart == 0 || path->loopStart - 1 >= path->count)
            return false;
        *loops += 1;
        at = *step = path->loopStart - 1;
    }
    *x = path->points[at].x;
    *y = path->points[at].y;
    return true;
}

float PathHeading(int x0, int y0, int x1, int y1)
{
    float dx = (float)(x1 - x0);
    float dy = (float)(y1 - y0);
    double radians;
    if (x0 == x1 && y0 == y1) {
        radians = 0;
    } else if ((x0 <= x1 && y1 < y0) || (x0 < x1 && y1 >= y0)) {
        radians = atan((double)(dx != 0 ? dy / dx : dy)) + Pi / 2;
    } else if (x0 >= x1 && y1 > y0) {
        radians = atan((double)((float)(x0 - x1) / dy)) + Pi;
    } else {
        float across = (float)(x0 - x1);
        float up = (float)(y0 - y1);
        radians = 2 * Pi - atan((double)(up != 0 ? across / up : across));
    }
    return (float)(radians * DegreesPerRadian);
}

// The game's scripts, numbered as the wave table names them.
static const char* const PathScript0[] = {
    "B+000+080", "M010080", "M120080", "C090040360", "M230080", "M230180", "M010180", "M010080",
    "G02", nullptr};
static const char* const PathScript1[] = {
    "B+210+000", "M210080", "M210140", "C090030180", "C270030180", "C090030180", "M030080",
    "C090030180", "C270030180", "C090030180", "G02", nullptr};
static const char* const PathScript2[] = {
    "B+210+000", "M210080", "M030080", "M030000", "B+000+120", "M240120", "B+240+160", "M120160",
    "P050", "M000160", "G00", nullptr};
static const char* const PathScript3[] = {
    "B+000+060", "M190060", "C090040090", "M230250", "C090040090", "M050290", "C090040090",
    "M010100", "C090040090", "M190060", "G02", nullptr};
static const char* const PathScript4[] = {
    "B+240+000", "M060200", "C090030270", "M180280", "C270030180", "M060060", "C270030135",
    "M010320", "G00", nullptr};
static const char* const PathScript5[] = {
    "B+220+320", "M220080", "C270030090", "M050050", "C270030090", "M020240", "C270030090",
    "M240270", "B+000+080", "M190080", "C090030180", "M050140", "C270030180", "M240200", "G00",
    nullptr};
static const char* const PathScript6[] = {
    "B+130+000", "M130160", "C090030090", "C270030180", "R+040+000", "C270030180", "C090030090",
    "M110000", "B+000+300", "M240300", "G00", nullptr};
static const char* const PathScript7[] = {
    "B+050-000", "M060060", "C090030045", "C270030090", "R+040+040", "C090030090", "R-040+040",
    "C270030180", "C090030180", "B240200", "R-040-040", "C090030090", "C270030090", "G00",
    nullptr};
static const char* const PathScript8[] = {nullptr};
static const char* const PathScript9[] = {
    "B+000+050", "M190050", "C090040090", "M230250", "C090040090", "M050290", "C090040090",
    "M010090", "C090040090", "M190050", "C090040180", "M050130", "C270040180", "M190210",
    "C090040180", "M050290", "G06", nullptr};
static const char* const PathScript10[] = {
    "B+120-050", "S+01", "M120080", "S-01", "P050", "M070080", "M170080", "M070080", "G06",
    nullptr};
static const char* const PathScript11[] = {
    "B+120-050", "S+01", "M120080", "S-01", "P050", "M070080", "M070120", "M170120", "M170080",
    "M070080", "G06", nullptr};

const PathScript PathScriptTable[12] = {
    PathScript0, PathScript1, PathScript2, PathScript3, PathScript4,  PathScript5,
    PathScript6, PathScript7, PathScript8, PathScript9, PathScript10, PathScript11,
};
