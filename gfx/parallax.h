// The two-layer scrolling background, composed by adding pre-weighted layers.
#pragma once
#include "gfx/surface.h"

struct Parallax {
    Surface back;
    Surface front;
    int32_t backSpeed = -1;
    int32_t frontSpeed = -3;
    int32_t backOffset = 0;
    int32_t frontOffset = 0;
    int32_t backPeriod = 0;
    int32_t frontPeriod = 0;
    uint8_t keyFlag = 1;
    uint16_t keyColour = 0;
};

void ParallaxInit(Parallax* parallax);
void ParallaxReset(Parallax* parallax);
int ParallaxLoadBack(Parallax* parallax, const wchar_t* name, int32_t speed, float weight);
int ParallaxLoadFront(Parallax* parallax, const wchar_t* name, int32_t speed, float weight);
void ParallaxSetKey(Parallax* parallax, uint8_t flag, uint16_t colour);
int ParallaxCompose(Parallax* parallax, Surface* destination);
