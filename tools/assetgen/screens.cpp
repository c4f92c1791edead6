// The full-screen pictures: the title splash, the menu's pipe works, the score and name-entry pages, and the window icon.
#include "assets.h"

#include <cmath>

static const int W = 240, H = 320;

// A starry sky over the whole screen, with a soft nebula of the given hue.
static Image Sky(uint64_t seed, Colour nebula, Colour deep)
{
    Image im = ImageMake(W, H, deep);
    for (int y = 0; y < H; y++)
        for (int x = 0; x < W; x++) {
            float n = Fbm(x / 60.0f, y / 60.0f, 64, 64, 5, (uint32_t)seed) * 0.5f + 0.5f;
            float m = Fbm(x / 25.0f + 9, y / 25.0f, 64, 64, 4, (uint32_t)seed + 1) * 0.5f + 0.5f;
            float k = Smooth(0.45f, 0.85f, n) * (0.6f + 0.5f * m);
            ImageAt(im, x, y) = ColourAdd(ColourScale(deep, 1.0f), ColourScale(nebula, k));
        }
    Rng rng = RngMake(seed);
    static const Colour tints[] = { Rgb(255, 255, 255), Rgb(190, 210, 255), Rgb(255, 230, 200) };
    for (int i = 0; i < 260; i++) {
        float r = RngFloat(&rng);
        ImageStar(im, RngRange(&rng, 0, W), RngRange(&rng, 0, H), 0.25f + 2.4f * r * r * r * r,
                  ColourScale(tints[RngInt(&rng, 3)], RngRange(&rng, 0.4f, 1.0f)), false);
    }
    return im;
}

// A planet whose lit limb curves across the screen: surface bands, clouds
// and a glowing rim of atmosphere.
static void Planet(Image& im, float cx, float cy, float r, Colour land, Colour sea, uint32_t seed)
{
    for (int y = 0; y < H; y++)
        for (int x = 0; x < W; x++) {
            float dx = (x + 0.5f - cx) / r, dy = (y + 0.5f - cy) / r;
            float d = std::sqrt(dx * dx + dy * dy);
            Colour& c = ImageAt(im, x, y);
            if (d > 1.0f) {
                float halo = std::exp(-(d - 1.0f) * r / 7.0f);
                c = ColourAdd(c, ColourScale(Rgb(80, 170, 255), halo * 0.9f));
                continue;
            }
            float z = std::sqrt(1.0f - d * d);
            float u = dx / (z + 0.4f) * 3.0f, v = dy / (z + 0.4f) * 3.0f;
            float terrain = Fbm(u + 5, v * 1.6f + 5, 64, 64, 5, seed) * 0.5f + 0.5f;
            float cloud = Smooth(0.55f, 0.8f, Fbm(u * 1.5f + 2, v * 3.0f, 64, 64, 5, seed + 1) * 0.5f + 0.5f);
            Colour ground = terrain > 0.52f ? ColourScale(land, 0.7f + terrain * 0.5f) : ColourScale(sea, 0.6f + terrain);
            ground = ColourMix(ground, Rgb(240, 245, 255), cloud * 0.85f);
            float light = Clamp01(-0.3f * dx - 0.8f * dy + 0.5f * z + 0.25f);
            float rim = std::pow(1.0f - z, 3.0f);
            c = ColourAdd(ColourScale(ground, 0.15f + 0.95f * light), ColourScale(Rgb(90, 180, 255), rim * 1.2f));
        }
}

// A plate of light brushed steel with a screw in each corner: the place of
// a title or of black button labels.
static void Plate(Image& im, float x0, float y0, float x1, float y1)
{
    Mask m = MaskMake(W, H);
    MaskRect(m, x0, y0, x1, y1);
    ImagePaint(im, m, [=](int x, int y) {
        float u = (x + 0.5f - x0) / (x1 - x0), v = (y + 0.5f - y0) / (y1 - y0);
        float brush = Noise(x / 9.0f, y * 3.0f, 64, 64, 5) * 0.025f;
        float k = 0.86f + brush - 0.06f * v + 0.03f * (1.0f - u);
        if (x < x0 + 1 || y < y0 + 1)
            k = 1.0f;
        if (x >= x1 - 1 || y >= y1 - 1)
            k = 0.45f;
        return ColourScale(Rgb(228, 232, 240), k);
    });
    for (float sx : { x0 + 3.5f, x1 - 3.5f })
        for (float sy : { y0 + 3.5f, y1 - 3.5f }) {
            Mask s = MaskMake(W, H);
            MaskEllipse(s, sx, sy, 1.6f, 1.6f);
            ImagePaint(im, s, [=](int x, int y) { return SphereLight((x + 0.5f - sx) / 1.6f, (y + 0.5f - sy) / 1.6f, Rgb(150, 156, 170)); });
        }
}

// A pipe lit from above; horizontal when wide.
static void Pipe(Image& im, float x0, float y0, float x1, float y1, Colour base)
{
    bool across = (x1 - x0) > (y1 - y0);
    Mask m = MaskMake(W, H);
    MaskRect(m, x0, y0, x1, y1);
    ImagePaint(im, m, [=](int x, int y) {
        float t = across ? (y + 0.5f - y0) / (y1 - y0) : (x + 0.5f - x0) / (x1 - x0);
        float s = t * 2.0f - 1.0f;
        // Bright and even over the middle, rolling off at the edges.
        float k = 1.05f - 0.55f * std::pow(std::fabs(s), 3.0f) - 0.12f * s;
        float shine = std::exp(-(s + 0.55f) * (s + 0.55f) * 30.0f) * 0.3f;
        return ColourAdd(ColourScale(base, k), Colour { shine, shine, shine, 1 });
    });
}

static void Collar(Image& im, float x0, float y0, float x1, float y1)
{
    Pipe(im, x0, y0, x1, y1, Rgb(120, 110, 100));
    Mask m = MaskMake(W, H);
    MaskRect(m, x0, y0, x0 + 1, y1);
    ImagePaintFlat(im, m, Rgb(60, 56, 52));
}

static void Frame(Image& im, float x0, float y0, float x1, float y1, Colour fill)
{
    Mask outer = MaskMake(W, H), inner = MaskMake(W, H);
    MaskRect(outer, x0 - 3, y0 - 3, x1 + 3, y1 + 3);
    MaskRect(inner, x0, y0, x1, y1);
    ImagePaint(im, outer, [=](int, int y) {
        float v = (y + 0.5f - y0) / (y1 - y0);
        return ColourScale(Rgb(150, 160, 180), 1.1f - 0.5f * v);
    });
    ImagePaintFlat(im, inner, fill);
}

// The title picture.
void MakeSplash(AssetSet& set)
{
    Image im = Sky(201, Rgb(70, 30, 110), Rgb(4, 6, 20));
    Planet(im, 60, 560, 330, Rgb(90, 140, 70), Rgb(20, 60, 140), 202);
    // The ship climbing away from the planet, its exhaust trailing.
    for (int i = 0; i < 12; i++)
        ImageGlow(im, 150, 300 - i * 4.0f, 14.0f - i * 0.6f, Rgb(60, 140, 255), 0.25f, false);
    Image ship = ImageMake(W, H, Colour { 0, 0, 0, 0 });
    DrawPlayerShip(ship, 150, 150, 2.1f, true);
    ImageOutline(ship, Rgb(10, 12, 26));
    ImageDraw(im, ship, 0, 0);

    // Chrome lettering with a dark edge and a warm glow behind it.
    const char* lines[2] = { "SPACE", "SHOOTER" };
    const float scale = 3.0f, tops[2] = { 26.0f, 66.0f };
    for (int l = 0; l < 2; l++) {
        int x = (W - TextWidthSmooth(lines[l], scale)) / 2;
        Mask glyphs = TextMaskSmooth(W, H, x, (int)tops[l], lines[l], scale);
        Image glow = ImageMake(W, H, Colour { 0, 0, 0, 0 });
        for (int y = 0; y < H; y++)
            for (int gx = 0; gx < W; gx++)
                if (glyphs.cover[(size_t)y * W + gx] > 0.5f && (gx + y) % 3 == 0)
                    ImageGlow(im, (float)gx, (float)y, 9.0f, Rgb(255, 90, 30), 0.05f, false);
        Mask edge = MaskMake(W, H);
        for (int y = 1; y < H - 1; y++)
            for (int gx = 1; gx < W - 1; gx++) {
                float m = 0.0f;
                for (int d = -2; d <= 2; d++)
                    for (int e = -2; e <= 2; e++)
                        if (gx + d >= 0 && gx + d < W && y + e >= 0 && y + e < H && std::abs(d) + std::abs(e) <= 3)
                            m = std::max(m, glyphs.cover[(size_t)(y + e) * W + gx + d]);
                edge.cover[(size_t)y * W + gx] = m;
            }
        ImagePaintFlat(im, edge, Rgb(12, 10, 30));
        float top = tops[l], height = FontHeight * scale * 10.0f / 13.0f;
        ImagePaint(im, glyphs, [=](int, int y) {
            float v = (y + 0.5f - top) / height;
            static const Colour chrome[] = { Rgb(255, 255, 255), Rgb(150, 200, 255), Rgb(40, 70, 160), Rgb(255, 170, 60), Rgb(255, 240, 190) };
            Colour c = Ramp(chrome, 5, v);
            if (std::fabs(v - 0.5f) < 0.03f)
                c = Rgb(255, 255, 255);
            return c;
        });
    }
    AssetAddIndexed(set, "SPLASH", im, 8, FlattenOpaque);
}

static void AddScreen(AssetSet& set, const char* name, const Image& im)
{
    std::vector<Rgb8> rgb = ImageFlatten(im, FlattenOpaque);
    AssetAddFile(set, std::string("GFX/") + name + ".BMP", Bmp24(rgb, W, H));
    set.screens.push_back({ name, rgb });
}

// The main menu: a wall of dark plates crossed by four chrome pipes that
// carry the black labels, a smoke outlet top right and a vent bottom left.
static Image DrawPipes()
{
    Image im = ImageMake(W, H, Rgb(30, 34, 44));
    for (int y = 0; y < H; y++)
        for (int x = 0; x < W; x++) {
            float grain = Noise(x / 7.0f, y / 7.0f, 64, 64, 301) * 0.04f;
            float k = 0.9f + grain;
            if (x % 60 == 0 || y % 48 == 0)
                k = 0.6f;
            if (x % 60 == 1 || y % 48 == 1)
                k = 1.25f;
            k *= 1.15f - 0.3f * (float)y / H;
            ImageAt(im, x, y) = ColourScale(Rgb(34, 40, 54), k);
        }
    // Rivets beside every seam, and a hazard band along the floor.
    for (int y = 6; y < H; y += 48)
        for (int x = 6; x < W; x += 60)
            for (int k = 0; k < 4; k++) {
                float rx = (float)x + (k % 2) * 48.0f, ry = (float)y + (k / 2) * 36.0f;
                Mask m = MaskMake(W, H);
                MaskEllipse(m, rx, ry, 1.3f, 1.3f);
                ImagePaint(im, m, [=](int px, int py) { return SphereLight((px + 0.5f - rx) / 1.3f, (py + 0.5f - ry) / 1.3f, Rgb(90, 100, 120)); });
            }
    for (int y = 306; y < H; y++)
        for (int x = 0; x < W; x++)
            ImageAt(im, x, y) = ((x + y) / 8) % 2 ? Rgb(200, 160, 30) : Rgb(30, 28, 26);
    // A porthole on the stars.
    Image sky = Sky(302, Rgb(20, 60, 110), Rgb(2, 4, 14));
    for (int y = 0; y < H; y++)
        for (int x = 0; x < W; x++) {
            float d = std::hypot(x + 0.5f - 200.0f, y + 0.5f - 290.0f);
            if (d < 22.0f)
                ImageAt(im, x, y) = ImageAt(sky, x, y);
            else if (d < 27.0f)
                ImageAt(im, x, y) = ColourScale(Rgb(150, 156, 170), 1.2f - (y - 268.0f) / 50.0f);
        }
    // Manifolds on both sides feed the four pipes.
    Pipe(im, 26, 60, 40, 262, Rgb(110, 116, 128));
    Pipe(im, 196, 60, 210, 250, Rgb(110, 116, 128));
    const int ys[] = { 75, 119, 162, 204 };
    for (int y : ys) {
        Pipe(im, 36, (float)y + 3, 200, (float)y + 28, Rgb(214, 218, 226));
        Collar(im, 44, (float)y + 1, 50, (float)y + 30);
        Collar(im, 186, (float)y + 1, 192, (float)y + 30);
    }
    // The outlet whose green smoke drifts left, and the steam vent below.
    Pipe(im, 188, 29, 240, 41, Rgb(150, 140, 120));
    Collar(im, 184, 26, 190, 44);
    Mask mouth = MaskMake(W, H);
    MaskEllipse(mouth, 185, 35, 1.5f, 6);
    ImagePaintFlat(im, mouth, Rgb(20, 24, 20));
    ImageGlow(im, 183, 35, 10, Rgb(60, 140, 40), 0.5f, false);
    Pipe(im, 45, 272, 57, 320, Rgb(150, 140, 120));
    Collar(im, 42, 268, 60, 274);
    Mask vent = MaskMake(W, H);
    MaskEllipse(vent, 51, 269, 7, 1.6f);
    ImagePaintFlat(im, vent, Rgb(20, 20, 24));
    Plate(im, 14, 2, 108, 22);
    return im;
}

// The score pages: space with a steel-blue panel in the middle, even in
// tone, so that white, yellow and black texts all stand out on it, and a
// plate under the black button label.
static Image DrawPage1()
{
    const int panelTop = 56, panelBottom = 250;
    Image im = Sky(501, Rgb(90, 30, 60), Rgb(4, 6, 18));
    Planet(im, 300, 360, 150, Rgb(150, 100, 70), Rgb(110, 60, 50), 506);
    Frame(im, 28, (float)panelTop, 212, (float)panelBottom, Rgb(82, 118, 156));
    for (int y = panelTop; y < panelBottom; y++)
        for (int x = 28; x < 212; x++) {
            float scan = (y % 3 == 0) ? 0.97f : 1.0f;
            float v = (float)(y - panelTop) / (float)(panelBottom - panelTop);
            ImageAt(im, x, y) = ColourScale(ImageAt(im, x, y), scan * (1.04f - 0.08f * v));
        }
    Plate(im, 44, 271, 196, 307);
    Plate(im, 8, 2, 114, 22);
    return im;
}

static Image DrawPage2()
{
    Image im = Sky(401, Rgb(20, 90, 90), Rgb(4, 8, 18));
    Planet(im, -60, 380, 160, Rgb(120, 150, 90), Rgb(30, 90, 110), 405);
    // The letter display: a dark screen with a faint dot at every cell.
    Frame(im, 72, 52, 163, 203, Rgb(8, 14, 22));
    for (int r = 0; r < 9; r++)
        for (int c = 0; c < 5; c++)
            ImageGlow(im, 80 + 15 * c + 7.5f, 60 + 15 * r + 7.5f, 2.5f, Rgb(60, 110, 140), 0.5f, false);
    // Mounts behind the arrow buttons.
    for (float x : { 36.0f, 161.0f }) {
        Mask m = MaskMake(W, H);
        MaskRect(m, x, 86, x + 38, 169);
        ImagePaint(im, m, [=](int, int y) { return ColourScale(Rgb(110, 120, 140), 1.1f - (y - 86) / 160.0f); });
    }
    // The name readout and the plates under Select, Delete, OK and Cancel.
    Frame(im, 52, 205, 188, 221, Rgb(10, 16, 24));
    Frame(im, 51, 224, 189, 246, Rgb(60, 66, 80));
    Plate(im, 30, 273, 112, 303);
    Plate(im, 125, 273, 207, 303);
    Plate(im, 8, 2, 104, 22);
    return im;
}

// The window icon: the ship on a round dark badge, with an alpha channel.
static Image DrawIcon()
{
    Image icon = ImageMake(64, 64, Colour { 0, 0, 0, 0 });
    Mask badge = MaskMake(64, 64);
    MaskEllipse(badge, 32, 32, 31, 31);
    ImagePaint(icon, badge, [](int x, int y) {
        float d = std::hypot(x + 0.5f - 32.0f, y + 0.5f - 26.0f) / 36.0f;
        return ColourMix(Rgb(40, 60, 130), Rgb(6, 8, 24), Clamp01(d));
    });
    Mask ring = MaskMake(64, 64), hole = MaskMake(64, 64);
    MaskEllipse(ring, 32, 32, 31, 31);
    MaskEllipse(hole, 32, 32, 29, 29);
    MaskSubtract(ring, hole);
    ImagePaintFlat(icon, ring, Rgb(120, 200, 255));
    DrawPlayerShip(icon, 32, 5, 0.85f, true);
    return icon;
}

void MakeScreens(AssetSet& set)
{
    AddScreen(set, "PIPES", DrawPipes());
    AddScreen(set, "PAGE1", DrawPage1());
    AddScreen(set, "PAGE2", DrawPage2());
    set.icon = DrawIcon();
    set.resources.push_back({ "ICON107", 64, 64, 32, false, ImageFlatten(set.icon, FlattenOpaque), Bmp32(set.icon) });
}
