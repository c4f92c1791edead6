// Drawing canvas of the asset generator: float RGBA images, masks, shapes, noise and a fixed-seed generator.
#include "canvas.h"

#include <algorithm>
#include <cmath>

Rng RngMake(uint64_t seed)
{
    return Rng { seed * 0x9E3779B97F4A7C15ull + 0x2545F4914F6CDD1Dull };
}

uint32_t RngNext(Rng* rng)
{
    uint64_t x = rng->state;
    x ^= x >> 12;
    x ^= x << 25;
    x ^= x >> 27;
    rng->state = x;
    return (uint32_t)((x * 0x2545F4914F6CDD1Dull) >> 32);
}

float RngFloat(Rng* rng)
{
    return (float)(RngNext(rng) >> 8) / 16777216.0f;
}

float RngRange(Rng* rng, float lo, float hi)
{
    return lo + (hi - lo) * RngFloat(rng);
}

int RngInt(Rng* rng, int n)
{
    return n <= 0 ? 0 : (int)(RngNext(rng) % (uint32_t)n);
}

Colour Rgb(int r, int g, int b, float a)
{
    return Colour { r / 255.0f, g / 255.0f, b / 255.0f, a };
}

Colour Grey(float v)
{
    return Colour { v, v, v, 1.0f };
}

Colour ColourMix(Colour a, Colour b, float t)
{
    return Colour { a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t, a.a + (b.a - a.a) * t };
}

Colour ColourScale(Colour c, float k)
{
    return Colour { c.r * k, c.g * k, c.b * k, c.a };
}

Colour ColourAdd(Colour a, Colour b)
{
    return Colour { a.r + b.r, a.g + b.g, a.b + b.b, a.a };
}

Colour Ramp(const Colour* stops, int n, float t)
{
    t = Clamp01(t) * (float)(n - 1);
    int i = std::min((int)t, n - 2);
    return ColourMix(stops[i], stops[i + 1], t - (float)i);
}

float Clamp01(float v)
{
    return v < 0.0f ? 0.0f : (v > 1.0f ? 1.0f : v);
}

float Smooth(float e0, float e1, float v)
{
    float t = Clamp01((v - e0) / (e1 - e0));
    return t * t * (3.0f - 2.0f * t);
}

Image ImageMake(int width, int height, Colour fill)
{
    return Image { width, height, std::vector<Colour>((size_t)width * height, fill) };
}

Colour& ImageAt(Image& image, int x, int y)
{
    return image.pixels[(size_t)y * image.width + x];
}

Colour ImageGet(const Image& image, int x, int y)
{
    x = std::clamp(x, 0, image.width - 1);
    y = std::clamp(y, 0, image.height - 1);
    return image.pixels[(size_t)y * image.width + x];
}

static int Wrap(int v, int n)
{
    v %= n;
    return v < 0 ? v + n : v;
}

Colour ImageGetWrap(const Image& image, int x, int y)
{
    return image.pixels[(size_t)Wrap(y, image.height) * image.width + Wrap(x, image.width)];
}

void ImageBlendPixel(Image& image, int x, int y, Colour colour, float coverage)
{
    if (x < 0 || y < 0 || x >= image.width || y >= image.height)
        return;
    float a = Clamp01(colour.a * coverage);
    if (a <= 0.0f)
        return;
    Colour& d = ImageAt(image, x, y);
    float outA = a + d.a * (1.0f - a);
    if (outA <= 0.0f)
        return;
    float keep = d.a * (1.0f - a);
    d.r = (colour.r * a + d.r * keep) / outA;
    d.g = (colour.g * a + d.g * keep) / outA;
    d.b = (colour.b * a + d.b * keep) / outA;
    d.a = outA;
}

void ImageAddPixel(Image& image, int x, int y, Colour colour, float amount)
{
    if (x < 0 || y < 0 || x >= image.width || y >= image.height || amount <= 0.0f)
        return;
    Colour& d = ImageAt(image, x, y);
    // Light on a transparent pixel: keep its brightness as colour and alpha.
    float add = amount * std::max(colour.r, std::max(colour.g, colour.b));
    float newA = std::min(1.0f, d.a + add);
    if (newA <= 0.0f)
        return;
    d.r = (d.r * d.a + colour.r * amount) / newA;
    d.g = (d.g * d.a + colour.g * amount) / newA;
    d.b = (d.b * d.a + colour.b * amount) / newA;
    d.a = newA;
}

void ImagePaint(Image& image, const Mask& mask, const std::function<Colour(int x, int y)>& fn)
{
    for (int y = 0; y < mask.height && y < image.height; y++) {
        for (int x = 0; x < mask.width && x < image.width; x++) {
            float c = mask.cover[(size_t)y * mask.width + x];
            if (c > 0.0f)
                ImageBlendPixel(image, x, y, fn(x, y), c);
        }
    }
}

void ImagePaintFlat(Image& image, const Mask& mask, Colour colour)
{
    ImagePaint(image, mask, [&](int, int) { return colour; });
}

void ImageDraw(Image& dst, const Image& src, int x0, int y0)
{
    for (int y = 0; y < src.height; y++)
        for (int x = 0; x < src.width; x++)
            ImageBlendPixel(dst, x0 + x, y0 + y, src.pixels[(size_t)y * src.width + x], 1.0f);
}

void ImageMirrorX(Image& image)
{
    for (int y = 0; y < image.height; y++)
        for (int x = 0; x < image.width / 2; x++)
            ImageAt(image, image.width - 1 - x, y) = ImageAt(image, x, y);
}

void ImageOutline(Image& image, Colour colour)
{
    Image src = image;
    for (int y = 0; y < image.height; y++) {
        for (int x = 0; x < image.width; x++) {
            if (ImageGet(src, x, y).a >= 0.5f)
                continue;
            bool edge = false;
            for (int d = 0; d < 4 && !edge; d++) {
                int nx = x + (d == 0) - (d == 1), ny = y + (d == 2) - (d == 3);
                if (nx >= 0 && ny >= 0 && nx < image.width && ny < image.height)
                    edge = src.pixels[(size_t)ny * image.width + nx].a >= 0.5f;
            }
            if (edge)
                ImageAt(image, x, y) = colour;
        }
    }
}

Mask MaskMake(int width, int height)
{
    return Mask { width, height, std::vector<float>((size_t)width * height, 0.0f) };
}

// Samples an inside test on a 4 x 4 grid per pixel within a bounding box.
template <typename Inside>
static void MaskSample(Mask& mask, float x0, float y0, float x1, float y1, Inside inside)
{
    int ix0 = std::max(0, (int)std::floor(x0)), iy0 = std::max(0, (int)std::floor(y0));
    int ix1 = std::min(mask.width - 1, (int)std::ceil(x1)), iy1 = std::min(mask.height - 1, (int)std::ceil(y1));
    for (int y = iy0; y <= iy1; y++) {
        for (int x = ix0; x <= ix1; x++) {
            int hits = 0;
            for (int sy = 0; sy < 4; sy++)
                for (int sx = 0; sx < 4; sx++)
                    hits += inside(x + (sx + 0.5f) / 4.0f, y + (sy + 0.5f) / 4.0f) ? 1 : 0;
            float& c = mask.cover[(size_t)y * mask.width + x];
            c = std::max(c, hits / 16.0f);
        }
    }
}

void MaskPolygon(Mask& mask, const Vec2* p, int n)
{
    float x0 = p[0].x, y0 = p[0].y, x1 = p[0].x, y1 = p[0].y;
    for (int i = 1; i < n; i++) {
        x0 = std::min(x0, p[i].x), x1 = std::max(x1, p[i].x);
        y0 = std::min(y0, p[i].y), y1 = std::max(y1, p[i].y);
    }
    MaskSample(mask, x0, y0, x1, y1, [&](float x, float y) {
        bool in = false;
        for (int i = 0, j = n - 1; i < n; j = i++) {
            if ((p[i].y > y) != (p[j].y > y) && x < (p[j].x - p[i].x) * (y - p[i].y) / (p[j].y - p[i].y) + p[i].x)
                in = !in;
        }
        return in;
    });
}

void MaskEllipse(Mask& mask, float cx, float cy, float rx, float ry)
{
    MaskSample(mask, cx - rx, cy - ry, cx + rx, cy + ry, [&](float x, float y) {
        float dx = (x - cx) / rx, dy = (y - cy) / ry;
        return dx * dx + dy * dy <= 1.0f;
    });
}

void MaskRect(Mask& mask, float x0, float y0, float x1, float y1)
{
    MaskSample(mask, x0, y0, x1, y1, [&](float x, float y) { return x >= x0 && x < x1 && y >= y0 && y < y1; });
}

void MaskLine(Mask& mask, float x0, float y0, float x1, float y1, float width)
{
    float r = width * 0.5f;
    float dx = x1 - x0, dy = y1 - y0, len2 = dx * dx + dy * dy;
    MaskSample(mask, std::min(x0, x1) - r, std::min(y0, y1) - r, std::max(x0, x1) + r, std::max(y0, y1) + r,
               [&](float x, float y) {
                   float t = len2 > 0.0f ? Clamp01(((x - x0) * dx + (y - y0) * dy) / len2) : 0.0f;
                   float ex = x0 + dx * t - x, ey = y0 + dy * t - y;
                   return ex * ex + ey * ey <= r * r;
               });
}

void MaskSubtract(Mask& mask, const Mask& hole)
{
    for (size_t i = 0; i < mask.cover.size(); i++)
        mask.cover[i] = std::max(0.0f, mask.cover[i] - hole.cover[i]);
}

void MaskUnion(Mask& mask, const Mask& other)
{
    for (size_t i = 0; i < mask.cover.size(); i++)
        mask.cover[i] = std::max(mask.cover[i], other.cover[i]);
}

static uint32_t Hash(int x, int y, uint32_t seed)
{
    uint32_t h = (uint32_t)x * 374761393u + (uint32_t)y * 668265263u + seed * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    return h ^ (h >> 16);
}

static float Gradient(int ix, int iy, float fx, float fy, uint32_t seed)
{
    float angle = (float)(Hash(ix, iy, seed) & 0xFFFF) * (6.2831853f / 65536.0f);
    return std::cos(angle) * fx + std::sin(angle) * fy;
}

float Noise(float x, float y, int periodX, int periodY, uint32_t seed)
{
    float fx0 = std::floor(x), fy0 = std::floor(y);
    int ix = (int)fx0, iy = (int)fy0;
    float fx = x - fx0, fy = y - fy0;
    int x0 = Wrap(ix, periodX), x1 = Wrap(ix + 1, periodX);
    int y0 = Wrap(iy, periodY), y1 = Wrap(iy + 1, periodY);
    float ux = fx * fx * fx * (fx * (fx * 6 - 15) + 10), uy = fy * fy * fy * (fy * (fy * 6 - 15) + 10);
    float a = Gradient(x0, y0, fx, fy, seed), b = Gradient(x1, y0, fx - 1, fy, seed);
    float c = Gradient(x0, y1, fx, fy - 1, seed), d = Gradient(x1, y1, fx - 1, fy - 1, seed);
    float top = a + (b - a) * ux, bottom = c + (d - c) * ux;
    return (top + (bottom - top) * uy) * 1.4f;
}

float Fbm(float x, float y, int periodX, int periodY, int octaves, uint32_t seed)
{
    float sum = 0.0f, weight = 0.5f, total = 0.0f;
    for (int i = 0; i < octaves; i++) {
        sum += Noise(x, y, periodX, periodY, seed + (uint32_t)i * 7919u) * weight;
        total += weight;
        x *= 2.0f, y *= 2.0f, periodX *= 2, periodY *= 2, weight *= 0.5f;
    }
    return sum / total;
}

float WrapDistance(float x0, float y0, float x1, float y1, float w, float h)
{
    float dx = std::fmod(std::fabs(x0 - x1), w), dy = std::fmod(std::fabs(y0 - y1), h);
    dx = std::min(dx, w - dx);
    dy = std::min(dy, h - dy);
    return std::sqrt(dx * dx + dy * dy);
}

void ImageGlow(Image& image, float cx, float cy, float radius, Colour colour, float strength, bool wrap)
{
    int r = (int)std::ceil(radius);
    for (int y = (int)cy - r; y <= (int)cy + r; y++) {
        for (int x = (int)cx - r; x <= (int)cx + r; x++) {
            float dx = x + 0.5f - cx, dy = y + 0.5f - cy;
            float d = std::sqrt(dx * dx + dy * dy) / radius;
            if (d >= 1.0f)
                continue;
            float k = (1.0f - d) * (1.0f - d) * strength;
            int px = x, py = y;
            if (wrap)
                px = Wrap(x, image.width), py = Wrap(y, image.height);
            ImageAddPixel(image, px, py, colour, k);
        }
    }
}

void ImageStar(Image& image, float cx, float cy, float size, Colour colour, bool wrap)
{
    ImageGlow(image, cx, cy, 1.0f + size * 1.6f, colour, 0.35f + size * 0.3f, wrap);
    ImageGlow(image, cx, cy, 0.9f + size * 0.5f, colour, 1.0f, wrap);
    if (size < 1.6f)
        return;
    // Diffraction rays: thin lines fading out along both axes.
    int len = (int)(size * 2.5f);
    for (int i = 1; i <= len; i++) {
        float k = (1.0f - (float)i / (len + 1)) * 0.55f;
        int pts[4][2] = { { i, 0 }, { -i, 0 }, { 0, i }, { 0, -i } };
        for (auto& p : pts) {
            int x = (int)cx + p[0], y = (int)cy + p[1];
            if (wrap)
                x = Wrap(x, image.width), y = Wrap(y, image.height);
            ImageAddPixel(image, x, y, colour, k * k);
        }
    }
}

Colour SphereLight(float dx, float dy, Colour base)
{
    float dz = std::sqrt(std::max(0.0f, 1.0f - dx * dx - dy * dy));
    float diffuse = std::max(0.0f, -0.45f * dx - 0.55f * dy + 0.7f * dz);
    float shine = std::pow(std::max(0.0f, -0.35f * dx - 0.45f * dy + 0.82f * dz), 24.0f);
    return ColourMix(ColourScale(base, 0.35f + 0.8f * diffuse), Colour { 1, 1, 1, base.a }, Clamp01(shine));
}
