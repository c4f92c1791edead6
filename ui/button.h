// On-screen buttons and the nested screen loop that waits for a tap on one of them.
#pragma once
#include <cstdint>

struct Surface;

enum : uint8_t {
    ButtonHidden = 0x01,
    ButtonGreyed = 0x02,
    ButtonFlat = 0x08,
    ButtonTextOnly = 0x10,
};

struct ButtonRect {
    int32_t left, top, right, bottom;
};

struct Button {
    ButtonRect rect;
    uint8_t flags;
    uint16_t id;
    uint16_t labelColour;
    uint16_t fillColour;
    uint16_t frameColour;
    uint16_t greyColour;
    const char* label;
};

enum { ButtonSetCapacity = 12 };

struct ButtonSet {
    Button buttons[ButtonSetCapacity];
    int32_t count;
};

void ButtonSetInit(ButtonSet* set);
int AddButton(ButtonSet* set, uint16_t id, const char* label, int x, int y, int width, int height, uint8_t flags);
int FindButton(const ButtonSet* set, uint16_t id);
// Each colour that is not -1 replaces the button's current one.
int SetButtonColours(ButtonSet* set, uint16_t id, int label, int fill, int frame, int grey);
int SetButtonFlags(ButtonSet* set, uint16_t id, uint8_t flags);
int ButtonHitTest(const ButtonSet* set, int x, int y);
void DrawButton(const Button* button, Surface* surface);
void DrawButtons(const ButtonSet* set, Surface* surface);

// Runs a nested message loop over the finished screen until a button is
// tapped: its id, 0 when the program is quitting, 1 when the background could
// not be saved.
int RunModalScreen(const ButtonSet* set, Surface* screen);
