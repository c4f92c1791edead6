// The showcase: each stage's background with explosions, sparks, shots and enemy glows, saved as PNG frames.
//
//   showcase OUTDIR [--bitmaps DIR] [--format 565|555] [--frames N]
//
// Every row of the stage table is set up as a stage change sets it up and
// run for N frames (default 64, 3.2 s) with the game's own drawing calls over
// it. Frames 0 (background alone), 8, 24, 44 and 60 are written to OUTDIR as
// stage<row>-<frame>.png. --bitmaps registers every NAME.bmp of DIR as the
// bitmap resource NAME, so art can be judged before it is compiled in.
#include "app/entry.h"
#include "app/windowproc.h"
#include "game/world.h"
#include "gfx/bitmap.h"
#include "gfx/blit.h"
#include "gfx/parallax.h"
#include "gfx/particle.h"
#include "platform/gx.h"
#include "platform/headless.h"
#include "platform/res.h"
#include "platform/sys.h"
#include "platform/win.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <list>
#include <string>
#include <vector>

// The sparks the game starts where a particle that asked for it dies.
static const EffectParams expirySparks = { 0.5f, 0.2f, 2.0f, 0.5f, 40.0f, 255, 270.0f, 90.0f, 0.0f, 0 };

// The explosions of the game: a big one is B1-B3, a small one S1-S2.
struct ExplosionDef {
    int kind;
    EffectParams params;
};
static const ExplosionDef BigExplosionTable[3] = {
    { 6, { 0.1f, 0.0f, 1.5f, 0.75f, 25.0f, 0, 0.0f, 360.0f, 0.0f, 0 } },
    { 5, { 0.1f, 0.0f, 1.0f, 0.0f, 100.0f, 25, 0.0f, 360.0f, 0.0f, 2 } },
    { 7, { 0.1f, 0.1f, 2.0f, 0.75f, 50.0f, 0, 0.0f, 360.0f, 0.0f, 0 } },
};
static const ExplosionDef SmallExplosionTable[2] = {
    { 6, { 0.5f, 0.0f, 1.0f, 0.75f, 3.0f, 0, 0.0f, 360.0f, 0.0f, 0 } },
    { 7, { 0.2f, 0.1f, 1.0f, 0.75f, 30.0f, 0, 0.0f, 360.0f, 0.0f, 0 } },
};

// The trail kind of the shots and the rocket kind of the menu and high-score screens.
static const ParticleKind trailKind = { ParticleSmoke, 0.5f, { 255, 255, 255, 255 }, { 0, 0, 0, 0 }, 0.25f, 0.5f };
static const ParticleKind rocketKind = { ParticleSmoke, 2.0f, { 64, 128, 0, 255 }, { 0, 0, 0, 64 }, 0.25f, 0.5f };

static const int savedFrames[] = { 0, 8, 24, 44, 60 };

static int sparksStarted, effectsEnded;

static intptr_t ShowcaseProc(Window* window, uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    if (message == WM_PARTICLEEXPIRED) {
        const Particle* particle = (const Particle*)lParam;
        sparksStarted += SpawnEffect(&particleSystem, 7, (int)particle->x, (int)particle->y, &expirySparks) != 0;
        return 0;
    }
    if (message == WM_EMITTERDONE) {
        effectsEnded++;
        return 0;
    }
    return WindowDefaultProc(window, message, wParam, lParam);
}

static void Explode(const ExplosionDef* table, int count, int x, int y)
{
    for (int i = 0; i < count; i++)
        SpawnEffect(&particleSystem, table[i].kind, x, y, &table[i].params);
}

// A shot, ship or glow of the frame: where it is, how it moves, how it is drawn.
enum ThingKind { PlainShot, SpreadShot, EnemyShip, EnemyShot };
struct Thing {
    ThingKind kind;
    float x, y, vx, vy;
    uint32_t step;
};

static void DrawGlow(Surface* frame, int image, int x, int y, int w, int h, ParticleColour start, ParticleColour end)
{
    Particle record = {};
    record.image = (uint8_t)image;
    record.startColour = start;
    record.endColour = end;
    SurfaceSetAlpha(&particleSystem.images[image], 255);
    GlowBlit(&particleSystem, frame, x, y, w, h, &record);
}

// The glows exactly as the game draws its shots and ships, with the shots' trails.
static void DrawThing(Surface* frame, Thing* t)
{
    int x = (int)t->x, y = (int)t->y;
    switch (t->kind) {
    case PlainShot:
        if (t->step % 2 == 0)
            SpawnParticle(&particleSystem, 0, x, y, 0, 0, 0, 0, 360.0f, 0);
        DrawGlow(frame, ParticleFlare, x - 8, y - 16, 16, 32, { 255, 255, 255, 255 }, { 255, 255, 0, 0 });
        break;
    case SpreadShot:
        if (t->step % 10 == 0)
            SpawnParticle(&particleSystem, 0, x, y, 0, 0, 0, 0, 360.0f, 0);
        DrawGlow(frame, ParticleFlare, x - 12, y - 12, 24, 24, { 255, 255, 255, 255 }, { 255, 0, 0, 255 });
        break;
    case EnemyShip:
        DrawGlow(frame, ParticleFlare, x - 16, y - 16, 32, 32, { 255, 255, 255, 255 }, { 255, 0, 255, 0 });
        DrawGlow(frame, ParticleSpark, x - 24, y - 24, 48, 48, { 255, 255, 255, 255 }, { 255, 0, 255, 0 });
        break;
    case EnemyShot:
        DrawGlow(frame, ParticleFlare, x - 16, y - 16, 32, 32, { 255, 255, 0, 255 }, { 255, 0, 0, 0 });
        break;
    }
    t->step++;
    t->x += t->vx;
    t->y += t->vy;
}

// The sprite images the showcase draws besides the glows, keyed by their top-left pixel
// (the ship by 0, as the game loads it).
struct Sprites {
    Surface ship, turret;
};

static void DrawSprite(Surface* frame, const Surface* image, int x, int y)
{
    if (image->pixels)
        Blit(frame, x - (image->width + 1) / 2, y - (image->height + 1) / 2, image->width, image->height, image,
             0, 0, BlitKeyedAlpha);
}

// One frame in the game's order: background, turret, ship, enemies, shots, particles.
static void RunFrame(Surface* frame, Parallax* parallax, const Sprites& sprites, std::list<Thing>* things, int n)
{
    ParallaxCompose(parallax, frame);
    int turretY = 40 + n;
    DrawSprite(frame, &sprites.turret, 60, turretY);
    if (n % 10 < 3)
        DrawGlow(frame, ParticleFlare, 60 - 32, turretY - 32, 64, 64, { 255, 255, 255, 255 }, { 255, 255, 0, 0 });
    DrawSprite(frame, &sprites.ship, 120, 270);
    for (Thing& t : *things)
        DrawThing(frame, &t);
    things->remove_if([](const Thing& t) { return t.y < -32 || t.y > 352 || t.x < -32 || t.x > 272; });
    ParticleSystemRender(&particleSystem, frame);
}

// The events of a stage's few seconds: ships, shots, explosions and rockets whose deaths spark.
static void Script(std::list<Thing>* things, int n)
{
    if (n == 1)
        for (int i = 0; i < 4; i++)
            things->push_back({ EnemyShip, 30.0f + 60 * i, 40.0f + 12 * i, (i & 1) ? -0.6f : 0.6f, 1.2f, 0 });
    if (n % 4 == 0)
        things->push_back({ PlainShot, 120, 238, 0, -10, 0 });
    if (n == 20) {
        static const float spread[8][2] = { { 1, 0 }, { 0.8f, 0.8f }, { 0, 1 }, { -0.8f, 0.8f },
                                            { -1, 0 }, { -0.8f, -0.8f }, { 0, -1 }, { 0.8f, -0.8f } };
        for (const auto& d : spread)
            things->push_back({ SpreadShot, 120, 238, d[0] * 6, d[1] * 6, 0 });
    }
    if (n % 12 == 6)
        things->push_back({ EnemyShot, 40.0f + (n * 37) % 160, 60, 0, 6, 0 });
    if (n == 2)
        Explode(BigExplosionTable, 3, 80, 130);
    if (n == 14)
        Explode(SmallExplosionTable, 2, 170, 190);
    if (n == 30)
        Explode(BigExplosionTable, 3, 150, 90);
    if (n == 1 || n == 12) {
        int number = SpawnParticle(&particleSystem, 1, 90 + 4 * n, 310, 11.0f, 0.2f, 0.3f, 4.712389f, 0.1745f, 0);
        if (number)
            particleSystem.particles[number - 1].flags = ParticleReportDeath;
    }
}

// Registers every NAME.bmp of folder as the bitmap resource NAME (past its 14-byte file header).
static void RegisterBitmaps(const std::string& folder, std::list<std::vector<uint8_t>>* store,
                            std::list<std::wstring>* names)
{
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        if (entry.path().extension() != ".bmp")
            continue;
        std::ifstream file(entry.path(), std::ios::binary);
        std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
        if (bytes.size() <= 14)
            continue;
        store->emplace_back(bytes.begin() + 14, bytes.end());
        names->push_back(entry.path().stem().wstring());
        ResourceRegister(names->back().c_str(), store->back().data(), (uint32_t)store->back().size());
    }
    if (error)
        fprintf(stderr, "showcase: cannot read %s\n", folder.c_str());
}

// Mean and brightest luma (0-255) of a frame: how loud a background is behind the glows.
static void Luma(const Surface* frame, double* mean, int* brightest)
{
    double sum = 0;
    *brightest = 0;
    for (int i = 0; i < 240 * 320; i++) {
        int r = 0, g = 0, b = 0;
        SplitColour(frame->pixels[i], &r, &g, &b);
        int l = (299 * r + 587 * g + 114 * b) / 1000;
        sum += l;
        *brightest = l > *brightest ? l : *brightest;
    }
    *mean = sum / (240 * 320);
}

static int Usage()
{
    fprintf(stderr, "usage: showcase OUTDIR [--bitmaps DIR] [--format 565|555] [--frames N]\n");
    return 2;
}

int main(int argc, char** argv)
{
    if (argc < 2)
        return Usage();
    std::string out = argv[1], bitmaps;
    uint32_t format = kfDirect | kfDirect565;
    int frames = 64;
    for (int i = 2; i < argc; i++) {
        if (!strcmp(argv[i], "--bitmaps") && i + 1 < argc)
            bitmaps = argv[++i];
        else if (!strcmp(argv[i], "--format") && i + 1 < argc)
            format = kfDirect | (!strcmp(argv[++i], "555") ? kfDirect555 : kfDirect565);
        else if (!strcmp(argv[i], "--frames") && i + 1 < argc)
            frames = atoi(argv[++i]);
        else
            return Usage();
    }
    std::error_code error;
    std::filesystem::create_directories(out, error);

    HeadlessReset();
    PixelFormatSelect(format);
    moduleHandle = SysModule();
    std::list<std::vector<uint8_t>> store;
    std::list<std::wstring> names;
    if (!bitmaps.empty())
        RegisterBitmaps(bitmaps, &store, &names);

    static const WindowClass showcaseClass = { 0, ShowcaseProc, 0, 0, L"SHOWCASE" };
    WindowRegisterClass(&showcaseClass);
    Window* window = WindowCreate(L"SHOWCASE", L"Showcase", 0, 0, 0, 240, 320, nullptr);
    ParticleSystemInit(&particleSystem);
    ParticleSystemLoad(&particleSystem, window, 50.0f);
    SetParticleKind(&particleSystem, 0, &trailKind);
    SetParticleKind(&particleSystem, 1, &rocketKind);

    Surface frame;
    SurfaceCreate(&frame, 240, 320);
    SurfaceClear(&frame, 0);   // what stays on screen where no background is loaded
    Sprites sprites;
    if (!LoadBitmapResource(&sprites.ship, moduleHandle, L"GUN2"))
        printf("no GUN2 bitmap: the ship is left out\n");
    Parallax parallax;
    ParallaxInit(&parallax);
    int failures = 0;
    for (int row = 0; row < 6; row++) {
        // As a stage change sets the look up.
        const StageDef& stage = StageTable[row];
        ParallaxReset(&parallax);
        int back = ParallaxLoadBack(&parallax, stage.backBitmap, stage.backSpeed, (float)stage.backWeight);
        int front = ParallaxLoadFront(&parallax, stage.frontBitmap, stage.frontSpeed, (float)stage.frontWeight);
        ParallaxSetKey(&parallax, stage.keyFlag, parallax.front.pixels ? parallax.front.pixels[0] : 0);
        if (LoadBitmapResource(&sprites.turret, moduleHandle, stage.turretBitmap))
            SurfaceSetColourKey(&sprites.turret, sprites.turret.pixels[0]);
        ParticleSystemClear(&particleSystem);
        std::list<Thing> things;
        for (int n = 0; n < frames; n++) {
            if (n == 0) {
                // The background alone, before anything is drawn over it.
                ParallaxCompose(&parallax, &frame);
                double mean;
                int brightest;
                Luma(&frame, &mean, &brightest);
                printf("stage row %d: back %ls%s, front %ls%s: background luma mean %.0f, brightest %d\n", row,
                       stage.backBitmap, back ? "" : " (missing)", stage.frontBitmap, front ? "" : " (missing)", mean,
                       brightest);
            } else {
                Script(&things, n);
                RunFrame(&frame, &parallax, sprites, &things, n);
            }
            for (int saved : savedFrames) {
                if (saved != n)
                    continue;
                char name[64];
                snprintf(name, sizeof name, "/stage%d-%02d.png", row, n);
                if (!HeadlessWritePng(out + name, frame.pixels, format)) {
                    fprintf(stderr, "showcase: cannot write %s%s\n", out.c_str(), name);
                    failures++;
                }
            }
        }
    }
    printf("sparks started by dying particles: %d; effects that reported their end: %d; message boxes: %zu\n",
           sparksStarted, effectsEnded, HeadlessBoxes().size());
    return failures ? 1 : 0;
}
