// pathplot: compiles each flight-path script and draws its points over a 240 x 320 frame as a PNG.
//
//   pathplot [FOLDER]      (default: paths/ under the current folder)
//
// Points run from cyan at the first point to orange at the last; points off
// the screen are pinned to its edge in magenta and counted ("OFF"). A white
// box marks the first point, a yellow box the loop start. The label gives the
// script number, its point count ("N"), the loop start index ("L", or "END"
// for a path that ends) and the spacing of the wave that flies it ("S").
#include "game/path.h"
#include "gfx/surface.h"
#include "platform/gx.h"
#include "platform/headless.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

// Spacing of the wave that flies each script (the boss scripts change it
// themselves); script 8 is flown by no wave and drawn at 5.
static const int PlotSpacingTable[12] = {5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 1, 1};

// A 3 x 5 font for the labels: each glyph is five rows of three bits.
struct PlotGlyphDef {
    char c;
    uint8_t rows[5];
};

static const PlotGlyphDef PlotGlyphTable[] = {
    {'0', {7, 5, 5, 5, 7}}, {'1', {2, 6, 2, 2, 7}}, {'2', {7, 1, 7, 4, 7}},
    {'3', {7, 1, 3, 1, 7}}, {'4', {5, 5, 7, 1, 1}}, {'5', {7, 4, 7, 1, 7}},
    {'6', {7, 4, 7, 5, 7}}, {'7', {7, 1, 1, 2, 2}}, {'8', {7, 5, 7, 5, 7}},
    {'9', {7, 5, 7, 1, 7}}, {'A', {2, 5, 7, 5, 5}}, {'C', {7, 4, 4, 4, 7}},
    {'D', {6, 5, 5, 5, 6}}, {'E', {7, 4, 6, 4, 7}}, {'F', {7, 4, 6, 4, 4}}, {'I', {7, 2, 2, 2, 7}},
    {'L', {4, 4, 4, 4, 7}}, {'N', {6, 5, 5, 5, 5}}, {'O', {7, 5, 5, 5, 7}},
    {'P', {7, 5, 7, 4, 4}}, {'R', {6, 5, 6, 5, 5}}, {'S', {7, 4, 7, 1, 7}},
    {'T', {7, 2, 2, 2, 2}},
};

// Draws text at twice the font's size; characters without a glyph leave a gap.
static void PlotText(Surface* s, int x, int y, const char* text, uint16_t colour)
{
    for (; *text; text++, x += 8) {
        for (const PlotGlyphDef& g : PlotGlyphTable) {
            if (g.c != *text)
                continue;
            for (int row = 0; row < 5; row++)
                for (int col = 0; col < 3; col++)
                    if (g.rows[row] & (4 >> col))
                        SurfaceFillRect(s, x + col * 2, y + row * 2, x + col * 2 + 2, y + row * 2 + 2, colour);
        }
    }
}

static int Clamp(int v, int lo, int hi)
{
    return v < lo ? lo : v > hi ? hi : v;
}

// A box of half-size r around a point, kept inside the frame.
static void PlotBox(Surface* s, int x, int y, int r, uint16_t colour)
{
    x = Clamp(x, r, 239 - r);
    y = Clamp(y, r, 319 - r);
    SurfaceRectangle(s, x - r, y - r, x + r, y + r, colour);
}

static bool PlotOffScreen(const PathPoint& p)
{
    return p.x < 0 || p.x > 239 || p.y < 0 || p.y > 319;
}

static void PlotPath(Surface* s, const FlightPath* path, int number, int spacing)
{
    SurfaceClear(s, MakeColour(16, 16, 32));
    for (int g = 40; g < 240; g += 40)
        SurfaceVLine(s, g, 0, 320, MakeColour(40, 40, 64));
    for (int g = 40; g < 320; g += 40)
        SurfaceHLine(s, 0, g, 240, MakeColour(40, 40, 64));

    // The labels go under the points, so that nothing of the path is hidden,
    // at the top or the bottom, whichever the path crosses less.
    uint32_t count = path->count;
    uint32_t off = 0, top = 0, bottom = 0;
    for (uint32_t i = 0; i < count; i++) {
        off += PlotOffScreen(path->points[i]);
        top += path->points[i].y < 34;
        bottom += path->points[i].y >= 286;
    }
    int labelY = top <= bottom ? 4 : 306;
    char label[64];
    if (path->loopStart > 0)
        snprintf(label, sizeof label, "%d  N %u  L %u  S %d", number, count, path->loopStart - 1, spacing);
    else
        snprintf(label, sizeof label, "%d  N %u  L END  S %d", number, count, spacing);
    PlotText(s, 4, labelY, label, MakeColour(255, 255, 255));
    if (off > 0) {
        snprintf(label, sizeof label, "OFF %u", off);
        PlotText(s, 4, labelY == 4 ? 18 : 292, label, MakeColour(255, 0, 255));
    }

    for (uint32_t i = 0; i < count; i++) {
        int t = count > 1 ? (int)(255 * i / (count - 1)) : 0;
        uint16_t colour = PlotOffScreen(path->points[i]) ? MakeColour(255, 0, 255)
                                                         : MakeColour(t, 255 - t / 2, 255 - t);
        int x = Clamp(path->points[i].x, 1, 238);
        int y = Clamp(path->points[i].y, 1, 318);
        SurfaceFillRect(s, x - 1, y - 1, x + 2, y + 2, colour);
    }
    if (count > 0)
        PlotBox(s, path->points[0].x, path->points[0].y, 4, MakeColour(255, 255, 255));
    if (path->loopStart > 0 && path->loopStart - 1 < count) {
        const PathPoint& p = path->points[path->loopStart - 1];
        PlotBox(s, p.x, p.y, 6, MakeColour(255, 255, 0));
    }
}

int main(int argc, char** argv)
{
    std::string folder = argc > 1 ? argv[1] : "paths";
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) {
        fprintf(stderr, "pathplot: cannot create %s: %s\n", folder.c_str(), error.message().c_str());
        return 1;
    }
    HeadlessReset();
    PixelFormatSelect(kfDirect565);
    Surface frame;
    FlightPath path;
    FlightPathInit(&path);
    if (!SurfaceCreate(&frame, 240, 320)) {
        fprintf(stderr, "pathplot: out of memory\n");
        return 1;
    }
    int failures = 0;
    for (int i = 0; i < 12; i++) {
        if (!FlightPathCompile(&path, PathScriptTable[i], PlotSpacingTable[i])) {
            fprintf(stderr, "pathplot: script %d did not compile\n", i);
            failures++;
            continue;
        }
        PlotPath(&frame, &path, i, PlotSpacingTable[i]);
        char name[32];
        snprintf(name, sizeof name, "path%02d.png", i);
        std::string file = (std::filesystem::path(folder) / name).string();
        if (!HeadlessWritePng(file, frame.pixels, kfDirect565)) {
            fprintf(stderr, "pathplot: cannot write %s\n", file.c_str());
            failures++;
            continue;
        }
        printf("%s: %u points, loop start %d, spacing %d\n", file.c_str(), path.count,
               (int)path.loopStart - 1, PlotSpacingTable[i]);
    }
    FlightPathFree(&path);
    return failures ? 1 : 0;
}
