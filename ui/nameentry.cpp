// Name entry: the letter patterns, the screen's loop, and the glowing letter with its morph.
#include "ui/nameentry.h"
#include "app/display.h"
#include "game/world.h"
#include "gfx/blit.h"
#include "gfx/fade.h"
#include "gfx/particle.h"
#include "gfx/pixelfont.h"
#include "sound/cea_sound.h"
#include "ui/button.h"
#include "ui/screen.h"

#include <cstring>

const char LetterPatternTable[NameLetters * NameCells + 1] =
    " *** " "** **" "*   *" "*   *" "*****" "*   *" "*   *" "*   *" "*   *"   // A
    "**** " "*   *" "*   *" "*   *" "**** " "*   *" "*   *" "*   *" "**** "   // B
    " *** " "** **" "**   " "**   " "**   " "**   " "**   " "** **" " *** "   // C
    "**** " "*  **" "*   *" "*   *" "*   *" "*   *" "*   *" "*  **" "**** "   // D
    "*****" "**   " "*    " "*$   " "**** " "*$   " "*    " "**   " "*****"   // E
    "*****" "**   " "**   " "**   " "*****" "**   " "**   " "**   " "**   "   // F
    " *** " "** **" "*    " "*    " "* ***" "*   *" "*   *" "** **" " *** "   // G
    "*   *" "*   *" "*   *" "*****" "*****" "*   *" "*   *" "*   *" "*   *"   // H
    "$***$" "$***$" "  *  " "  *  " "  *  " "  *  " "  *  " " ***$" "$***$"   // I
    "*****" "*****" "    *" "    *" "    *" "*   *" "*   *" "** **" " *** "   // J
    "**  *" "** * " "***  " "**   " "**   " "**   " "***  " "** * " "**  *"   // K
    "**   " "**   " "**   " "**   " "**   " "**   " "**   " "*****" "*****"   // L
    "*   *" "** **" "** **" "* * *" "* * *" "*   *" "*   *" "*   *" "*   *"   // M
    "*   *" "**  *" "**  *" "* * *" "* * *" "*  **" "*  **" "*   *" "*   *"   // N
    " *** " "** **" "*   *" "*   *" "*   *" "*   *" "*   *" "** **" " *** "   // O
    "**** " "*****" "*   *" "*   *" "**** " "**** " "*    " "*    " "*    "   // P
    " *** " "*$ $*" "*   *" "*   *" "*   *" "*   *" "* * *" "*  *$" " ** *"   // Q
    "**** " "*   *" "*   *" "*   *" "**** " "**** " "*   *" "*   *" "*   *"   // R
    " *** " "** **" "*   *" "**   " " **  " "  ** " "*  **" "**  *" " *** "   // S
    "*****" "*****" "* * *" "  *  " "  *  " "  *  " "  *  " " $*$ " "$*** "   // T
    "*   *" "*   *" "*   *" "*   *" "*   *" "*   *" "*   *" "*****" "*****"   // U
    "*   *" "*   *" "*   *" "*   *" "*   *" "**$**" "*****" " *** " "  *  "   // V
    "*   *" "*   *" "*   *" "*   *" "*   *" "* * *" "*****" "** **" "*   *"   // W
    "*   *" "*   *" "** **" " *** " " $*  " " *** " "** **" "*   *" "*   *"   // X
    "** **" "** **" "** **" "*****" " *** " "  *  " "  *  " "  *  " "  *  "   // Y
    "*****" "    *" "   **" "   **" " *** " " *** " "**   " "*    " "*****"   // Z
    ;

enum { GridTop = 60, CellSize = 15, GridWidth = 5 * CellSize, GridHeight = 9 * CellSize };

enum { ButtonOk = 1, ButtonCancel = 2, ButtonNext = 3, ButtonPrevious = 4, ButtonSelect = 5, ButtonDelete = 6 };

struct NameButtonDef {
    uint16_t id;
    const char* label;
    int x;            // from the screen's left, or from the grid's when fromGrid
    bool fromGrid;
    int y, width, height;
    uint8_t flags;
};

static const NameButtonDef NameButtonTable[] = {
    { ButtonOk,       "OK",     32,  false, 276, 78, 24, ButtonTextOnly },
    { ButtonCancel,   "Cancel", 127, false, 276, 78, 24, ButtonTextOnly },
    { ButtonPrevious, "<<",     -40, true,  90,  30, 75, 0 },
    { ButtonNext,     ">>",     85,  true,  90,  30, 75, 0 },
    { ButtonSelect,   "Select", 55,  false, 225, 60, 20, 0 },
    { ButtonDelete,   "Delete", 125, false, 225, 60, 20, 0 },
};

static int GridLeft(const Surface* screen)
{
    return (screen->width - GridWidth) / 2 - 2;
}

// The dot of one point: yellow where the flare image is bright, red where dark.
static void DrawDot(Surface* screen, int x, int y, int brightness)
{
    Particle record = {};
    record.image = ParticleFlare;
    record.startColour = { 255, 255, 0, 255 };
    record.endColour = { 255, 0, 0, 255 };
    SurfaceSetAlpha(&particleSystem.images[ParticleFlare], (uint8_t)brightness);
    GlowBlit(&particleSystem, screen, x, y, CellSize, CellSize, &record);
}

void DrawLetter(Surface* screen, int x, int y, int letter, int burst)
{
    static const EffectParams burstParams = { 0.5f, -0.25f, 0.75f, 0.75f, 5.0f, 0, 0.0f, 360.0f, 0.0f, 0 };
    ParticleSystemClear(&particleSystem);
    if (letter < 0 || letter >= NameLetters)
        return;
    const char* pattern = LetterPatternTable + letter * NameCells;
    for (int r = 0; r < 9; r++) {
        for (int c = 0; c < 5; c++) {
            if (pattern[r * 5 + c] != '*')
                continue;
            DrawDot(screen, x + CellSize * c, y + CellSize * r, 255);
            if (burst)
                SpawnEffect(&particleSystem, 0, x + CellSize * c + 7, y + CellSize * r + 7, &burstParams);
        }
    }
}

struct LetterPoint {
    int column, row, brightness;
};

// The points of a letter in reading order; the count found.
static int LetterPoints(int letter, LetterPoint points[NamePoints])
{
    const char* pattern = LetterPatternTable + letter * NameCells;
    int count = 0;
    for (int cell = 0; cell < NameCells && count < NamePoints; cell++) {
        if (pattern[cell] == ' ')
            continue;
        points[count++] = { cell % 5, cell / 5, pattern[cell] == '*' ? 255 : 0 };
    }
    return count;
}

// v / 255 rounded, with arithmetic shifts for negative v.
static int Div255(int v)
{
    return (v + 128 + ((v + 128) >> 8)) >> 8;
}

void MorphLetter(Surface* screen, int x, int y, int from, int to)
{
    if (from < 0 || from >= NameLetters || to < 0 || to >= NameLetters)
        return;
    LetterPoint start[NamePoints], end[NamePoints];
    int count = LetterPoints(from, start);
    if (LetterPoints(to, end) < count)
        count = LetterPoints(to, end);
    Surface saved;
    if (!SurfaceCopy(&saved, screen))
        return;
    for (int t = 0; t <= 240; t += 20) {
        // Everything from the grid's top to the same depth below it comes back.
        Blit(screen, x, y, GridWidth, y + GridHeight, &saved, x, y, BlitCopy);
        for (int k = 0; k < count; k++) {
            int px = x + CellSize * start[k].column + Div255(CellSize * (end[k].column - start[k].column) * t);
            int py = y + CellSize * start[k].row + Div255(CellSize * (end[k].row - start[k].row) * t);
            DrawDot(screen, px, py, start[k].brightness + Div255((end[k].brightness - start[k].brightness) * t));
        }
        Present(screen);
    }
}

static void DrawNameScreen(Surface* screen)
{
    ScreenSetBackground(screen, &page2Image);
    ScreenDrawTitle(screen, "Enter Name", 15, 8);
}

int EnterName(Surface* screen, char* name)
{
    static const ParticleKind burstKind = { ParticleSmoke, 1.0f, { 255, 255, 255, 255 }, { 0, 0, 0, 0 }, 0.25f, 0.5f };
    ButtonSet set;
    ButtonSetInit(&set);
    int length = 0;
    while (length < NameMaxLength && name[length])
        length++;
    name[length] = 0;
    int current = 0, previous = 0, redraw = 1, burst = 0;
    int gridLeft = GridLeft(screen);

    DrawNameScreen(screen);
    for (const NameButtonDef& def : NameButtonTable)
        AddButton(&set, def.id, def.label, def.fromGrid ? gridLeft + def.x : def.x, def.y, def.width, def.height, def.flags);
    DrawButtons(&set, screen);
    FadeIn(screen, MakeColour(0, 0, 0), 30);
    SetParticleKind(&particleSystem, 0, &burstKind);

    int id;
    for (;;) {
        if (redraw) {
            DrawNameScreen(screen);
            DrawButtons(&set, screen);
            PixelFontDrawText(screen, name, -1, 209, MakeColour(255, 255, 255));
            if (previous != current)
                MorphLetter(screen, gridLeft, GridTop, previous, current);
            DrawLetter(screen, gridLeft, GridTop, current, burst);
            Present(screen);
            redraw = burst = 0;
            previous = current;
        }
        id = RunModalScreen(&set, screen);
        if (id == ButtonOk || id == ButtonCancel || id == 0)
            break;
        switch (id) {
        case ButtonNext:
            current = current == NameLetters - 1 ? 0 : current + 1;
            redraw = 1;
            break;
        case ButtonPrevious:
            current = current == 0 ? NameLetters - 1 : current - 1;
            redraw = 1;
            break;
        case ButtonSelect:
            if (length < NameMaxLength) {
                name[length++] = (char)('A' + current);
                name[length] = 0;
                redraw = burst = 1;
            }
            break;
        case ButtonDelete:
            if (length > 0) {
                name[--length] = 0;
                redraw = burst = 1;
            }
            break;
        default:
            break;
        }
    }
    PlayEffect(SoundButton);
    FadeOut(screen, MakeColour(0, 0, 0), 30);
    return id;
}
