// The scrolling layers: deep space, nebulae, star dust, clouds, a moon, a station hull, a lava world and alien cells, each tiling without seams.
#include "assets.h"

#include <algorithm>
#include <cmath>

// Fills every pixel from a function of its coordinates.
template <typename Fn>
static Image Shade(int w, int h, Fn fn)
{
    Image image = ImageMake(w, h, Colour { 0, 0, 0, 1 });
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++)
            ImageAt(image, x, y) = fn((float)x + 0.5f, (float)y + 0.5f);
    return image;
}

// Periodic fractal noise over a w x h tile with cells lattice cells across.
static float TileFbm(float x, float y, int w, int h, int cellsX, int cellsY, int octaves, uint32_t seed)
{
    return Fbm(x * cellsX / w, y * cellsY / h, cellsX, cellsY, octaves, seed);
}

static void Stars(Image& image, uint64_t seed, int count, float maxSize, const Colour* tints, int tintCount)
{
    Rng rng = RngMake(seed);
    for (int i = 0; i < count; i++) {
        float x = RngRange(&rng, 0, (float)image.width), y = RngRange(&rng, 0, (float)image.height);
        float r = RngFloat(&rng);
        float size = 0.25f + maxSize * r * r * r * r;
        Colour tint = tints[RngInt(&rng, tintCount)];
        float bright = RngRange(&rng, 0.45f, 1.0f);
        ImageStar(image, x, y, size, ColourScale(tint, bright), true);
    }
}

static const Colour StarTints[] = {
    { 1.0f, 1.0f, 1.0f, 1 }, { 0.75f, 0.85f, 1.0f, 1 }, { 1.0f, 0.92f, 0.75f, 1 }, { 0.7f, 0.95f, 1.0f, 1 },
};

// Deep space: a violet and teal haze over a dark blue field, many small stars.
static Image DrawBK3()
{
    const int w = 100, h = 100;
    static const Colour ramp[] = { Rgb(4, 5, 18), Rgb(14, 14, 48), Rgb(40, 26, 88), Rgb(70, 60, 150), Rgb(110, 140, 210) };
    Image image = Shade(w, h, [&](float x, float y) {
        float n = TileFbm(x, y, w, h, 3, 3, 5, 11) * 0.5f + 0.5f;
        float m = TileFbm(x, y, w, h, 2, 2, 4, 12) * 0.5f + 0.5f;
        Colour c = Ramp(ramp, 5, Smooth(0.2f, 1.0f, n) * 0.65f);
        return ColourAdd(c, ColourScale(Rgb(10, 40, 60), Smooth(0.45f, 0.95f, m) * 0.6f));
    });
    Stars(image, 31, 90, 1.6f, StarTints, 4);
    Stars(image, 32, 4, 2.6f, StarTints, 2);
    return image;
}

// Near stars and drifting dust on black: the fast front layer.
static Image DrawFG3()
{
    const int w = 128, h = 128;
    Image image = Shade(w, h, [&](float x, float y) {
        float n = TileFbm(x, y, w, h, 2, 4, 5, 21);
        float wisp = Smooth(0.35f, 0.8f, n);
        return ColourScale(Rgb(90, 200, 255), wisp * 0.8f);
    });
    Stars(image, 41, 22, 2.2f, StarTints, 4);
    Rng rng = RngMake(42);
    for (int i = 0; i < 5; i++) {
        float x = RngRange(&rng, 0, w), y = RngRange(&rng, 0, h);
        ImageGlow(image, x, y, 9.0f, Rgb(140, 200, 255), 0.5f, true);
        ImageStar(image, x, y, 3.2f, Rgb(255, 255, 255), true);
    }
    return image;
}

// An emission nebula: crimson and magenta gas with dark dust lanes.
static Image DrawBK1()
{
    const int w = 200, h = 200;
    static const Colour ramp[] = { Rgb(6, 2, 12), Rgb(40, 6, 30), Rgb(110, 18, 50), Rgb(190, 60, 60), Rgb(250, 160, 110), Rgb(255, 230, 200) };
    Image image = Shade(w, h, [&](float x, float y) {
        float warpX = TileFbm(x, y, w, h, 2, 2, 3, 51) * 30.0f, warpY = TileFbm(x, y, w, h, 2, 2, 3, 52) * 30.0f;
        float n = TileFbm(x + warpX, y + warpY, w, h, 3, 3, 6, 53) * 0.5f + 0.5f;
        float dust = Smooth(0.55f, 0.75f, TileFbm(x, y, w, h, 4, 4, 5, 54) * 0.5f + 0.5f);
        float glow = Smooth(0.25f, 0.95f, n);
        Colour c = Ramp(ramp, 6, glow * (1.0f - 0.7f * dust) * 0.85f);
        float blue = Smooth(0.6f, 0.9f, TileFbm(x, y, w, h, 2, 2, 4, 55) * 0.5f + 0.5f);
        return ColourAdd(c, ColourScale(Rgb(30, 40, 120), blue * (1.0f - dust)));
    });
    Stars(image, 61, 180, 1.8f, StarTints, 4);
    Stars(image, 62, 8, 3.0f, StarTints, 3);
    return image;
}

// Thin clouds, pale cyan, with black between them.
static Image DrawFG1()
{
    const int w = 128, h = 128;
    return Shade(w, h, [&](float x, float y) {
        float warp = TileFbm(x, y, w, h, 2, 2, 3, 71) * 20.0f;
        float n = TileFbm(x + warp, y, w, h, 2, 3, 6, 72) * 0.5f + 0.5f;
        float cloud = Smooth(0.47f, 0.82f, n);
        float edge = Smooth(0.7f, 0.92f, n);
        return ColourAdd(ColourScale(Rgb(120, 210, 255), cloud), ColourScale(Rgb(255, 255, 255), edge * 0.8f));
    });
}

// A cratered moon: grey-tan dust lit from the upper left, kept dark so that
// glows, which can only brighten, still stand out over it.
static Image DrawBK5()
{
    const int w = 108, h = 108;
    struct Crater {
        float x, y, r;
    };
    std::vector<Crater> craters;
    Rng rng = RngMake(81);
    for (int i = 0; i < 26; i++) {
        float r = RngFloat(&rng);
        craters.push_back({ RngRange(&rng, 0, w), RngRange(&rng, 0, h), 2.5f + 13.0f * r * r * r });
    }
    // Height field: dust noise plus bowl-shaped craters with raised rims.
    auto height = [&](float x, float y) {
        float v = TileFbm(x, y, w, h, 4, 4, 5, 82) * 0.6f;
        for (const Crater& c : craters) {
            float d = WrapDistance(x, y, c.x, c.y, w, h) / c.r;
            if (d < 1.0f)
                v += (d * d - 1.0f) * c.r * 0.1f;
            float rim = (d - 1.0f) / 0.3f;
            v += std::exp(-rim * rim) * c.r * 0.06f;
        }
        return v;
    };
    static const Colour ramp[] = { Rgb(6, 6, 12), Rgb(28, 27, 34), Rgb(56, 54, 58), Rgb(92, 87, 81), Rgb(135, 128, 114) };
    return Shade(w, h, [&](float x, float y) {
        float gx = height(x + 0.5f, y) - height(x - 0.5f, y), gy = height(x, y + 0.5f) - height(x, y - 0.5f);
        float light = 0.45f - (gx + gy) * 0.8f;
        float tone = TileFbm(x, y, w, h, 2, 2, 3, 83) * 0.12f;
        return Ramp(ramp, 5, Clamp01(light * 0.8f + tone));
    });
}

// A space station's hull: plates, seams, vents, pipes and lights, in dim
// metal so that the glows of play read over it.
static Image DrawBK6()
{
    const int w = 256, h = 128;
    Rng rng = RngMake(91);
    float plateTone[8][4];
    for (auto& row : plateTone)
        for (float& t : row)
            t = RngRange(&rng, -0.08f, 0.08f);
    Image image = Shade(w, h, [&](float x, float y) {
        int px = (int)(x / 32), py = (int)(y / 32);
        float fx = std::fmod(x, 32.0f), fy = std::fmod(y, 32.0f);
        float grain = TileFbm(x, y, w, h, 16, 8, 3, 92) * 0.04f;
        float base = 0.42f + plateTone[px][py] + grain;
        // Bevelled plate edges: light top-left, dark bottom-right.
        if (fx < 1.5f || fy < 1.5f)
            base += 0.18f;
        if (fx > 30.0f || fy > 30.0f)
            base -= 0.25f;
        Colour c = ColourScale(Rgb(120, 138, 165), base);
        // Rivets near the corners.
        for (float rx : { 4.0f, 28.0f })
            for (float ry : { 4.0f, 28.0f }) {
                float d = std::hypot(fx - rx, fy - ry);
                if (d < 1.4f)
                    c = ColourScale(Rgb(130, 136, 146), 1.0f - d * 0.3f);
            }
        return c;
    });
    // Vent grilles, trenches and pipes on chosen plates.
    auto dark = [&](float x0, float y0, float x1, float y1, Colour c) {
        Mask m = MaskMake(w, h);
        MaskRect(m, x0, y0, x1, y1);
        ImagePaintFlat(image, m, c);
    };
    for (int i = 0; i < 5; i++) {
        float vx = 32.0f * (float)((i * 3 + 1) % 8) + 6, vy = 32.0f * (float)(i % 4) + 8;
        dark(vx, vy, vx + 20, vy + 16, Rgb(24, 28, 36));
        for (int k = 0; k < 4; k++)
            dark(vx + 2, vy + 2 + k * 4, vx + 18, vy + 3.5f + k * 4, Rgb(70, 80, 96));
    }
    // A trench along the whole width with a pipe in it, lit orange.
    dark(0, 60, w, 72, Rgb(18, 20, 28));
    image = [&] {
        Image im = image;
        for (int y = 61; y < 71; y++)
            for (int x = 0; x < w; x++) {
                float t = std::fabs((y - 66.0f) / 5.0f);
                ImageAt(im, x, y) = ColourScale(Rgb(105, 98, 92), 1.1f - t * 0.8f);
                if ((x % 32) < 3)
                    ImageAt(im, x, y) = ColourScale(Rgb(90, 85, 80), 1.0f - t * 0.5f);
            }
        return im;
    }();
    for (int x = 0; x < w; x += 64) {
        dark((float)x + 40, 0, (float)x + 44, (float)h, Rgb(30, 34, 44));
        ImageGlow(image, (float)x + 42, 66, 10, Rgb(255, 140, 40), 0.9f, true);
    }
    // Landing lights and beacons.
    for (int i = 0; i < 10; i++) {
        float x = RngRange(&rng, 0, w), y = RngRange(&rng, 0, h);
        Colour c = i % 3 == 0 ? Rgb(255, 80, 60) : (i % 3 == 1 ? Rgb(80, 220, 255) : Rgb(255, 210, 90));
        ImageGlow(image, x, y, 7, c, 0.7f, true);
        ImageGlow(image, x, y, 2, Rgb(255, 255, 255), 1.0f, true);
    }
    // Rolled by half a plate, so the tile's own edges fall inside plates.
    Image rolled = image;
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++)
            ImageAt(rolled, x, y) = ImageGetWrap(image, x + 16, y + 16);
    return rolled;
}

// One point per cell of a grid, jittered: evenly spread, never crowded.
static std::vector<Vec2> JitteredPoints(uint64_t seed, int cellsX, int cellsY, float w, float h, float jitter)
{
    Rng rng = RngMake(seed);
    std::vector<Vec2> points;
    float lo = 0.5f - jitter * 0.5f, hi = 0.5f + jitter * 0.5f;
    for (int j = 0; j < cellsY; j++)
        for (int i = 0; i < cellsX; i++)
            points.push_back({ (i + RngRange(&rng, lo, hi)) * w / cellsX, (j + RngRange(&rng, lo, hi)) * h / cellsY });
    return points;
}

// Nearest and second nearest distances to a set of points on the torus.
static void Voronoi(const std::vector<Vec2>& points, float x, float y, float w, float h, float* f1, float* f2, int* which)
{
    *f1 = *f2 = 1e9f;
    *which = 0;
    for (size_t i = 0; i < points.size(); i++) {
        float d = WrapDistance(x, y, points[i].x, points[i].y, w, h);
        if (d < *f1) {
            *f2 = *f1;
            *f1 = d;
            *which = (int)i;
        } else if (d < *f2) {
            *f2 = d;
        }
    }
}

// A lava world: dark basalt plates split by glowing rivers of molten rock.
static Image DrawBK4()
{
    const int w = 96, h = 96;
    std::vector<Vec2> points = JitteredPoints(101, 3, 3, w, h, 0.7f);
    static const Colour lava[] = { Rgb(60, 8, 4), Rgb(190, 36, 8), Rgb(255, 120, 20), Rgb(255, 220, 110) };
    return Shade(w, h, [&](float x, float y) {
        float wx = x + TileFbm(x, y, w, h, 3, 3, 3, 102) * 5.0f, wy = y + TileFbm(x, y, w, h, 3, 3, 3, 103) * 5.0f;
        float f1, f2;
        int cell;
        Voronoi(points, wx, wy, w, h, &f1, &f2, &cell);
        float edge = f2 - f1;
        float rock = TileFbm(x, y, w, h, 6, 6, 4, 104) * 0.5f + 0.5f;
        Colour c = ColourScale(Rgb(58, 46, 48), 0.35f + rock * 0.55f);
        // The rivers run hot in some stretches and crust over in others.
        float flow = Smooth(-0.2f, 0.4f, TileFbm(x, y, w, h, 2, 2, 3, 105));
        float heat = (1.0f - Smooth(0.0f, 2.6f, edge)) * (0.35f + 0.65f * flow);
        c = ColourMix(c, Ramp(lava, 4, heat), Smooth(0.0f, 0.35f, heat));
        return ColourAdd(c, ColourScale(Rgb(110, 24, 0), (1.0f - Smooth(0.0f, 8.0f, edge)) * 0.3f * flow));
    });
}

// Alien cells: dark green bodies, bright membranes and glowing nuclei.
static Image DrawBK2()
{
    const int w = 128, h = 128;
    std::vector<Vec2> points = JitteredPoints(111, 5, 5, w, h, 0.95f);
    Image image = Shade(w, h, [&](float x, float y) {
        float wx = x + TileFbm(x, y, w, h, 2, 2, 3, 112) * 6.0f, wy = y + TileFbm(x, y, w, h, 2, 2, 3, 113) * 6.0f;
        float f1, f2;
        int cell;
        Voronoi(points, wx, wy, w, h, &f1, &f2, &cell);
        float edge = f2 - f1;
        float inside = Smooth(0.0f, 18.0f, f1);
        static const Colour tints[4] = { Rgb(18, 62, 52), Rgb(14, 52, 66), Rgb(30, 66, 40), Rgb(22, 48, 58) };
        Colour body = ColourMix(Rgb(6, 22, 26), tints[(cell * 7) % 4], inside * 0.6f);
        body = ColourScale(body, 0.75f + (float)((cell * 5) % 4) * 0.1f);
        float membrane = 1.0f - Smooth(0.3f, 2.4f, edge);
        float halo = 1.0f - Smooth(0.0f, 7.0f, edge);
        Colour c = ColourAdd(body, ColourScale(Rgb(30, 80, 40), halo * 0.6f));
        c = ColourMix(c, Rgb(120, 200, 80), membrane * 0.75f);
        float speck = TileFbm(x, y, w, h, 8, 8, 3, 114);
        return ColourAdd(c, ColourScale(Rgb(30, 60, 30), Smooth(0.3f, 0.7f, speck) * 0.4f));
    });
    for (const Vec2& p : points) {
        ImageGlow(image, p.x, p.y, 6, Rgb(160, 230, 110), 0.35f, true);
        ImageGlow(image, p.x, p.y, 2.2f, Rgb(230, 255, 190), 0.8f, true);
    }
    return image;
}

void MakeBackgrounds(AssetSet& set)
{
    AssetAddIndexed(set, "BK1", DrawBK1(), 8, FlattenOpaque);
    AssetAddIndexed(set, "BK2", DrawBK2(), 8, FlattenOpaque);
    AssetAddIndexed(set, "BK3", DrawBK3(), 8, FlattenOpaque);
    AssetAddIndexed(set, "BK4", DrawBK4(), 8, FlattenOpaque);
    AssetAddIndexed(set, "BK5", DrawBK5(), 8, FlattenOpaque);
    AssetAddIndexed(set, "BK6", DrawBK6(), 8, FlattenOpaque);
    AssetAddIndexed(set, "FG1", DrawFG1(), 8, FlattenOpaque);
    AssetAddIndexed(set, "FG3", DrawFG3(), 8, FlattenOpaque);
}
