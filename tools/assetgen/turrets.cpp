// The six ground turrets, seen from above: a base plate, four barrels for the four-way volley, and a domed core.
#include "assets.h"

#include <cmath>

static const Colour Clear { 0, 0, 0, 0 };
static const int Size = 53;
static const float Mid = 26.5f;

enum BaseShape { BaseOctagon, BaseRound, BaseSquare, BaseStar, BasePod };

struct TurretStyle {
    const char* name;
    BaseShape shape;
    Colour plate, rim, barrel, dome, glow;
    int twin;           // barrels per side: 1 or 2
    float barrelLength; // from the centre
    int detail;         // 0 rivets, 1 hazard stripes, 2 cooling fins, 3 spikes
};

static const TurretStyle TurretStyleTable[] = {
    { "TURRET1", BaseOctagon, Rgb(168, 52, 48), Rgb(80, 20, 24), Rgb(190, 190, 200), Rgb(230, 90, 70), Rgb(255, 200, 120), 2, 25.0f, 0 },
    { "TURRET2", BasePod, Rgb(60, 130, 70), Rgb(20, 60, 40), Rgb(150, 210, 90), Rgb(200, 60, 160), Rgb(255, 140, 230), 1, 24.0f, 3 },
    { "TURRET3", BaseRound, Rgb(150, 148, 140), Rgb(70, 68, 66), Rgb(120, 124, 130), Rgb(200, 190, 120), Rgb(255, 240, 160), 1, 25.5f, 1 },
    { "TURRET4", BaseSquare, Rgb(80, 70, 70), Rgb(36, 30, 32), Rgb(110, 100, 96), Rgb(255, 110, 30), Rgb(255, 200, 80), 2, 24.0f, 2 },
    { "TURRET5", BaseStar, Rgb(90, 130, 200), Rgb(30, 44, 90), Rgb(200, 220, 240), Rgb(80, 220, 255), Rgb(200, 250, 255), 1, 25.5f, 0 },
    { "TURRET6", BaseSquare, Rgb(220, 180, 40), Rgb(70, 56, 20), Rgb(70, 74, 84), Rgb(120, 130, 150), Rgb(160, 255, 120), 2, 25.5f, 1 },
};

// Lit from the upper left: brighter toward that corner of the shape.
static std::function<Colour(int, int)> Lit(Colour base, float spread)
{
    return [=](int x, int y) {
        float u = ((float)x + 0.5f - Mid) / Mid, v = ((float)y + 0.5f - Mid) / Mid;
        return ColourScale(base, 1.0f - (u + v) * spread);
    };
}

// A shaded sphere cap with a specular highlight.
static std::function<Colour(int, int)> Dome(float cx, float cy, float r, Colour base)
{
    return [=](int x, int y) {
        return SphereLight(((float)x + 0.5f - cx) / r, ((float)y + 0.5f - cy) / r, base);
    };
}

static std::vector<Vec2> RegularPolygon(int sides, float radius, float phase, float innerRadius)
{
    std::vector<Vec2> pts;
    for (int i = 0; i < sides; i++) {
        float a = phase + 6.2831853f * (float)i / (float)sides;
        float r = (innerRadius > 0.0f && i % 2 == 1) ? innerRadius : radius;
        pts.push_back({ Mid + std::cos(a) * r, Mid + std::sin(a) * r });
    }
    return pts;
}

static Mask BaseMask(BaseShape shape, float radius)
{
    Mask m = MaskMake(Size, Size);
    std::vector<Vec2> pts;
    switch (shape) {
    case BaseOctagon: pts = RegularPolygon(8, radius, 0.3927f, 0.0f); break;
    case BaseSquare: pts = RegularPolygon(4, radius * 1.25f, 0.7854f, 0.0f); break;
    case BaseStar: pts = RegularPolygon(16, radius * 1.12f, 0.0f, radius * 0.78f); break;
    case BaseRound:
    case BasePod: MaskEllipse(m, Mid, Mid, radius, radius); return m;
    }
    MaskPolygon(m, pts.data(), (int)pts.size());
    return m;
}

static Image DrawTurret(const TurretStyle& s)
{
    Image image = ImageMake(Size, Size, Clear);
    const float radius = 17.0f;

    // Barrels first, so the base and the core sit over their roots.
    for (int d = 0; d < 4; d++) {
        float dx = std::cos(d * 1.5707963f), dy = std::sin(d * 1.5707963f);
        for (int k = 0; k < s.twin; k++) {
            float off = s.twin == 2 ? (k == 0 ? -3.2f : 3.2f) : 0.0f;
            float ox = -dy * off, oy = dx * off;
            float width = s.twin == 2 ? 3.6f : 5.0f;
            Mask b = MaskMake(Size, Size);
            MaskLine(b, Mid + ox, Mid + oy, Mid + ox + dx * (s.barrelLength - 2), Mid + oy + dy * (s.barrelLength - 2), width);
            ImagePaint(image, b, [&](int x, int y) {
                // Round barrels: bright along their middle line.
                float across = (((float)x + 0.5f - Mid - ox) * -dy + ((float)y + 0.5f - Mid - oy) * dx) / (width * 0.5f);
                return ColourScale(s.barrel, 1.15f - across * across * 0.6f - across * 0.2f);
            });
            Mask muzzle = MaskMake(Size, Size);
            float mx = Mid + ox + dx * (s.barrelLength - 3), my = Mid + oy + dy * (s.barrelLength - 3);
            MaskLine(muzzle, mx, my, mx + dx * 1.5f, my + dy * 1.5f, width + 1.6f);
            ImagePaintFlat(image, muzzle, ColourScale(s.barrel, 0.7f));
        }
    }

    Mask rim = BaseMask(s.shape, radius);
    ImagePaint(image, rim, Lit(s.rim, 0.25f));
    Mask plate = BaseMask(s.shape, radius - 2.2f);
    ImagePaint(image, plate, Lit(s.plate, 0.3f));

    if (s.detail == 0) {
        for (int i = 0; i < 8; i++) {
            float a = 0.3927f + i * 0.7854f;
            Mask rivet = MaskMake(Size, Size);
            MaskEllipse(rivet, Mid + std::cos(a) * 12.5f, Mid + std::sin(a) * 12.5f, 1.3f, 1.3f);
            ImagePaint(image, rivet, Dome(Mid + std::cos(a) * 12.5f, Mid + std::sin(a) * 12.5f, 1.3f, ColourScale(s.plate, 1.3f)));
        }
    } else if (s.detail == 1) {
        // Hazard stripes on a ring around the core.
        Mask ring = MaskMake(Size, Size), hole = MaskMake(Size, Size);
        MaskEllipse(ring, Mid, Mid, 14.0f, 14.0f);
        MaskEllipse(hole, Mid, Mid, 10.5f, 10.5f);
        MaskSubtract(ring, hole);
        ImagePaint(image, ring, [&](int x, int y) {
            float t = std::fmod(((float)x + (float)y) / 4.0f + 100.0f, 2.0f);
            return t < 1.0f ? Rgb(240, 200, 40) : Rgb(40, 36, 34);
        });
    } else if (s.detail == 2) {
        // Cooling fins glowing from the heat of the core.
        for (int i = 0; i < 4; i++) {
            float a = 0.7854f + i * 1.5707963f;
            for (int f = -1; f <= 1; f++) {
                float px = -std::sin(a) * f * 2.6f, py = std::cos(a) * f * 2.6f;
                Mask fin = MaskMake(Size, Size);
                MaskLine(fin, Mid + std::cos(a) * 10 + px, Mid + std::sin(a) * 10 + py, Mid + std::cos(a) * 17 + px,
                         Mid + std::sin(a) * 17 + py, 1.4f);
                ImagePaint(image, fin, [&](int x, int y) {
                    float r = std::hypot((float)x + 0.5f - Mid, (float)y + 0.5f - Mid);
                    return ColourMix(Rgb(255, 140, 40), Rgb(90, 80, 80), Smooth(10.0f, 17.0f, r));
                });
            }
        }
    } else {
        // Thorny spikes between the barrels.
        for (int i = 0; i < 4; i++) {
            float a = 0.7854f + i * 1.5707963f;
            Vec2 tri[3] = { { Mid + std::cos(a) * 24.0f, Mid + std::sin(a) * 24.0f },
                            { Mid + std::cos(a + 0.35f) * 14.0f, Mid + std::sin(a + 0.35f) * 14.0f },
                            { Mid + std::cos(a - 0.35f) * 14.0f, Mid + std::sin(a - 0.35f) * 14.0f } };
            Mask spike = MaskMake(Size, Size);
            MaskPolygon(spike, tri, 3);
            ImagePaint(image, spike, Lit(Rgb(190, 230, 120), 0.4f));
        }
    }

    // The core: a collar, a dome and its light.
    Mask collar = MaskMake(Size, Size);
    MaskEllipse(collar, Mid, Mid, 9.5f, 9.5f);
    ImagePaint(image, collar, Lit(ColourScale(s.rim, 1.4f), 0.5f));
    Mask dome = MaskMake(Size, Size);
    MaskEllipse(dome, Mid, Mid, 7.5f, 7.5f);
    ImagePaint(image, dome, Dome(Mid, Mid, 7.5f, s.dome));
    Mask eye = MaskMake(Size, Size);
    MaskEllipse(eye, Mid + 1.5f, Mid + 1.5f, 2.4f, 2.4f);
    ImagePaintFlat(image, eye, s.glow);

    ImageOutline(image, Rgb(14, 14, 22));
    return image;
}

void MakeTurrets(AssetSet& set)
{
    for (const TurretStyle& s : TurretStyleTable)
        AssetAddIndexed(set, s.name, DrawTurret(s), 8, FlattenKeyed);
}
