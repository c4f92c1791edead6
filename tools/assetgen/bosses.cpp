// The four bosses and their wrecked twins: a satellite, a tentacled beast, a many-eyed hull and a spore hive, parts placed on their hit boxes.
#include "assets.h"

#include <cmath>

static const Colour Clear { 0, 0, 0, 0 };

const BossLayout BossLayoutTable[4] = {
    { "SATELITE1", "SATELITE2", 158, 76, 3,
      { { 21, 59, 34, 74 }, { 66, 55, 87, 66 }, { 118, 59, 134, 75 } },
      { { 0, 23, 34, 74 }, { 63, 38, 102, 66 }, { 118, 31, 150, 75 } } },
    { "TENTACLE1", "TENTACLE2", 158, 82, 4,
      { { 10, 50, 20, 60 }, { 65, 45, 75, 55 }, { 82, 45, 92, 55 }, { 136, 50, 146, 60 } },
      { { 0, 35, 30, 65 }, { 55, 20, 78, 62 }, { 78, 20, 98, 62 }, { 125, 33, 155, 62 } } },
    { "EYE1", "EYE2", 157, 79, 4,
      { { 10, 22, 28, 45 }, { 30, 25, 50, 52 }, { 108, 25, 128, 52 }, { 128, 22, 148, 45 } },
      { { 10, 0, 28, 79 }, { 30, 0, 50, 79 }, { 108, 0, 128, 79 }, { 128, 0, 148, 79 } } },
    { "POO1", "POO2", 158, 76, 4,
      { { 1, 30, 13, 42 }, { 20, 41, 42, 53 }, { 130, 43, 142, 55 }, { 144, 30, 156, 42 } },
      { { 1, 0, 15, 76 }, { 20, 0, 36, 76 }, { 125, 0, 142, 76 }, { 143, 0, 158, 76 } } },
};

// Shades an ellipse's area as a lit sphere (lumps outside the ellipse keep its rim shade).
static std::function<Colour(int, int)> Bulge(float cx, float cy, float rx, float ry, Colour base)
{
    return [=](int x, int y) {
        float dx = ((float)x + 0.5f - cx) / rx, dy = ((float)y + 0.5f - cy) / ry;
        float r = std::sqrt(dx * dx + dy * dy);
        if (r > 0.98f)
            dx *= 0.98f / r, dy *= 0.98f / r;
        return SphereLight(dx, dy, base);
    };
}

// An ellipse with a lumpy edge.
static Mask Blob(int w, int h, float cx, float cy, float rx, float ry, float lump, uint32_t seed)
{
    Mask m = MaskMake(w, h);
    std::vector<Vec2> pts;
    for (int i = 0; i < 96; i++) {
        float a = 6.2831853f * (float)i / 96.0f;
        float k = 1.0f + lump * Noise(std::cos(a) * 2.0f + 4.0f, std::sin(a) * 2.0f + 4.0f, 64, 64, seed);
        pts.push_back({ cx + std::cos(a) * rx * k, cy + std::sin(a) * ry * k });
    }
    MaskPolygon(m, pts.data(), (int)pts.size());
    return m;
}

static void Ellipse(Image& image, float cx, float cy, float rx, float ry, const std::function<Colour(int, int)>& fn)
{
    Mask m = MaskMake(image.width, image.height);
    MaskEllipse(m, cx, cy, rx, ry);
    ImagePaint(image, m, fn);
}

static void Flat(Image& image, float cx, float cy, float rx, float ry, Colour c)
{
    Ellipse(image, cx, cy, rx, ry, [=](int, int) { return c; });
}

static void Box(Image& image, float x0, float y0, float x1, float y1, const std::function<Colour(int, int)>& fn)
{
    Mask m = MaskMake(image.width, image.height);
    MaskRect(m, x0, y0, x1, y1);
    ImagePaint(image, m, fn);
}

// Metal lit from the upper left across a box.
static std::function<Colour(int, int)> Metal(float x0, float y0, float x1, float y1, Colour base)
{
    return [=](int x, int y) {
        float u = ((float)x + 0.5f - x0) / (x1 - x0), v = ((float)y + 0.5f - y0) / (y1 - y0);
        float k = 1.25f - 0.5f * u - 0.45f * v;
        if (u < 0.08f || v < 0.08f)
            k += 0.25f;
        return ColourScale(base, k);
    };
}

static void Line(Image& image, float x0, float y0, float x1, float y1, float width, Colour c)
{
    Mask m = MaskMake(image.width, image.height);
    MaskLine(m, x0, y0, x1, y1, width);
    ImagePaintFlat(image, m, c);
}

// A gun pod: a rounded metal housing with a barrel pointing down.
static void GunPod(Image& image, float x0, float y0, float x1, float y1, Colour base, Colour light)
{
    float cx = (x0 + x1) * 0.5f;
    Box(image, cx - 2.0f, y1 - 4.0f, cx + 2.0f, y1 + 1.0f, Metal(cx - 2, y1 - 4, cx + 2, y1 + 1, Rgb(150, 150, 160)));
    Mask m = MaskMake(image.width, image.height);
    MaskEllipse(m, cx, (y0 + y1) * 0.5f - 1.0f, (x1 - x0) * 0.5f, (y1 - y0) * 0.5f - 1.0f);
    ImagePaint(image, m, Bulge(cx, (y0 + y1) * 0.5f - 1.0f, (x1 - x0) * 0.5f, (y1 - y0) * 0.5f - 1.0f, base));
    Flat(image, cx, (y0 + y1) * 0.5f, 2.2f, 2.2f, light);
}

// An eye: a shaded ball, a radial iris with a slit pupil, a glint.
static void Eye(Image& image, float cx, float cy, float rx, float ry, Colour iris)
{
    Flat(image, cx, cy, rx + 1.5f, ry + 1.5f, Rgb(60, 16, 20));
    Ellipse(image, cx, cy, rx, ry, Bulge(cx, cy, rx, ry, Rgb(236, 226, 200)));
    float ir = std::min(rx, ry) * 0.62f;
    Ellipse(image, cx, cy + ry * 0.06f, ir, ir, [=](int x, int y) {
        float r = std::hypot((float)x + 0.5f - cx, (float)y + 0.5f - cy - ry * 0.06f) / ir;
        return ColourMix(ColourScale(iris, 1.3f), ColourScale(iris, 0.55f), r);
    });
    Flat(image, cx, cy + ry * 0.06f, ir * 0.25f, ir * 0.8f, Rgb(28, 8, 10));
    Flat(image, cx - rx * 0.35f, cy - ry * 0.4f, std::max(1.0f, rx * 0.16f), std::max(1.0f, ry * 0.14f), Rgb(255, 255, 255));
}

static Image DrawSatellite()
{
    Image im = ImageMake(158, 76, Clear);
    // Trusses carrying the wings and pods.
    Box(im, 6, 35, 152, 40, Metal(6, 35, 152, 40, Rgb(120, 124, 136)));
    for (float x = 10; x < 150; x += 8)
        Line(im, x, 35.5f, x + 4, 39.5f, 0.9f, Rgb(70, 74, 86));
    Line(im, 27.5f, 40, 27.5f, 58, 3.0f, Rgb(110, 114, 126));
    Line(im, 126.0f, 40, 126.0f, 58, 3.0f, Rgb(110, 114, 126));
    // Solar wings: blue cells in a silver frame.
    for (float x0 : { 3.0f, 105.0f }) {
        Box(im, x0, 22, x0 + 50, 52, [](int, int) { return Rgb(190, 196, 210); });
        Box(im, x0 + 1.5f, 23.5f, x0 + 48.5f, 50.5f, [=](int x, int y) {
            bool seam = ((x - (int)x0) % 6 == 1) || (y % 6 == 4);
            float glint = Clamp01(1.0f - std::fabs(((float)x - x0) - ((float)y - 22.0f) * 1.3f - 12.0f) / 8.0f);
            Colour c = seam ? Rgb(140, 160, 200) : ColourMix(Rgb(30, 50, 130), Rgb(70, 120, 220), (float)(y - 22) / 30.0f);
            return ColourMix(c, Rgb(200, 230, 255), glint * 0.5f);
        });
    }
    // Antenna and beacon.
    Line(im, 79, 3, 79, 14, 1.8f, Rgb(180, 184, 196));
    Line(im, 72, 8, 86, 8, 1.2f, Rgb(150, 154, 166));
    ImageGlow(im, 79, 3, 4.0f, Rgb(255, 60, 40), 1.2f, false);
    // The core: a banded sphere.
    Ellipse(im, 79, 33, 23, 22, [](int x, int y) {
        Colour band = (y % 9 < 2) ? Rgb(120, 126, 140) : Rgb(196, 200, 212);
        return SphereLight(((float)x + 0.5f - 79.0f) / 23.0f, ((float)y + 0.5f - 33.0f) / 22.0f, band);
    });
    Ellipse(im, 79, 30, 9, 9, Bulge(79, 30, 9, 9, Rgb(40, 200, 255)));
    ImageGlow(im, 79, 30, 13, Rgb(60, 200, 255), 0.5f, false);
    // The spark vent.
    Box(im, 76, 47, 87, 51, [](int, int) { return Rgb(40, 30, 34); });
    ImageGlow(im, 81.5f, 49, 5, Rgb(255, 150, 40), 1.0f, false);
    // Centre cannon and the two side pods.
    Box(im, 64, 52, 89, 66, Metal(64, 52, 89, 66, Rgb(150, 156, 172)));
    Box(im, 70, 64, 74, 70, Metal(70, 64, 74, 70, Rgb(110, 110, 120)));
    Box(im, 79, 64, 83, 70, Metal(79, 64, 83, 70, Rgb(110, 110, 120)));
    Flat(im, 76.5f, 58.5f, 3, 3, Rgb(255, 80, 60));
    GunPod(im, 19, 55, 36, 74, Rgb(200, 90, 60), Rgb(255, 220, 120));
    GunPod(im, 117, 55, 135, 74, Rgb(200, 90, 60), Rgb(255, 220, 120));
    ImageOutline(im, Rgb(16, 18, 28));
    return im;
}

// A thick curved limb: circles along a quadratic curve, thinning toward its tip.
static void Limb(Image& im, Vec2 a, Vec2 b, Vec2 c, float r0, float r1, Colour base)
{
    for (int i = 0; i <= 40; i++) {
        float t = (float)i / 40.0f, u = 1.0f - t;
        float x = u * u * a.x + 2 * u * t * b.x + t * t * c.x, y = u * u * a.y + 2 * u * t * b.y + t * t * c.y;
        float r = r0 + (r1 - r0) * t;
        Colour ring = (i % 6 < 2) ? ColourScale(base, 0.8f) : base;
        Ellipse(im, x, y, r, r, Bulge(x, y, r, r, ring));
    }
}

static Image DrawTentacle()
{
    Image im = ImageMake(158, 82, Clear);
    Colour skin = Rgb(150, 60, 170), dark = Rgb(100, 36, 120);
    for (float x : { 60.0f, 70.0f, 88.0f, 98.0f })
        Limb(im, { x, 50 }, { x + (x < 79 ? -8.0f : 8.0f), 66 }, { x + (x < 79 ? 2.0f : -2.0f), 80 }, 3.6f, 1.4f, dark);
    Limb(im, { 52, 36 }, { 30, 30 }, { 16, 53 }, 7.0f, 4.0f, skin);
    Limb(im, { 106, 36 }, { 128, 30 }, { 141, 53 }, 7.0f, 4.0f, skin);
    // Stinger claws at the limb ends.
    for (float cx : { 15.0f, 141.0f }) {
        for (int k = -1; k <= 1; k++)
            Line(im, cx, 55, cx + k * 5.0f, 61.5f, 2.0f, Rgb(255, 210, 230));
        Ellipse(im, cx, 55, 5.5f, 5.5f, Bulge(cx, 55, 5.5f, 5.5f, Rgb(255, 90, 170)));
    }
    Mask mantle = Blob(158, 82, 79, 27, 37, 25, 0.06f, 121);
    ImagePaint(im, mantle, [&](int x, int y) {
        float spots = Smooth(0.35f, 0.6f, Fbm((float)x / 7.0f, (float)y / 7.0f, 64, 64, 3, 122));
        Colour c = ColourMix(skin, Rgb(230, 120, 220), spots * 0.6f);
        return Bulge(79, 27, 37, 25, c)(x, y);
    });
    Ellipse(im, 79, 46, 25, 9, Bulge(79, 46, 25, 9, dark));
    // Glowing crest along the mantle.
    for (int i = 0; i < 5; i++)
        ImageGlow(im, 63.0f + i * 8.0f, 14.0f + std::fabs(i - 2.0f) * 3.0f, 3.5f, Rgb(120, 255, 200), 1.0f, false);
    Eye(im, 70, 50, 5.6f, 5.6f, Rgb(140, 240, 60));
    Eye(im, 87, 50, 5.6f, 5.6f, Rgb(140, 240, 60));
    ImageOutline(im, Rgb(30, 10, 36));
    return im;
}

static Image DrawEyeHull()
{
    Image im = ImageMake(157, 79, Clear);
    Colour armour = Rgb(140, 54, 42);
    Mask hull = MaskMake(157, 79), core = MaskMake(157, 79);
    MaskEllipse(hull, 78.5f, 36, 76, 21);
    MaskEllipse(core, 78.5f, 40, 37, 38);
    MaskUnion(hull, core);
    // Horns above and spikes below.
    for (float x : { 20.0f, 44.0f, 113.0f, 137.0f }) {
        Vec2 horn[3] = { { x - 5, 22 }, { x + 5, 22 }, { x + (x < 78 ? -3.0f : 3.0f), 5 } };
        MaskPolygon(hull, horn, 3);
        Vec2 spike[3] = { { x - 4, 50 }, { x + 4, 50 }, { x, 70 } };
        MaskPolygon(hull, spike, 3);
    }
    ImagePaint(im, hull, [&](int x, int y) {
        float plates = (std::abs(x - 78) % 14 < 1 || (y + std::abs(x - 78) / 4) % 11 < 1) ? 0.7f : 1.0f;
        float u = ((float)x - 78.5f) / 78.0f, v = ((float)y - 38.0f) / 38.0f;
        float k = (1.1f - 0.35f * v - 0.15f * u) * plates;
        return ColourScale(armour, k);
    });
    // Sockets and eyes: four small ones are the parts, the great eye is the heart.
    Eye(im, 19, 33.5f, 8.0f, 10.5f, Rgb(255, 200, 40));
    Eye(im, 40, 38.5f, 9.0f, 12.5f, Rgb(255, 150, 30));
    Eye(im, 118, 38.5f, 9.0f, 12.5f, Rgb(255, 150, 30));
    Eye(im, 138, 33.5f, 8.0f, 10.5f, Rgb(255, 200, 40));
    Eye(im, 78.5f, 40, 25, 25, Rgb(230, 40, 40));
    ImageOutline(im, Rgb(30, 8, 10));
    return im;
}

static Image DrawHive()
{
    Image im = ImageMake(158, 76, Clear);
    Colour hide = Rgb(122, 96, 52), pus = Rgb(150, 240, 60);
    // Arms out to the outer pods.
    Ellipse(im, 20, 38, 14, 7, Bulge(20, 38, 14, 7, ColourScale(hide, 0.85f)));
    Ellipse(im, 138, 40, 14, 7, Bulge(138, 40, 14, 7, ColourScale(hide, 0.85f)));
    // Lumps on the back, then the body.
    const float lumps[][3] = { { 50, 18, 16 }, { 79, 12, 18 }, { 108, 18, 16 }, { 64, 26, 14 }, { 94, 26, 14 } };
    for (auto& l : lumps)
        ImagePaint(im, Blob(158, 76, l[0], l[1], l[2], l[2] * 0.8f, 0.12f, (uint32_t)l[0]),
                   Bulge(l[0], l[1], l[2], l[2] * 0.8f, ColourScale(hide, 0.95f)));
    Mask body = Blob(158, 76, 79, 40, 58, 27, 0.08f, 131);
    ImagePaint(im, body, [&](int x, int y) {
        float mottle = Fbm((float)x / 6.0f, (float)y / 6.0f, 64, 64, 3, 132) * 0.25f;
        return Bulge(79, 40, 58, 27, ColourScale(hide, 1.0f + mottle))(x, y);
    });
    // Small glowing pustules over the hide.
    Rng rng = RngMake(133);
    for (int i = 0; i < 14; i++) {
        float x = RngRange(&rng, 40, 118), y = RngRange(&rng, 8, 36);
        Ellipse(im, x, y, 1.8f, 1.8f, Bulge(x, y, 1.8f, 1.8f, pus));
    }
    // The maw.
    Ellipse(im, 79, 52, 15, 8, [](int, int) { return Rgb(70, 14, 20); });
    for (int i = 0; i < 6; i++) {
        float x = 68.0f + i * 4.5f;
        Vec2 top[3] = { { x - 1.8f, 45.5f }, { x + 1.8f, 45.5f }, { x, 50.5f } };
        Vec2 bottom[3] = { { x + 0.5f, 58.5f }, { x + 3.5f, 58.5f }, { x + 2.0f, 54 } };
        Mask t = MaskMake(158, 76);
        MaskPolygon(t, top, 3);
        MaskPolygon(t, bottom, 3);
        ImagePaintFlat(im, t, Rgb(240, 226, 190));
    }
    ImageGlow(im, 79, 53, 7, Rgb(255, 80, 40), 0.6f, false);
    // The four spore pods.
    Ellipse(im, 7, 36, 6.2f, 6.2f, Bulge(7, 36, 6.2f, 6.2f, pus));
    // The long pod ends where its wreck area does (x 36): hull, not a live
    // sliver of pod, is left beside the hole once it is shot away.
    Ellipse(im, 28, 47, 8.0f, 6.5f, Bulge(28, 47, 8.0f, 6.5f, pus));
    Ellipse(im, 136, 49, 6.2f, 6.2f, Bulge(136, 49, 6.2f, 6.2f, pus));
    Ellipse(im, 150, 36, 6.2f, 6.2f, Bulge(150, 36, 6.2f, 6.2f, pus));
    ImageOutline(im, Rgb(26, 20, 10));
    return im;
}

// Distance from (x, y) to the rectangle's border, positive inside.
static float Inside(const BossRect& r, float x, float y)
{
    return std::min(std::min(x - r.left, r.right - x), std::min(y - r.top, r.bottom - y));
}

// The wrecked twin: each part blown apart, scorched and burning inside its
// wreck area, the hull around it charred. At the edges of the wreck areas
// the twin matches the intact picture, so a wrecked part drops in without a seam.
static Image Wreck(const Image& intact, const BossLayout& layout, uint32_t seed)
{
    Image out = intact;
    for (int y = 0; y < out.height; y++) {
        for (int x = 0; x < out.width; x++) {
            Colour& c = ImageAt(out, x, y);
            if (c.a < 0.5f)
                continue;
            float px = x + 0.5f, py = y + 0.5f;
            float heavy = 0.0f, nearest = 1e9f, blast = 0.0f;   // inside a wreck area, distance to one, near a part
            for (int k = 0; k < layout.parts; k++) {
                float d = Inside(layout.damage[k], px, py);
                heavy = std::max(heavy, Smooth(0.0f, 5.0f, d));
                nearest = std::min(nearest, std::fabs(d));
                const BossRect& h = layout.hit[k];
                float hx = (h.left + h.right) * 0.5f, hy = (h.top + h.bottom) * 0.5f;
                float rx = (h.right - h.left) * 0.5f + 3.0f, ry = (h.bottom - h.top) * 0.5f + 3.0f;
                float e = std::sqrt((px - hx) * (px - hx) / (rx * rx) + (py - hy) * (py - hy) / (ry * ry));
                blast = std::max(blast, (1.0f - Smooth(0.6f, 1.3f, e)) * Smooth(0.0f, 3.0f, Inside(layout.damage[k], px, py)));
            }
            float n = Fbm(px / 9.0f, py / 9.0f, 64, 64, 4, seed) * 0.5f + 0.5f;
            // Patchy soot over the whole hull, none within a few pixels of a
            // wreck area's edge; heavier around each part.
            float fade = heavy > 0.0f ? heavy : Smooth(0.0f, 5.0f, nearest);
            float soot = Smooth(0.45f, 0.8f, n) * 0.6f * fade + blast * 0.9f;
            c = ColourMix(c, Rgb(30, 22, 18), Clamp01(soot) * 0.8f);
            if (blast > 0.0f) {
                float rag = Fbm(px / 4.0f, py / 4.0f, 64, 64, 3, seed + 1) * 0.5f + 0.5f;
                float hole = blast * (0.55f + rag);
                if (hole > 0.95f)
                    c.a = 0.0f;                                                   // blown away
                else if (hole > 0.86f)
                    c = ColourMix(Rgb(255, 110, 20), Rgb(255, 220, 110), rag);   // burning edge
                else if (hole > 0.6f && rag > 0.62f)
                    c = Rgb(200, 70, 20);                                         // embers in the char
            }
        }
    }
    // Cracks running across the charred plates.
    Rng rng = RngMake(seed);
    for (int k = 0; k < layout.parts; k++) {
        const BossRect& d = layout.damage[k];
        for (int i = 0; i < 4; i++) {
            float x = RngRange(&rng, d.left + 4.0f, d.right - 4.0f), y = RngRange(&rng, d.top + 4.0f, d.bottom - 4.0f);
            for (int s = 0; s < 6; s++) {
                float nx = x + RngRange(&rng, -3, 3), ny = y + RngRange(&rng, -3, 3);
                if (Inside(d, nx, ny) < 4.0f)
                    break;
                for (int t = 0; t <= 4; t++) {
                    int cx = (int)(x + (nx - x) * t / 4.0f), cy = (int)(y + (ny - y) * t / 4.0f);
                    if (ImageAt(out, cx, cy).a >= 0.5f)
                        ImageAt(out, cx, cy) = Rgb(255, 150, 40);
                }
                x = nx, y = ny;
            }
        }
    }
    ImageOutline(out, Rgb(20, 14, 12));
    return out;
}

void MakeBosses(AssetSet& set)
{
    Image (*draw[4])() = { DrawSatellite, DrawTentacle, DrawEyeHull, DrawHive };
    for (int i = 0; i < 4; i++) {
        const BossLayout& layout = BossLayoutTable[i];
        Image intact = draw[i]();
        AssetAddIndexed(set, layout.intact, intact, 8, FlattenKeyed);
        AssetAddIndexed(set, layout.damaged, Wreck(intact, layout, 140 + i), 8, FlattenKeyed);
    }
}
