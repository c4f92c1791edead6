// Review pictures: the contact sheet, each stage's layers composed as the game composes them, the screens with their texts' places, the glows coloured.
#include "assets.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

// A 565 frame as the game holds it.
struct Frame {
    int width, height;
    std::vector<uint16_t> px;
};

static uint16_t Make565(int r, int g, int b)
{
    return (uint16_t)(((r >> 3) << 11) + ((g >> 2) << 5) + (b >> 3));
}

static void Split565(uint16_t p, int* r, int* g, int* b)
{
    *r = (p >> 8) & 0xF8, *g = (p >> 3) & 0xFC, *b = (p & 31) * 8;
}

static Frame FrameFromResource(const Resource& r)
{
    Frame f { r.width, r.height, std::vector<uint16_t>(r.shown.size()) };
    for (size_t i = 0; i < r.shown.size(); i++)
        f.px[i] = Make565(r.shown[i].r, r.shown[i].g, r.shown[i].b);
    return f;
}

static std::vector<Rgb8> FrameRgb(const Frame& f)
{
    std::vector<Rgb8> out(f.px.size());
    for (size_t i = 0; i < f.px.size(); i++) {
        int r, g, b;
        Split565(f.px[i], &r, &g, &b);
        out[i] = Rgb8 { (uint8_t)(r | r >> 5), (uint8_t)(g | g >> 6), (uint8_t)(b | b >> 5) };
    }
    return out;
}

// A layer as the parallax builds it: scaled by its weight, tiled from the
// top-left over 240 columns, shown from row offset.
static uint16_t LayerPixel(const Frame& layer, float weight, int x, int y)
{
    uint16_t p = layer.px[(size_t)(y % layer.height) * layer.width + (x % layer.width)];
    int r, g, b;
    Split565(p, &r, &g, &b);
    return Make565((int)((float)r * weight), (int)((float)g * weight), (int)((float)b * weight));
}

// The glow renderer's colouring of a grey image: bright pixels take the start
// colour, dark ones the end colour and blend more weakly (screen blend).
static void Glow(Frame& dst, const Frame& grey, int x, int y, int w, int h, Rgb8 start, Rgb8 end, int level)
{
    uint16_t palette[256];
    int weight[256];
    for (int i = 0; i < 256; i++) {
        int ch[3];
        int s[3] = { start.r, start.g, start.b }, e[3] = { end.r, end.g, end.b };
        for (int k = 0; k < 3; k++) {
            int p = (s[k] - e[k]) * i + 128;
            ch[k] = e[k] + ((p + (p >> 8)) >> 8);
        }
        palette[i] = Make565(ch[0], ch[1], ch[2]);
        weight[i] = (level * i) >> 8;
    }
    uint16_t key = grey.px[0];
    int sx = 4194304 / w, sy = 4194304 / h;
    for (int j = 0; j < h; j++) {
        for (int k = 0; k < w; k++) {
            int dx = x + k, dy = y + j;
            if (dx < 0 || dy < 0 || dx >= dst.width || dy >= dst.height)
                continue;
            uint16_t raw = grey.px[(size_t)((j * sy) >> 16) * 64 + ((k * sx) >> 16)];
            if (raw == key)
                continue;
            int gr, gg, gb;
            Split565(raw, &gr, &gg, &gb);
            int g = (int)(0.114 * gb + 0.587 * gg + 0.299 * gr);
            uint16_t& d = dst.px[(size_t)dy * dst.width + dx];
            int fields[3][3] = { { 11, 31, 5 }, { 5, 63, 6 }, { 0, 31, 5 } };
            uint16_t out = 0;
            for (auto& f : fields) {
                int M = f[1], pc = (palette[g] >> f[0]) & M, dc = (d >> f[0]) & M;
                int t = M - (((M - pc) * (M - dc)) >> f[2]);
                int q = (t - dc) * weight[g] + 128;
                out |= (uint16_t)((dc + ((q + (q >> 8)) >> 8)) << f[0]);
            }
            d = out;
        }
    }
}

// Keyed copy: pixels of the image's key colour are skipped.
static void Keyed(Frame& dst, const Frame& src, int x, int y, uint16_t key)
{
    for (int j = 0; j < src.height; j++)
        for (int k = 0; k < src.width; k++) {
            uint16_t p = src.px[(size_t)j * src.width + k];
            int dx = x + k, dy = y + j;
            if (p != key && dx >= 0 && dy >= 0 && dx < dst.width && dy < dst.height)
                dst.px[(size_t)dy * dst.width + dx] = p;
        }
}

struct StageLook {
    const char *back, *front;
    float backWeight, frontWeight;
    const char* turret;
};

static const StageLook StageLookTable[6] = {
    { "BK3", "FG3", 0.75f, 0.25f, "TURRET5" }, { "BK1", "FG1", 0.85f, 0.15f, "TURRET1" },
    { "BK5", "FG3", 0.85f, 0.15f, "TURRET3" }, { "BK6", "BK4", 0.5f, 0.5f, "TURRET6" },
    { "BK4", "FG3", 0.75f, 0.25f, "TURRET4" }, { "BK2", "FG1", 0.85f, 0.15f, "TURRET2" },
};

// One stage as play shows it: both layers, a turret, enemy glows, shots, the ship.
static Frame StageFrame(const AssetSet& set, int stage, int backOffset, int frontOffset, bool actors)
{
    const StageLook& s = StageLookTable[stage];
    Frame back = FrameFromResource(*AssetFind(set, s.back)), front = FrameFromResource(*AssetFind(set, s.front));
    Frame f { 240, 320, std::vector<uint16_t>(240 * 320) };
    for (int y = 0; y < 320; y++)
        for (int x = 0; x < 240; x++)
            f.px[(size_t)y * 240 + x] = (uint16_t)(LayerPixel(back, s.backWeight, x, y + backOffset) +
                                                   LayerPixel(front, s.frontWeight, x, y + frontOffset));
    if (!actors || !AssetFind(set, s.turret) || !AssetFind(set, "FLARE") || !AssetFind(set, "GUN2"))
        return f;
    Frame turret = FrameFromResource(*AssetFind(set, s.turret));
    Keyed(f, turret, 150, 150, turret.px[0]);
    Frame flare = FrameFromResource(*AssetFind(set, "FLARE")), spark = FrameFromResource(*AssetFind(set, "SPARK"));
    Glow(f, flare, 176 - 32, 176 - 32, 64, 64, { 255, 255, 255 }, { 255, 255, 0 }, 255);
    for (int i = 0; i < 3; i++) {
        int ex = 50 + i * 40, ey = 70 + (i % 2) * 20;
        Glow(f, flare, ex - 16, ey - 16, 32, 32, { 255, 255, 255 }, { 255, 0, 255 }, 255);
        Glow(f, spark, ex - 24, ey - 24, 48, 48, { 255, 255, 255 }, { 255, 0, 255 }, 255);
    }
    Glow(f, flare, 60 - 16, 150 - 16, 32, 32, { 255, 255, 0 }, { 255, 0, 0 }, 255);
    Glow(f, flare, 120 - 8, 200 - 16, 16, 32, { 255, 255, 255 }, { 255, 255, 0 }, 255);
    Glow(f, flare, 120 - 8, 230 - 16, 16, 32, { 255, 255, 255 }, { 255, 255, 0 }, 255);
    Frame ship = FrameFromResource(*AssetFind(set, "GUN2"));
    Keyed(f, ship, 120 - 16, 270 - 32, 0);
    return f;
}

// The built-in 7 x 7 label font of the game's buttons and titles, for marking
// where the screens' texts fall (capitals draw as lower case, as in the game).
struct PixelGlyph {
    char code;
    const char* cells;   // 7 rows of 7, '#' set
};

static const PixelGlyph PixelGlyphTable[] = {
    { 'a', "####...##.##..##..##.##...###########...####...##" },
    { 'b', "####...##.##...##....#####..##..##.##...########." },
    { 'c', "..#####.##....##.....##.....##.....##......######" },
    { 'd', "####...##.##..##..##.##...####...####...########." },
    { 'e', "#########.....##.....#########.....##.....#######" },
    { 'f', "#########.....##.....#####..##.....##.....##....." },
    { 'g', "..####..##....##.....##.######...####...##.######" },
    { 'h', "##....###....###....##########....###....###....#" },
    { 'i', "..####....##.....##.....##.....##.....##....####." },
    { 'j', "..#####.....##.....##.....####...##.##.##...###.." },
    { 'k', "##..##.##.##..####...###....#####..##..##.##...##" },
    { 'l', "##.....##.....##.....##.....##.....##.....#######" },
    { 'm', "#.....###...#####.############.#.####...####...##" },
    { 'n', "##...#####..######.####.######..#####...####...##" },
    { 'o', "..###...##.##.##...####...####...####...##.#####." },
    { 'p', "#####..##..##.##...####...########.##.....##....." },
    { 'q', "..###...##.##.##...####.#.####.######..##..###.##" },
    { 'r', "#####..##..##.##...########.##.##..##..##.##...##" },
    { 's', "..#####.##....##.....#######.....##....##.#####.." },
    { 't', "#######...##.....##.....##.....##.....##.....##.." },
    { 'u', "##...####...####...####...####...####..##..####.." },
    { 'v', "##...####...##.##.##..##.##...###....###.....#..." },
    { 'w', "##...####...####...####...####.#.##.#####...#.#.." },
    { 'x', "##....#.##..##..####....##....####..##..####....#" },
    { 'y', "##....#.##..##..####....##.....##.....##.....##.." },
    { 'z', "#######....##....##....##....##....##.....#######" },
    { '0', ".#####.##...####...##.......##...####...##.#####." },
    { '1', "............##.....##............##.....##......." },
    { '2', ".#####......##.....##.#####.##.....##......#####." },
    { '3', ".#####......##.....##.#####......##.....##.#####." },
    { '4', ".......##...####...##.#####......##.....##......." },
    { '5', ".#####.##.....##......#####......##.....##.#####." },
    { '6', ".#####.##.....##......#####.##...####...##.#####." },
    { '7', ".#####......##.....##............##.....##......." },
    { '8', ".#####.##...####...##.#####.##...####...##.#####." },
    { '9', ".#####.##...####...##.#####......##.....##.#####." },
    { ':', ".................#....................#.........." },
    { '!', "...##.....##.....##.....##............##.....##.." },
    { '?', ".####......##.....##....##...........##.....##..." },
    { '-', ".......................####......................" },
    { '.', "......................................##.....##.." },
    { '>', ".#.......#.......#.......#.....#.....#.....#....." },
    { '<', "....#.....#.....#.....#.......#.......#.......#.." },
};

static void PixelText(std::vector<Rgb8>& dst, int dw, int x, int y, const char* text, Rgb8 colour)
{
    for (; *text; text++, x += 8) {
        char c = (*text >= 'A' && *text <= 'Z') ? (char)(*text - 'A' + 'a') : *text;
        for (const PixelGlyph& g : PixelGlyphTable) {
            if (g.code != c)
                continue;
            for (int i = 0; i < 49; i++)
                if (g.cells[i] == '#')
                    dst[(size_t)(y + i / 7) * dw + x + i % 7] = colour;
        }
    }
}

// Text of the bitmap font, in one flat colour like the game draws it.
static void FontText(std::vector<Rgb8>& dst, int dw, int x, int y, const char* text, Rgb8 colour)
{
    if (x < 0)
        x = (240 - TextWidth(text, 1)) >> 1;
    Image img = ImageMake(TextWidth(text, 1), FontHeight, Colour { 0, 0, 0, 0 });
    TextDraw(img, 0, 0, text, Rgb(255, 255, 255), 1);
    for (int j = 0; j < img.height; j++)
        for (int k = 0; k < img.width; k++)
            if (img.pixels[(size_t)j * img.width + k].a > 0.5f)
                dst[(size_t)(y + j) * dw + x + k] = colour;
}

static void Outline(std::vector<Rgb8>& dst, int dw, int x0, int y0, int x1, int y1, Rgb8 colour)
{
    for (int x = x0; x < x1; x++)
        dst[(size_t)y0 * dw + x] = dst[(size_t)(y1 - 1) * dw + x] = colour;
    for (int y = y0; y < y1; y++)
        dst[(size_t)y * dw + x0] = dst[(size_t)y * dw + x1 - 1] = colour;
}

static void Label(std::vector<Rgb8>& dst, int dw, int dh, int x, int y, const char* text)
{
    Image img = ImageMake(TextWidth(text, 1), FontHeight, Colour { 0, 0, 0, 0 });
    TextDraw(img, 0, 0, text, Rgb(255, 255, 255), 1);
    for (int j = 0; j < img.height && y + j < dh; j++)
        for (int k = 0; k < img.width && x + k < dw; k++)
            if (img.pixels[(size_t)j * img.width + k].a > 0.5f)
                dst[(size_t)(y + j) * dw + x + k] = Rgb8 { 230, 230, 240 };
}

static void Blit(std::vector<Rgb8>& dst, int dw, const std::vector<Rgb8>& src, int sw, int sh, int x, int y, int scale,
                 bool keyed)
{
    for (int j = 0; j < sh * scale; j++)
        for (int k = 0; k < sw * scale; k++) {
            Rgb8 c = src[(size_t)(j / scale) * sw + k / scale];
            if (!keyed || c.r || c.g || c.b)
                dst[(size_t)(y + j) * dw + x + k] = c;
        }
}

// Every resource at twice its size on a checkerboard, the key transparent.
static void ContactSheet(const AssetSet& set, const std::string& out)
{
    const int width = 1240, pad = 12;
    struct Place {
        const Resource* r;
        int x, y;
    };
    std::vector<Place> places;
    int x = pad, y = pad, rowH = 0;
    for (const Resource& r : set.resources) {
        int w = std::max(r.width * 2, TextWidth(r.name.c_str(), 1)), h = r.height * 2 + FontHeight + 6;
        if (x + w + pad > width)
            x = pad, y += rowH + pad, rowH = 0;
        places.push_back({ &r, x, y });
        x += w + pad;
        rowH = std::max(rowH, h);
    }
    int height = y + rowH + pad;
    std::vector<Rgb8> sheet((size_t)width * height, Rgb8 { 28, 28, 34 });
    for (const Place& p : places) {
        for (int j = 0; j < p.r->height * 2; j++)
            for (int k = 0; k < p.r->width * 2; k++)
                sheet[(size_t)(p.y + j) * width + p.x + k] =
                    ((j / 8 + k / 8) % 2) ? Rgb8 { 90, 90, 98 } : Rgb8 { 140, 140, 148 };
        Blit(sheet, width, p.r->shown, p.r->width, p.r->height, p.x, p.y, 2, p.r->keyed);
        Label(sheet, width, height, p.x, p.y + p.r->height * 2 + 3, p.r->name.c_str());
    }
    WritePng(out + "/res/contact-sheet.png", sheet, width, height);
}

// The six stages side by side at two moments, with a turret, enemies, shots and the ship.
static void StagePreview(const AssetSet& set, const std::string& out)
{
    const int width = 6 * 248, height = 2 * 328;
    std::vector<Rgb8> sheet((size_t)width * height, Rgb8 { 20, 20, 20 });
    for (int s = 0; s < 6; s++) {
        for (int m = 0; m < 2; m++) {
            Frame f = StageFrame(set, s, m * 61, m * 83, m == 0);
            Blit(sheet, width, FrameRgb(f), 240, 320, s * 248 + 4, m * 328 + 4, 1, false);
        }
    }
    WritePng(out + "/res/preview/stages.png", sheet, width, height);
}

// The glows as the game colours them, at their sizes in play, over dark blue.
static void GlowPreview(const AssetSet& set, const std::string& out)
{
    if (!AssetFind(set, "FLARE"))
        return;
    Frame f { 480, 200, std::vector<uint16_t>(480 * 200, Make565(10, 14, 40)) };
    struct Look {
        const char* image;
        Rgb8 start, end;
    };
    const Look looks[] = {
        { "FLARE", { 255, 255, 255 }, { 255, 255, 0 } }, { "SPARK", { 255, 255, 0 }, { 255, 0, 0 } },
        { "BUBBLE", { 255, 255, 0 }, { 255, 0, 0 } },    { "SMOKE", { 255, 255, 255 }, { 0, 0, 0 } },
        { "SMOKE", { 255, 255, 51 }, { 255, 0, 0 } },    { "FLARE", { 255, 255, 255 }, { 255, 0, 255 } },
    };
    for (int i = 0; i < 6; i++) {
        Frame g = FrameFromResource(*AssetFind(set, looks[i].image));
        Glow(f, g, 8 + i * 78, 8, 64, 64, looks[i].start, looks[i].end, 255);
        Glow(f, g, 8 + i * 78 + 16, 90, 32, 32, looks[i].start, looks[i].end, 255);
        Glow(f, g, 8 + i * 78 + 24, 140, 16, 16, looks[i].start, looks[i].end, 160);
    }
    Frame flare = FrameFromResource(*AssetFind(set, "FLARE")), spark = FrameFromResource(*AssetFind(set, "SPARK"));
    Glow(f, flare, 420 - 16, 150 - 16, 32, 32, { 255, 255, 255 }, { 255, 0, 255 }, 255);
    Glow(f, spark, 420 - 24, 150 - 24, 48, 48, { 255, 255, 255 }, { 255, 0, 255 }, 255);
    WritePng(out + "/res/preview/glows.png", FrameRgb(f), 480, 200);
}

static const ScreenPicture* ScreenFind(const AssetSet& set, const char* name)
{
    for (const ScreenPicture& s : set.screens)
        if (s.name == name)
            return &s;
    return nullptr;
}

// The three screen backgrounds with their titles, texts and buttons where the game puts them.
static void ScreenPreview(const AssetSet& set, const std::string& out)
{
    if (!ScreenFind(set, "PIPES") || !ScreenFind(set, "PAGE1") || !ScreenFind(set, "PAGE2"))
        return;
    const int width = 3 * 248 + 248, height = 328;
    std::vector<Rgb8> sheet((size_t)width * height, Rgb8 { 20, 20, 20 });
    const Rgb8 black { 0, 0, 0 }, white { 255, 255, 255 }, yellow { 255, 255, 0 }, grey { 128, 128, 128 }, mark { 0, 255, 255 };

    std::vector<Rgb8> menu = ScreenFind(set, "PIPES")->rgb;
    PixelText(menu, 240, 25, 9, "Main Menu", white);
    PixelText(menu, 240, 24, 8, "Main Menu", black);
    const char* labels[] = { "New Game", "Resume Game", "High Scores", "Exit Game" };
    const int ys[] = { 75, 119, 162, 204 };
    for (int i = 0; i < 4; i++) {
        int len = (int)strlen(labels[i]);
        PixelText(menu, 240, 52 + (132 - 8 * len) / 2, ys[i] + 11, labels[i], i == 1 ? grey : black);
    }
    Outline(menu, 240, 182, 33, 187, 38, mark);
    Outline(menu, 240, 49, 266, 54, 271, mark);

    std::vector<Rgb8> scores = ScreenFind(set, "PAGE1")->rgb;
    PixelText(scores, 240, 16, 9, "High Scores", white);
    PixelText(scores, 240, 15, 8, "High Scores", black);
    for (int i = 0; i < 12; i++) {
        char row[40];
        snprintf(row, sizeof row, "%2d:%-9s %6d", i + 1, i == 0 ? "ACE" : "Empty", i == 0 ? 12340 : 0);
        PixelText(scores, 240, 38, 65 + 15 * i, row, i == 0 ? yellow : white);
    }
    PixelText(scores, 240, 50 + (132 - 32) / 2, 274 + 11, "Exit", black);

    std::vector<Rgb8> over = ScreenFind(set, "PAGE1")->rgb;
    PixelText(over, 240, 35, 9, "Score", white);
    PixelText(over, 240, 34, 8, "Score", black);
    FontText(over, 240, -1, 100, "Game Over", black);
    FontText(over, 240, -1, 130, "Score: 12340", white);
    PixelText(over, 240, 50 + (132 - 64) / 2, 274 + 11, "Continue", black);

    std::vector<Rgb8> name = ScreenFind(set, "PAGE2")->rgb;
    PixelText(name, 240, 16, 9, "Enter Name", white);
    PixelText(name, 240, 15, 8, "Enter Name", black);
    Outline(name, 240, 80, 60, 155, 195, mark);
    PixelText(name, 240, (240 - 24) / 2, 209, "ACE", white);
    struct Box {
        const char* label;
        int x, y, w, h;
    };
    const Box boxes[] = { { "<<", 40, 90, 30, 75 }, { ">>", 165, 90, 30, 75 }, { "Select", 55, 225, 60, 20 }, { "Delete", 125, 225, 60, 20 } };
    for (const Box& b : boxes) {
        for (int y = b.y; y < b.y + b.h; y++)
            for (int x = b.x; x < b.x + b.w; x++)
                name[(size_t)y * 240 + x] = Rgb8 { 192, 192, 192 };
        Outline(name, 240, b.x, b.y, b.x + b.w, b.y + b.h, black);
        int len = (int)strlen(b.label);
        PixelText(name, 240, b.x + (b.w - 8 * len) / 2, b.y + (b.h - 8) / 2, b.label, black);
    }
    PixelText(name, 240, 32 + (78 - 16) / 2, 276 + 8, "OK", black);
    PixelText(name, 240, 127 + (78 - 48) / 2, 276 + 8, "Cancel", black);

    const std::vector<Rgb8>* all[] = { &menu, &scores, &over, &name };
    for (int i = 0; i < 4; i++)
        Blit(sheet, width, *all[i], 240, 320, i * 248 + 4, 4, 1, false);
    WritePng(out + "/res/preview/screens.png", sheet, width, height);
}

void MakeReview(const AssetSet& set, const std::string& out)
{
    ContactSheet(set, out);
    StagePreview(set, out);
    GlowPreview(set, out);
    ScreenPreview(set, out);
}
