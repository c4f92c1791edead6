// The particle system: 512 particles and 25 effects drawn as coloured, scaled glows.
#include "gfx/particle.h"
#include "app/random.h"
#include "app/entry.h"
#include "app/windowproc.h"
#include "gfx/bitmap.h"
#include "gfx/cpu.h"
#include "platform/sys.h"
#include "platform/win.h"

#include <algorithm>
#include <cmath>

ParticleSystem particleSystem;

static const double degreesToRadians = 0.017453292519943278;
static const double radiansToDegrees = 57.29577951308238;
static const double fullTurn = 6.28318530717958;

// Kinds 5 to 8; kinds 0 to 4 live in the system and are set by the game.
static const ParticleKind ParticleKindTable[ParticleKindLast + 1 - ParticleKindCount] = {
    //  image          lifetime  start colour            end colour        start  end scale
    { ParticleSmoke,  2.0f, { 255, 255,  51, 255 }, { 255, 0, 0, 0 }, 0.25f, 1.0f },   // 5
    { ParticleSmoke,  2.0f, { 255, 255, 255, 255 }, {   0, 0, 0, 0 }, 0.25f, 1.0f },   // 6
    { ParticleSpark,  2.0f, { 255, 255,   0, 255 }, { 255, 0, 0, 0 }, 0.5f,  0.75f },  // 7
    { ParticleBubble, 3.0f, { 255, 255,   0, 255 }, { 255, 0, 0, 0 }, 0.25f, 0.5f },   // 8
};

static const wchar_t* const particleImageNames[ParticleImageCount] = { L"SMOKE", L"SPARK", L"BUBBLE", L"FLARE" };

// Glows larger than this are cut to it; a size from a wild scale would overflow otherwise.
static const float largestGlow = 16384.0f;

static void BuildAngleTables(ParticleSystem* system)
{
    for (int d = 0; d < 360; d++) {
        system->sine[d] = (float)sin(d * degreesToRadians);
        system->cosine[d] = (float)cos(d * degreesToRadians);
    }
}

void ParticleSystemInit(ParticleSystem* system)
{
    for (Surface& image : system->images) {
        SurfaceRelease(&image);
        SurfaceInit(&image);
    }
    system->frameTime = 0.05f;
    system->owner = nullptr;
    for (ParticleKind& kind : system->kinds)
        kind = ParticleKind();
    for (Particle& particle : system->particles)
        particle = Particle();
    for (Emitter& emitter : system->emitters)
        emitter = Emitter();
    BuildAngleTables(system);
    for (uint16_t& colour : system->glowPalette)
        colour = 0;
    system->glowStart = { 0, 0, 0, 0 };
    system->glowEnd = { 0, 0, 0, 0 };
    system->glowLayout = PixelLayoutNone;
}

// From here on the image holds grey levels 0-250 where it is not the key.
static void ConvertToGrey(Surface* image)
{
    uint16_t key = image->pixels[0];
    SurfaceSetColourKey(image, key);
    size_t count = (size_t)image->width * (size_t)image->height;
    for (size_t i = 0; i < count; i++) {
        if (image->pixels[i] == key)
            continue;
        int r = 0, g = 0, b = 0;
        SplitColour(image->pixels[i], &r, &g, &b);
        image->pixels[i] = (uint16_t)(0.114 * b + 0.587 * g + 0.299 * r);
    }
}

void ParticleSystemLoad(ParticleSystem* system, Window* owner, float periodMs)
{
    system->owner = owner;
    BuildAngleTables(system);
    system->frameTime = (float)(periodMs * 0.001);
    for (int i = 0; i < ParticleImageCount; i++) {
        Surface* image = &system->images[i];
        if (!LoadBitmapResource(image, moduleHandle, particleImageNames[i])) {
            SurfaceRelease(image);
            SysMessageBox(WindowFocus(), "Unable to initialise particle system", "Debug", SysBoxOk);
            continue;
        }
        ConvertToGrey(image);
    }
}

void SetParticleKind(ParticleSystem* system, int kind, const ParticleKind* def)
{
    if (kind >= 0 && kind < ParticleKindCount && def->image < ParticleImageCount)
        system->kinds[kind] = *def;
}

static const ParticleKind* KindDef(const ParticleSystem* system, int kind)
{
    if (kind >= 0 && kind < ParticleKindCount)
        return &system->kinds[kind];
    if (kind >= ParticleKindCount && kind <= ParticleKindLast)
        return &ParticleKindTable[kind - ParticleKindCount];
    return nullptr;
}

int SpawnEffect(ParticleSystem* system, int kind, int x, int y, const EffectParams* params)
{
    if (!KindDef(system, kind))
        return 0;
    for (int i = 0; i < EmitterCount; i++) {
        Emitter* e = &system->emitters[i];
        if (e->active)
            continue;
        e->kind = (uint32_t)kind;
        e->age = 0;
        e->duration = params->duration;
        e->gravity = params->gravity;
        e->speed = params->speed;
        e->speedVar = params->speedVar;
        e->rate = params->rate;
        e->jitter = params->jitter;
        e->flags = params->flags;
        e->live = 0;
        e->emitted = 0;
        e->x = (float)x;
        e->y = (float)y;
        e->spin = (float)(params->spin * degreesToRadians);
        if (params->angle >= 0) {
            e->angle = (float)(params->angle * degreesToRadians);
            e->angleVar = (float)(params->angleVar * degreesToRadians);
        } else {
            e->angle = -1.0f;
            e->angleVar = 0;
        }
        e->active = 1;
        return i + 1;
    }
    return 0;
}

// channel + (random mod 4j) - j, kept within 0-255.
static uint8_t JitterChannel(int channel, int jitter)
{
    int v = channel + RandomNext() % (4 * jitter) - jitter;
    return (uint8_t)(v < 0 ? 0 : v > 255 ? 255 : v);
}

static void JitterColour(ParticleColour* colour, int jitter)
{
    colour->red = JitterChannel(colour->red, jitter);
    colour->green = JitterChannel(colour->green, jitter);
    colour->blue = JitterChannel(colour->blue, jitter);
}

// value moved by up to range in hundredths, each hundredth worth factor: one
// draw for the amount, the next for the sign (odd takes it away).
static double Varied(double value, double range, double factor)
{
    double hundredths = range * 100;
    if (!(hundredths >= 1))
        return value;   // the callers' speeds and spreads are 0 or at least 0.01
    int n = hundredths < 1e9 ? (int)hundredths : 1000000000;
    double d = (RandomNext() % n) * 0.01 * factor;
    return (RandomNext() & 1) ? value - d : value + d;
}

// The whole degrees of a direction, folded onto 0-359 by their absolute value.
static int DegreeIndex(double radians)
{
    double degrees = fabs(trunc(radians * radiansToDegrees));
    return degrees < 1e9 ? (int)degrees % 360 : 0;
}

int SpawnParticle(ParticleSystem* system, int kind, int x, int y, float speed, float speedVar,
                  float gravity, float angle, float angleVar, uint8_t jitter)
{
    const ParticleKind* def = KindDef(system, kind);
    if (!def)
        return 0;
    for (int i = 0; i < ParticleCount; i++) {
        Particle* p = &system->particles[i];
        if (p->active)
            continue;
        p->gravity = gravity;
        p->emitter = 0;
        p->flags = 0;
        p->vx = p->vy = 0;
        p->age = 0;
        p->x = (float)x;
        p->y = (float)y;
        p->image = def->image;
        p->lifetime = def->lifetime;
        p->startColour = def->startColour;
        p->endColour = def->endColour;
        p->startScale = def->startScale;
        p->endScale = def->endScale;
        if (jitter > 0) {
            JitterColour(&p->startColour, jitter);
            JitterColour(&p->endColour, jitter);
        }
        p->active = 1;
        if (speed == 0)
            return i + 1;
        double s = Varied(speed, speed, speedVar);
        double a = angleVar != 0 ? Varied(angle, angleVar, 1.0) : angle;
        int index = DegreeIndex(a);
        p->vx = (float)(system->cosine[index] * s);
        p->vy = (float)(system->sine[index] * s);
        return i + 1;
    }
    return 0;
}

// A float position as a pixel, kept far enough inside the int range for the clipping sums.
static int PixelOf(float v)
{
    return v > -1.0e6f ? (v < 1.0e6f ? (int)v : 1000000) : -1000000;
}

static int GlowSize(float size)
{
    if (!(size < largestGlow))
        return (int)largestGlow;
    int n = size > 0 ? (int)size : 0;
    return n + (n & 1);
}

static void DrawParticle(ParticleSystem* system, Surface* destination, const Particle* p)
{
    if (p->image >= ParticleImageCount)
        return;
    Surface* image = &system->images[p->image];
    float t = p->age / p->lifetime;
    if (!(t <= 1.0f))
        t = 1.0f;   // a lifetime of 0 still draws once, at its end look
    float scale = p->startScale + (p->endScale - p->startScale) * t;
    int level = (int)(p->startColour.alpha + (p->endColour.alpha - p->startColour.alpha) * t);
    int w = GlowSize(image->width * scale);
    int h = GlowSize(image->height * scale);
    SurfaceSetAlpha(image, (uint8_t)(level < 0 ? 0 : level > 255 ? 255 : level));
    GlowBlit(system, destination, PixelOf(p->x - (float)(w / 2)), PixelOf(p->y - (float)(h / 2)), w, h, p);
}

void ParticleSystemRender(ParticleSystem* system, Surface* destination)
{
    for (int i = 0; i < ParticleCount; i++) {
        Particle* p = &system->particles[i];
        if (!p->active)
            continue;
        DrawParticle(system, destination, p);
        p->age += system->frameTime;
        if (p->age < p->lifetime) {
            p->x += p->vx;
            p->y += p->vy;
            p->vy += p->gravity;
            continue;
        }
        p->active = 0;
        // The handler may reuse this very slot, so the number is read first.
        int emitter = p->emitter;
        if (p->flags & ParticleReportDeath)
            MessageSend(system->owner, WM_PARTICLEEXPIRED, (uintptr_t)emitter, (intptr_t)p);
        if (emitter && system->emitters[emitter - 1].live > 0)
            system->emitters[emitter - 1].live--;
    }
    // Effects that the handlers above started run below in this same pass.
    for (int i = 0; i < EmitterCount; i++) {
        Emitter* e = &system->emitters[i];
        if (!e->active)
            continue;
        e->age += system->frameTime;
        if (e->age < e->duration) {
            // Particles the full pool refused are not counted, so they come on later frames.
            float owed = e->rate * e->age - (float)e->emitted;
            int due = owed >= 1 ? (owed < (float)ParticleCount ? (int)owed : ParticleCount) : 0;
            for (int n = 0; n < due; n++) {
                int number = SpawnParticle(system, (int)e->kind, (int)e->x, (int)e->y, e->speed, e->speedVar,
                                           e->gravity, e->angle, e->angleVar, e->jitter);
                if (!number)
                    break;
                Particle* p = &system->particles[number - 1];
                p->emitter = (uint8_t)(i + 1);
                p->flags = e->flags;
                e->live++;
                e->emitted++;
            }
            if (e->angle != 0) {
                e->angle += e->spin;
                if ((double)e->angle >= fullTurn)
                    e->angle = (float)(e->angle - fullTurn);
            }
        } else if (e->live == 0) {
            e->active = 0;
            if (e->flags & EffectReportEnd)
                MessageSend(system->owner, WM_EMITTERDONE, (uintptr_t)(i + 1), (intptr_t)e);
        }
    }
}

void ParticleSystemClear(ParticleSystem* system)
{
    for (Particle& particle : system->particles)
        particle.active = 0;
    for (Emitter& emitter : system->emitters)
        emitter.active = 0;
}

int ParticleLoadPercent(const ParticleSystem* system)
{
    int count = 0;
    for (const Particle& particle : system->particles)
        count += particle.active != 0;
    return count * 100 / ParticleCount;
}

// Rounded division by 255 of a signed product; both shifts arithmetic.
static inline int Div255(int product)
{
    int x = product + 128;
    return (x + (x >> 8)) >> 8;
}

static int SameColour(const ParticleColour& a, const ParticleColour& b)
{
    return a.red == b.red && a.green == b.green && a.blue == b.blue;
}

// Grey level i takes end + (start - end) x i / 255 as its colour. Particles
// of one kind share their colours, so the table outlives most calls.
static void GlowPaletteUpdate(ParticleSystem* system, const ParticleColour& start, const ParticleColour& end)
{
    if (SameColour(start, system->glowStart) && SameColour(end, system->glowEnd) &&
        system->glowLayout == pixelLayout)
        return;
    for (int i = 0; i < 256; i++)
        system->glowPalette[i] = MakeColour(end.red + Div255((start.red - end.red) * i),
                                            end.green + Div255((start.green - end.green) * i),
                                            end.blue + Div255((start.blue - end.blue) * i));
    system->glowStart = start;
    system->glowEnd = end;
    system->glowLayout = (uint8_t)pixelLayout;
}

// Every channel value, difference and product of the screen blend fits in
// 16 signed bits (at most 63 x 254 + 128 + 63), so it is written in int16_t:
// the compiler then blends eight pixels per vector.
using Lane = int16_t;

static inline Lane Div255Lane(Lane product)
{
    Lane x = (Lane)(product + 128);
    return (Lane)((Lane)(x + (x >> 8)) >> 8);
}

// Screen of s over d at weight: d moves towards max - (max - d)(max - s) / 2^bits.
static inline Lane GlowChannel(Lane d, Lane s, Lane max, int bits, Lane weight)
{
    Lane t = (Lane)(max - ((Lane)((max - d) * (max - s)) >> bits));
    return (Lane)(d + Div255Lane((Lane)((t - d) * weight)));
}

// The clipped part of a glow: rows j0 to j1 - 1 and columns k0 to k1 - 1 of the
// w x h box, with the image stepped in 16.16 fixed point.
struct GlowSpan {
    Surface* destination;
    int x, y;
    int j0, j1, k0, k1;
    uint32_t sx, sy;
};

// A row is drawn in pieces of at most this many pixels: one pass samples the
// scaled image and looks up each pixel's colour, a second, branch-free one
// weighs and blends the piece into the destination.
static const int glowPiece = 256;

struct GlowPiece {
    uint16_t grey[glowPiece];   // as sampled: the key or a value over 255 leaves the destination as it was
    uint16_t colour[glowPiece];
};

template <int RedShift, int GreenMax, int GreenBits>
static inline __attribute__((always_inline)) void GlowBlendLoop(uint16_t* __restrict d,
                                                                const GlowPiece* __restrict piece, int count,
                                                                uint16_t key, uint16_t level)
{
    for (int i = 0; i < count; i++) {
        uint16_t p = d[i], s = piece->colour[i], g = piece->grey[i];
        uint16_t keep = (g == key) | (g > 255) ? 0xFFFF : 0;
        // level x g stays below 2^16, so the weight is exact in 16-bit lanes.
        Lane w = (Lane)((uint16_t)(level * (g & 255)) >> 8);
        Lane r = GlowChannel((Lane)((p >> RedShift) & 31), (Lane)((s >> RedShift) & 31), 31, 5, w);
        Lane gr = GlowChannel((Lane)((p >> 5) & GreenMax), (Lane)((s >> 5) & GreenMax), GreenMax, GreenBits, w);
        Lane b = GlowChannel((Lane)(p & 31), (Lane)(s & 31), 31, 5, w);
        uint16_t blended = (uint16_t)((r << RedShift) | (gr << 5) | b);
        d[i] = (uint16_t)((p & keep) | (blended & ~keep));
    }
}

using GlowBlendFn = void (*)(uint16_t*, const GlowPiece*, int, uint16_t, uint16_t);

template <int RedShift, int GreenMax, int GreenBits>
static void GlowBlendBuild(uint16_t* d, const GlowPiece* piece, int count, uint16_t key, uint16_t level)
{
    GlowBlendLoop<RedShift, GreenMax, GreenBits>(d, piece, count, key, level);
}

// The blend is arithmetic on whole vectors, so wider ones than the build's
// are chosen at start when the machine has them. Sixteen lanes, not the 32 of
// AVX-512: a glow's rows are short, and 32-lane vectors left most of each row
// to the scalar tail, which made play slower.
#if defined(__x86_64__)
template <int RedShift, int GreenMax, int GreenBits>
__attribute__((target("avx2"))) static void GlowBlendAvx2(uint16_t* d, const GlowPiece* piece, int count,
                                                          uint16_t key, uint16_t level)
{
    GlowBlendLoop<RedShift, GreenMax, GreenBits>(d, piece, count, key, level);
}
#endif

template <int RedShift, int GreenMax, int GreenBits>
static GlowBlendFn GlowBlendChoose()
{
#if defined(__x86_64__)
    if (CpuVectorWidth() != CpuVectorsBuild)
        return GlowBlendAvx2<RedShift, GreenMax, GreenBits>;
#endif
    return GlowBlendBuild<RedShift, GreenMax, GreenBits>;
}

static const GlowBlendFn glowBlend565 = GlowBlendChoose<11, 63, 6>();
static const GlowBlendFn glowBlend555 = GlowBlendChoose<10, 31, 5>();

// Pixels of a glow are independent, so it is drawn a band of columns at a
// time and each band's image columns are found once for all its rows.
static void GlowRows(const ParticleSystem* system, const Surface* image, const GlowSpan& span, GlowBlendFn blend)
{
    const uint16_t* palette = system->glowPalette;
    GlowPiece piece;
    uint32_t column[glowPiece];
    for (int k = span.k0; k < span.k1; k += glowPiece) {
        int count = std::min(glowPiece, span.k1 - k);
        for (int i = 0; i < count; i++)
            column[i] = (uint32_t)(k + i) * span.sx >> 16;
        for (int j = span.j0; j < span.j1; j++) {
            const uint16_t* src = image->pixels + (size_t)((j * span.sy) >> 16) * (size_t)image->width;
            for (int i = 0; i < count; i++) {
                uint16_t g = src[column[i]];
                piece.grey[i] = g;
                piece.colour[i] = palette[g & 255];
            }
            uint16_t* d = span.destination->pixels + (size_t)(span.y + j) * (size_t)span.destination->width +
                          (span.x + k);
            blend(d, &piece, count, image->colourKey, image->alpha);
        }
    }
}

int GlowBlit(ParticleSystem* system, Surface* destination, int x, int y, int w, int h, const Particle* record)
{
    if (record->image >= ParticleImageCount || w < 1 || h < 1)
        return 0;
    const Surface* image = &system->images[record->image];
    // The 16.16 steps need the image's size shifted by 16 to fit.
    if (!image->pixels || !destination->pixels || image->width > 4096 || image->height > 4096)
        return 0;
    GlowPaletteUpdate(system, record->startColour, record->endColour);

    GlowSpan span;
    span.sx = ((uint32_t)image->width << 16) / (uint32_t)w;
    span.sy = ((uint32_t)image->height << 16) / (uint32_t)h;
    span.j0 = y < 0 ? (int)std::min<int64_t>(-(int64_t)y, h) : 0;
    span.j1 = (int)std::max<int64_t>(0, std::min<int64_t>(h, (int64_t)destination->height - y));
    span.k0 = x < 0 ? (int)std::min<int64_t>(-(int64_t)x, w) : 0;
    span.k1 = (int)std::max<int64_t>(0, std::min<int64_t>(w, (int64_t)destination->width - x));
    if (span.j0 >= span.j1 || span.k0 >= span.k1)
        return 1;
    span.destination = destination;
    span.x = x;
    span.y = y;
    GlowRows(system, image, span, pixelLayout == PixelLayout565 ? glowBlend565 : glowBlend555);
    return 1;
}
