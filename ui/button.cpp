// Buttons: the set, defaults, lookup, hit testing and drawing.
#include "ui/button.h"
#include "gfx/pixelfont.h"
#include "gfx/surface.h"

#include <cstring>

void ButtonSetInit(ButtonSet* set)
{
    set->count = 0;
}

int AddButton(ButtonSet* set, uint16_t id, const char* label, int x, int y, int width, int height, uint8_t flags)
{
    if (set->count >= ButtonSetCapacity)
        return 0;
    Button* button = &set->buttons[set->count++];
    button->rect = { x, y, x + width, y + height };
    button->id = id;
    button->flags = flags;
    button->label = label;
    button->labelColour = MakeColour(0, 0, 0);
    button->fillColour = MakeColour(192, 192, 192);
    button->frameColour = MakeColour(0, 0, 0);
    button->greyColour = MakeColour(128, 128, 128);
    return 1;
}

int FindButton(const ButtonSet* set, uint16_t id)
{
    for (int i = 0; i < set->count; i++)
        if (set->buttons[i].id == id)
            return i + 1;
    return 0;
}

int SetButtonColours(ButtonSet* set, uint16_t id, int label, int fill, int frame, int grey)
{
    int found = FindButton(set, id);
    if (!found)
        return 0;
    Button* button = &set->buttons[found - 1];
    if (label != -1)
        button->labelColour = (uint16_t)label;
    if (fill != -1)
        button->fillColour = (uint16_t)fill;
    if (frame != -1)
        button->frameColour = (uint16_t)frame;
    if (grey != -1)
        button->greyColour = (uint16_t)grey;
    return found;
}

int SetButtonFlags(ButtonSet* set, uint16_t id, uint8_t flags)
{
    int found = FindButton(set, id);
    if (found)
        set->buttons[found - 1].flags = flags;
    return found;
}

int ButtonHitTest(const ButtonSet* set, int x, int y)
{
    for (int i = 0; i < set->count; i++) {
        const ButtonRect& r = set->buttons[i].rect;
        if (r.left <= x && x < r.right && r.top <= y && y < r.bottom)
            return i + 1;
    }
    return 0;
}

void DrawButton(const Button* button, Surface* surface)
{
    const ButtonRect& r = button->rect;
    uint8_t flags = button->flags;
    if (!(flags & (ButtonHidden | ButtonTextOnly))) {
        SurfaceFillRect(surface, r.left, r.top, r.right, r.bottom, button->fillColour);
        SurfaceRectangle(surface, r.left, r.top, r.right, r.bottom, button->frameColour);
        if (!(flags & ButtonFlat)) {
            uint16_t dark = MakeColour(64, 64, 64), mid = MakeColour(128, 128, 128), light = MakeColour(255, 255, 255);
            SurfaceHLine(surface, r.left + 1, r.bottom - 1, r.right - r.left - 1, dark);
            SurfaceVLine(surface, r.right - 1, r.top + 1, r.bottom - r.top - 1, dark);
            SurfaceHLine(surface, r.left + 2, r.bottom - 2, r.right - r.left - 3, mid);
            SurfaceVLine(surface, r.right - 2, r.top + 2, r.bottom - r.top - 3, mid);
            SurfaceHLine(surface, r.left + 1, r.top + 1, r.right - r.left - 2, light);
            SurfaceVLine(surface, r.left + 1, r.top + 1, r.bottom - r.top - 2, light);
        }
    }
    if (!(flags & ButtonHidden) && button->label) {
        int x = r.left + (r.right - r.left - 8 * (int)strlen(button->label)) / 2;
        int y = r.top + (r.bottom - r.top - 8) / 2;
        PixelFontDrawText(surface, button->label, x, y, flags & ButtonGreyed ? button->greyColour : button->labelColour);
    }
}

void DrawButtons(const ButtonSet* set, Surface* surface)
{
    for (int i = 0; i < set->count; i++)
        DrawButton(&set->buttons[i], surface);
}
