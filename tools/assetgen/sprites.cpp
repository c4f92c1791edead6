// The small sprites: the player's ship, the enemy hit box, the shot, the HUD icons, the animated pick-ups and the LCD digits.
#include "assets.h"

#include <cmath>
#include <cstring>

static const Colour Clear { 0, 0, 0, 0 };
static const Colour Ink = Rgb(16, 20, 38);   // sprite outlines: dark navy, never the black key

// Hand-placed pixels: each row gives the left half, mirrored onto the right.
static Image PixelArt(const char* const* rows, int height, Colour (*palette)(char))
{
    int half = (int)strlen(rows[0]);
    Image image = ImageMake(half * 2, height, Clear);
    for (int y = 0; y < height; y++)
        for (int x = 0; x < half; x++) {
            Colour c = palette(rows[y][x]);
            ImageAt(image, x, y) = c;
            ImageAt(image, half * 2 - 1 - x, y) = c;
        }
    return image;
}

static Colour ShipPalette(char c)
{
    switch (c) {
    case 'K': return Ink;
    case 'W': return Rgb(236, 242, 255);
    case 'L': return Rgb(170, 186, 214);
    case 'M': return Rgb(92, 110, 150);
    case 'D': return Rgb(52, 62, 100);
    case 'C': return Rgb(110, 230, 255);
    case 'c': return Rgb(30, 110, 170);
    case 'R': return Rgb(230, 60, 50);
    case 'O': return Rgb(255, 150, 40);
    case 'Y': return Rgb(255, 240, 150);
    case 'P': return Rgb(200, 60, 220);
    case 'p': return Rgb(110, 30, 140);
    default: return Clear;
    }
}

void DrawPlayerShip(Image& image, float cx, float top, float s, bool flame)
{
    auto P = [&](float x, float y) { return Vec2 { cx + (x - 16.0f) * s, top + y * s }; };
    auto mirrored = [&](std::initializer_list<Vec2> half) {
        std::vector<Vec2> pts;
        for (Vec2 v : half)
            pts.push_back(P(v.x, v.y));
        for (auto it = std::rbegin(half); it != std::rend(half); ++it)
            pts.push_back(P(32.0f - it->x, it->y));
        return pts;
    };
    int w = image.width, h = image.height;
    // Light falls from the upper left: a side's brightness follows x.
    auto metal = [&](Colour base, float spread) {
        return [=](int x, int y) {
            float u = ((float)x + 0.5f - cx) / (16.0f * s);
            float v = ((float)y + 0.5f - top) / (64.0f * s);
            float k = 1.05f - u * spread - v * 0.25f;
            return ColourScale(base, k);
        };
    };

    if (flame) {
        // Exhaust flames: white at the nozzle, blue at the tip.
        const float flames[3][3] = { { 11, 56, 6.0f }, { 21, 56, 6.0f }, { 16, 57, 7.5f } };
        for (auto& f : flames) {
            Mask m = MaskMake(w, h);
            Vec2 tip[3] = { P(f[0] - 1.6f, f[1]), P(f[0] + 1.6f, f[1]), P(f[0], f[1] + f[2]) };
            MaskPolygon(m, tip, 3);
            MaskEllipse(m, P(f[0], f[1]).x, P(f[0], f[1]).y, 1.6f * s, 1.2f * s);
            float y0 = P(0, f[1]).y, len = f[2] * s;
            ImagePaint(image, m, [=](int, int y) {
                static const Colour fire[] = { Rgb(255, 255, 255), Rgb(140, 230, 255), Rgb(60, 120, 255) };
                return Ramp(fire, 3, ((float)y + 0.5f - y0) / len);
            });
        }
    }

    Mask wings = MaskMake(w, h);
    auto wingPts = mirrored({ { 16, 22 }, { 4, 40 }, { 1, 47 }, { 2, 52 }, { 12, 49 } });
    MaskPolygon(wings, wingPts.data(), (int)wingPts.size());
    ImagePaint(image, wings, metal(Rgb(96, 112, 160), 0.35f));

    // Red leading edges along the wings.
    Mask stripe = MaskMake(w, h);
    MaskLine(stripe, P(13, 27).x, P(13, 27).y, P(3, 43).x, P(3, 43).y, 1.6f * s);
    MaskLine(stripe, P(19, 27).x, P(19, 27).y, P(29, 43).x, P(29, 43).y, 1.6f * s);
    ImagePaintFlat(image, stripe, Rgb(228, 60, 52));

    // Wing-tip cannons.
    Mask guns = MaskMake(w, h);
    MaskRect(guns, P(2.5f, 34).x, P(2.5f, 34).y, P(5, 51).x, P(5, 51).y);
    MaskRect(guns, P(27, 34).x, P(27, 34).y, P(29.5f, 51).x, P(29.5f, 51).y);
    ImagePaint(image, guns, metal(Rgb(170, 180, 200), 0.3f));

    // Engine pods beside the body.
    Mask pods = MaskMake(w, h);
    MaskRect(pods, P(8.5f, 38).x, P(8.5f, 38).y, P(13.5f, 55).x, P(13.5f, 55).y);
    MaskRect(pods, P(18.5f, 38).x, P(18.5f, 38).y, P(23.5f, 55).x, P(23.5f, 55).y);
    ImagePaint(image, pods, metal(Rgb(120, 132, 160), 0.4f));

    Mask body = MaskMake(w, h);
    auto bodyPts = mirrored({ { 16, 0.5f }, { 14.2f, 6 }, { 12.5f, 16 }, { 11.5f, 30 }, { 11, 46 }, { 12.5f, 56 } });
    MaskPolygon(body, bodyPts.data(), (int)bodyPts.size());
    ImagePaint(image, body, metal(Rgb(210, 220, 240), 0.55f));

    // A dark spine line and panel seams give the hull some form.
    Mask seams = MaskMake(w, h);
    MaskLine(seams, P(12, 33).x, P(12, 33).y, P(20, 33).x, P(20, 33).y, 0.8f * s);
    MaskLine(seams, P(16, 30).x, P(16, 30).y, P(16, 54).x, P(16, 54).y, 0.7f * s);
    ImagePaintFlat(image, seams, Rgb(120, 132, 168, 0.8f));

    Mask canopy = MaskMake(w, h);
    MaskEllipse(canopy, P(16, 19).x, P(16, 19).y, 2.9f * s, 7.0f * s);
    ImagePaint(image, canopy, [&](int x, int y) {
        float u = ((float)x + 0.5f - P(14.8f, 16).x) / (2.0f * s), v = ((float)y + 0.5f - P(14.8f, 16).y) / (4.0f * s);
        float shine = std::exp(-(u * u + v * v) * 1.2f);
        return ColourMix(Rgb(20, 90, 160), Rgb(190, 250, 255), shine);
    });

    Mask nozzles = MaskMake(w, h);
    MaskRect(nozzles, P(9.5f, 54).x, P(9.5f, 54).y, P(12.5f, 57).x, P(12.5f, 57).y);
    MaskRect(nozzles, P(19.5f, 54).x, P(19.5f, 54).y, P(22.5f, 57).x, P(22.5f, 57).y);
    MaskRect(nozzles, P(14, 55).x, P(14, 55).y, P(18, 58).x, P(18, 58).y);
    ImagePaintFlat(image, nozzles, Rgb(255, 190, 90));
}

// The player's ship, 32 x 64: drawn on black (its transparent colour), with
// its engines burning and a dark outline that reads on every background.
static Image DrawGun2()
{
    Image image = ImageMake(32, 64, Clear);
    DrawPlayerShip(image, 16.0f, 1.0f, 0.95f, true);
    ImageOutline(image, Ink);
    return image;
}

static Image DrawLife()
{
    static const char* const rows[] = {
        ".......K", "......KW", "......KW", ".....KWC", ".....KWc", ".....KWL", "....KKWL", "...KRKWL",
        "..KRMKWL", ".KRMMKWL", "KRMMMKWL", "KMMDKKML", "KKKK.KMM", ".....KOY", "......KO", ".......K",
    };
    return PixelArt(rows, 16, ShipPalette);
}

// The enemy's hit box; enemies fly as glows, so this only needs the size.
static Image DrawShip()
{
    static const char* const rows[] = {
        "..........", ".KK.......", ".KPK....KK", ".KPpKKKKMM", "..KpMMMMLW",
        "..KpMMMMLW", ".KPpKKKKMM", ".KPK...KCc", ".KK.....Kc", "........KK",
    };
    return PixelArt(rows, 10, ShipPalette);
}

// The shot: a plasma bolt pointing up.
static Image DrawMissile()
{
    Image image = ImageMake(16, 16, Clear);
    ImageGlow(image, 8, 8.5f, 7.5f, Rgb(255, 120, 30), 1.4f, false);
    Mask core = MaskMake(16, 16);
    MaskEllipse(core, 8, 7.5f, 2.2f, 6.0f);
    ImagePaint(image, core, [](int, int y) { return ColourMix(Rgb(255, 255, 255), Rgb(255, 220, 80), (float)y / 15.0f); });
    return image;
}

// The lock-on icon: a red reticle with four ticks around a bright centre.
static Image DrawLockOn()
{
    Image image = ImageMake(16, 16, Clear);
    Mask ring = MaskMake(16, 16), hole = MaskMake(16, 16);
    MaskEllipse(ring, 8, 8, 6.6f, 6.6f);
    MaskEllipse(hole, 8, 8, 4.9f, 4.9f);
    MaskSubtract(ring, hole);
    Mask gaps = MaskMake(16, 16);
    MaskRect(gaps, 6.5f, 0, 9.5f, 16);
    MaskRect(gaps, 0, 6.5f, 16, 9.5f);
    MaskSubtract(ring, gaps);
    ImagePaintFlat(image, ring, Rgb(255, 70, 50));
    Mask ticks = MaskMake(16, 16);
    MaskRect(ticks, 7, 0, 9, 5);
    MaskRect(ticks, 7, 11, 9, 16);
    MaskRect(ticks, 0, 7, 5, 9);
    MaskRect(ticks, 11, 7, 16, 9);
    ImagePaintFlat(image, ticks, Rgb(255, 210, 80));
    Mask dot = MaskMake(16, 16);
    MaskRect(dot, 7, 7, 9, 9);
    ImagePaintFlat(image, dot, Rgb(255, 255, 255));
    return image;
}

// Sixteen frames of a cyan power orb with a "P", a pulsing halo and a spark
// circling it once per loop.
static Image DrawPowerUp()
{
    Image strip = ImageMake(256, 16, Clear);
    static const char* const letter[] = { "###.", "#..#", "###.", "#...", "#..." };
    for (int i = 0; i < 16; i++) {
        float t = (float)i / 16.0f * 6.2831853f;
        float ox = (float)(i * 16) + 8.0f, oy = 8.0f;
        ImageGlow(strip, ox, oy, 7.8f + 0.6f * std::sin(2 * t), Rgb(40, 120, 255), 0.8f, false);
        Mask orb = MaskMake(256, 16);
        MaskEllipse(orb, ox, oy, 5.6f, 5.6f);
        ImagePaint(strip, orb, [&](int x, int y) {
            float u = (x + 0.5f - ox + 2.0f) / 5.6f, v = (y + 0.5f - oy + 2.0f) / 5.6f;
            float shine = Clamp01(1.0f - (u * u + v * v) * 0.6f);
            return ColourMix(Rgb(20, 90, 220), Rgb(170, 250, 255), shine);
        });
        for (int r = 0; r < 5; r++)
            for (int c = 0; c < 4; c++)
                if (letter[r][c] == '#')
                    ImageBlendPixel(strip, (int)ox - 2 + c, (int)oy - 2 + r, Rgb(255, 255, 255), 1.0f);
        float sx = ox + std::cos(t) * 6.5f, sy = oy + std::sin(t) * 2.6f;
        if (std::sin(t) > -0.2f)   // the spark passes behind the orb on the far side
            ImageGlow(strip, sx, sy, 2.6f, Rgb(255, 255, 200), 1.2f, false);
    }
    return strip;
}

// Sixteen frames of a spinning gold medal with the ship on its face and a
// star on its back.
static Image DrawExtraLife()
{
    Image strip = ImageMake(256, 16, Clear);
    Image emblem = DrawLife();
    for (int i = 0; i < 16; i++) {
        float t = (float)i / 16.0f * 6.2831853f;
        float c = std::cos(t);
        float ox = (float)(i * 16) + 8.0f, oy = 8.0f;
        float rx = std::max(0.9f, 7.2f * std::fabs(c));
        Mask rim = MaskMake(256, 16);
        MaskEllipse(rim, ox + (c >= 0 ? -0.6f : 0.6f) * (1.0f - std::fabs(c)), oy, rx + 0.8f * (1.0f - std::fabs(c)), 7.3f);
        ImagePaintFlat(strip, rim, Rgb(150, 90, 20));
        Mask face = MaskMake(256, 16);
        MaskEllipse(face, ox, oy, rx, 7.0f);
        ImagePaint(strip, face, [&](int x, int y) {
            float u = (x + 0.5f - ox) / 7.2f, v = (y + 0.5f - oy) / 7.0f;
            float shine = Clamp01(0.75f - (u + v) * 0.45f + 0.25f * c);
            return ColourMix(Rgb(190, 120, 20), Rgb(255, 240, 140), shine);
        });
        if (std::fabs(c) < 0.3f)
            continue;
        // The face's emblem, squeezed with the spin.
        for (int y = 2; y < 14; y++) {
            for (int x = 0; x < 16; x++) {
                float sx = 8.0f + ((float)x + 0.5f - 8.0f) / (std::fabs(c) * 0.8f);
                bool front = c > 0;
                Colour px = Clear;
                if (front) {
                    int ex = (int)std::floor(sx), ey = (int)((y - 2) * 16 / 12);
                    if (ex >= 0 && ex < 16)
                        px = ImageAt(emblem, ex, ey);
                } else {
                    float u = (sx - 8.0f) / 4.5f, v = (y + 0.5f - 8.0f) / 4.5f;
                    float a = std::atan2(v, u), r = std::sqrt(u * u + v * v);
                    if (r < 0.45f + 0.55f * std::pow(std::fabs(std::cos(2.5f * a)), 3.0f))
                        px = Rgb(255, 255, 230);
                }
                if (px.a > 0.5f)
                    ImageBlendPixel(strip, i * 16 + x, y, front ? ColourMix(px, Rgb(120, 70, 10), 0.35f) : px, 1.0f);
            }
        }
    }
    return strip;
}

// Seven-segment digits "0123456789:-." in cells of 13 x 23, lit segments
// bright green over faint unlit ones.
static Image DrawLcdNumeric()
{
    Image image = ImageMake(169, 23, Clear);
    static const char* const cells = "0123456789:-.";
    static const uint8_t segments[10] = { 0x3F, 0x06, 0x5B, 0x4F, 0x66, 0x6D, 0x7D, 0x07, 0x7F, 0x6F };
    for (int i = 0; i < 13; i++) {
        float x0 = (float)(i * 13) + 1.5f, y0 = 1.5f;
        auto bar = [&](int seg, bool lit) {
            float a[7][4] = { { 2, 0, 8, 2 }, { 8, 2, 10, 9.5f }, { 8, 10.5f, 10, 18 }, { 2, 18, 8, 20 },
                              { 0, 10.5f, 2, 18 }, { 0, 2, 2, 9.5f }, { 2, 9, 8, 11 } };
            Mask m = MaskMake(169, 23);
            MaskRect(m, x0 + a[seg][0] + 0.3f, y0 + a[seg][1] + 0.3f, x0 + a[seg][2] - 0.3f, y0 + a[seg][3] - 0.3f);
            ImagePaintFlat(image, m, lit ? Rgb(120, 255, 140) : Rgb(24, 58, 34));
        };
        char c = cells[i];
        if (c >= '0' && c <= '9') {
            for (int s = 0; s < 7; s++)
                bar(s, (segments[c - '0'] >> s) & 1);
        } else if (c == '-') {
            bar(6, true);
        } else {
            Mask m = MaskMake(169, 23);
            if (c == ':') {
                MaskRect(m, x0 + 4, y0 + 5, x0 + 6, y0 + 7);
                MaskRect(m, x0 + 4, y0 + 13, x0 + 6, y0 + 15);
            } else {
                MaskRect(m, x0 + 4, y0 + 18, x0 + 6, y0 + 20);
            }
            ImagePaintFlat(image, m, Rgb(120, 255, 140));
        }
    }
    return image;
}

void MakeSprites(AssetSet& set)
{
    AssetAddIndexed(set, "GUN2", DrawGun2(), 8, FlattenKeyed);
    AssetAddIndexed(set, "SHIP", DrawShip(), 8, FlattenKeyed);
    AssetAddIndexed(set, "MISSILE", DrawMissile(), 4, FlattenKeyed);
    AssetAddIndexed(set, "LOCKON", DrawLockOn(), 4, FlattenKeyed);
    AssetAddIndexed(set, "LIFE", DrawLife(), 8, FlattenKeyed);
    AssetAddIndexed(set, "POWERUP", DrawPowerUp(), 8, FlattenKeyed);
    AssetAddIndexed(set, "EXTRALIFE", DrawExtraLife(), 8, FlattenKeyed);
    AssetAddIndexed(set, "LCDNUMERIC", DrawLcdNumeric(), 8, FlattenKeyed);
}
