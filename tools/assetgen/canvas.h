// Drawing canvas of the asset generator: float RGBA images, masks, shapes, noise and a fixed-seed generator.
#pragma once
#include <cstdint>
#include <functional>
#include <vector>

struct Colour {
    float r, g, b, a;
};

// Straight (not premultiplied) colour per pixel, row after row from the top.
struct Image {
    int width, height;
    std::vector<Colour> pixels;
};

// Coverage 0..1 per pixel, the shape of something about to be painted.
struct Mask {
    int width, height;
    std::vector<float> cover;
};

struct Vec2 {
    float x, y;
};

// A small xorshift generator: the same seed draws the same art on every run.
struct Rng {
    uint64_t state;
};

Rng RngMake(uint64_t seed);
uint32_t RngNext(Rng* rng);
float RngFloat(Rng* rng);                       // 0 <= f < 1
float RngRange(Rng* rng, float lo, float hi);
int RngInt(Rng* rng, int n);                    // 0 .. n - 1

Colour Rgb(int r, int g, int b, float a = 1.0f);
Colour Grey(float v);
Colour ColourMix(Colour a, Colour b, float t);
Colour ColourScale(Colour c, float k);          // scales r, g, b
Colour ColourAdd(Colour a, Colour b);           // r, g, b added, alpha of a
// Picks a colour along a ramp of n stops evenly spaced over 0..1.
Colour Ramp(const Colour* stops, int n, float t);
float Clamp01(float v);
float Smooth(float e0, float e1, float v);      // smoothstep

Image ImageMake(int width, int height, Colour fill);
Colour& ImageAt(Image& image, int x, int y);
Colour ImageGet(const Image& image, int x, int y);        // clamped at the edges
Colour ImageGetWrap(const Image& image, int x, int y);    // wraps around
// Paints colour over a pixel with the given coverage (alpha blending).
void ImageBlendPixel(Image& image, int x, int y, Colour colour, float coverage);
// Adds light: r, g, b grow by colour x amount, alpha rises to cover it.
void ImageAddPixel(Image& image, int x, int y, Colour colour, float amount);
// Runs fn over every pixel with coverage > 0 of the mask and blends its result.
void ImagePaint(Image& image, const Mask& mask, const std::function<Colour(int x, int y)>& fn);
void ImagePaintFlat(Image& image, const Mask& mask, Colour colour);
// Copies src onto dst at (x, y), blending by src alpha.
void ImageDraw(Image& dst, const Image& src, int x, int y);
// Mirrors the left half onto the right (symmetric sprites).
void ImageMirrorX(Image& image);
// Sets every pixel that is transparent but touches a drawn one to the colour.
void ImageOutline(Image& image, Colour colour);

Mask MaskMake(int width, int height);
// Shapes are sampled 4 x 4 per pixel, so their edges come out smooth.
void MaskPolygon(Mask& mask, const Vec2* points, int count);
void MaskEllipse(Mask& mask, float cx, float cy, float rx, float ry);
void MaskRect(Mask& mask, float x0, float y0, float x1, float y1);
void MaskLine(Mask& mask, float x0, float y0, float x1, float y1, float width);
void MaskSubtract(Mask& mask, const Mask& hole);
void MaskUnion(Mask& mask, const Mask& other);

// Periodic gradient noise about -1..1: the lattice repeats every periodX x
// periodY cells, so a picture built on it tiles without seams.
float Noise(float x, float y, int periodX, int periodY, uint32_t seed);
// Sum of octaves, each twice the frequency and half the weight; about -1..1.
float Fbm(float x, float y, int periodX, int periodY, int octaves, uint32_t seed);
// Distance to the nearest of the given points on a torus of w x h.
float WrapDistance(float x0, float y0, float x1, float y1, float w, float h);

// Soft light added around a point, wrapping over the image edges when wrap is set.
void ImageGlow(Image& image, float cx, float cy, float radius, Colour colour, float strength, bool wrap);
// A star: a bright core with a soft halo and, for the big ones, four rays.
void ImageStar(Image& image, float cx, float cy, float size, Colour colour, bool wrap);

// A sphere lit from the upper left, at the point (dx, dy) of its unit disc:
// shaded base colour with a white highlight.
Colour SphereLight(float dx, float dy, Colour base);
