// The four particle pictures in grey levels: a soft flare, a ring, a star spark and a smoke puff.
#include "assets.h"

#include <cmath>

// The engine turns these into grey levels and keys out their top-left pixel,
// pure black. Every drawn pixel is at least level 8, so that it stays apart
// from the key on both 16-bit layouts; dimmer light is left black.
static std::vector<Rgb8> GreyPicture(float (*level)(float dx, float dy))
{
    std::vector<Rgb8> out(64 * 64);
    for (int y = 0; y < 64; y++) {
        for (int x = 0; x < 64; x++) {
            // Four samples per pixel keep the shapes smooth when scaled down.
            float sum = 0.0f;
            for (int s = 0; s < 4; s++) {
                float dx = (x + 0.25f + 0.5f * (s % 2) - 32.0f) / 32.0f, dy = (y + 0.25f + 0.5f * (s / 2) - 32.0f) / 32.0f;
                sum += level(dx, dy);
            }
            int v = (int)std::lround(Clamp01(sum / 4.0f) * 255.0f);
            if (v < 8 || x == 0 || y == 0 || x == 63 || y == 63)
                v = 0;
            out[(size_t)y * 64 + x] = Rgb8 { (uint8_t)v, (uint8_t)v, (uint8_t)v };
        }
    }
    return out;
}

// A hot white core fading smoothly to the rim, with a faint four-point glint.
static float FlareLevel(float dx, float dy)
{
    float r = std::sqrt(dx * dx + dy * dy);
    if (r >= 1.0f)
        return 0.0f;
    float fall = std::pow(1.0f - r, 1.6f);
    float core = std::exp(-r * r * 14.0f);
    float glint = std::exp(-std::fabs(dx) * 22.0f) + std::exp(-std::fabs(dy) * 22.0f);
    return fall * 0.72f + core * 0.5f + glint * fall * 0.25f;
}

// A thin bright ring with a soft inside and a small highlight.
static float BubbleLevel(float dx, float dy)
{
    float r = std::sqrt(dx * dx + dy * dy);
    if (r >= 1.0f)
        return 0.0f;
    float ring = std::exp(-(r - 0.82f) * (r - 0.82f) * 220.0f);
    float inner = r * r * 0.35f;
    float hx = dx + 0.35f, hy = dy + 0.4f;
    float highlight = std::exp(-(hx * hx + hy * hy) * 60.0f) * 0.7f;
    return ring + inner * (r < 0.82f ? 1.0f : 0.0f) + highlight;
}

// A sharp star: long thin rays on the axes, shorter ones on the diagonals.
static float SparkLevel(float dx, float dy)
{
    float r = std::sqrt(dx * dx + dy * dy);
    if (r >= 1.0f)
        return 0.0f;
    float fade = 1.0f - r;
    float axes = std::exp(-std::fabs(dx) * 28.0f) * std::pow(1.0f - std::fabs(dy), 2.0f) +
                 std::exp(-std::fabs(dy) * 28.0f) * std::pow(1.0f - std::fabs(dx), 2.0f);
    float u = (dx + dy) * 0.7071f, v = (dx - dy) * 0.7071f;
    float diagonals = (std::exp(-std::fabs(u) * 50.0f) + std::exp(-std::fabs(v) * 50.0f)) * std::pow(fade, 4.0f) * 0.7f;
    float core = std::exp(-r * r * 60.0f);
    return axes + diagonals + core + fade * fade * 0.2f;
}

// A billowing puff: noise inside a soft round edge.
static float SmokeLevel(float dx, float dy)
{
    float r = std::sqrt(dx * dx + dy * dy);
    if (r >= 1.0f)
        return 0.0f;
    float n = Fbm(dx * 1.6f + 8.0f, dy * 1.6f + 8.0f, 64, 64, 3, 7) * 0.5f + 0.5f;
    float body = 1.0f - Smooth(0.3f, 0.98f, r + (n - 0.5f) * 0.4f);
    return body * (0.5f + 0.55f * n);
}

void MakeGlows(AssetSet& set)
{
    AssetAddTrue(set, "FLARE", GreyPicture(FlareLevel), 64, 64);
    AssetAddTrue(set, "BUBBLE", GreyPicture(BubbleLevel), 64, 64);
    AssetAddTrue(set, "SPARK", GreyPicture(SparkLevel), 64, 64);
    AssetAddTrue(set, "SMOKE", GreyPicture(SmokeLevel), 64, 64);
}
