// GlowBlit beside SDL's scaled additive blit on RGB565 surfaces, and a render of a full particle pool.
#include "gfx/particle.h"

#include <SDL.h>
#include <benchmark/benchmark.h>
#include <cmath>
#include <cstdlib>
#include <memory>

// A round 64 x 64 glow, bright in the middle and keyed outside its circle,
// as a grey image for GlowBlit and as RGB565 pixels for SDL.
struct GlowScene {
    std::unique_ptr<ParticleSystem> system = std::make_unique<ParticleSystem>();
    Surface frame, colourGlow;
    SDL_Surface* sdlFrame;
    SDL_Surface* sdlGlow;

    GlowScene()
    {
        PixelFormatSelect(0xA0);
        srand(1);
        ParticleSystemInit(system.get());
        SurfaceCreate(&frame, 240, 320);
        SurfaceCreate(&colourGlow, 64, 64);
        for (int i = 0; i < 240 * 320; i++)
            frame.pixels[i] = (uint16_t)(rand() & 0x39E7);   // a dark background
        for (Surface& image : system->images) {
            SurfaceCreate(&image, 64, 64);
            image.colourKey = 0xFFFF;
            for (int y = 0; y < 64; y++)
                for (int x = 0; x < 64; x++) {
                    double r = hypot(x - 31.5, y - 31.5) / 32.0;
                    int grey = r < 1.0 ? (int)(250 * (1.0 - r)) : -1;
                    image.pixels[y * 64 + x] = grey < 0 ? 0xFFFF : (uint16_t)grey;
                    colourGlow.pixels[y * 64 + x] = grey < 0 ? 0 : MakeColour(grey, grey, grey / 2);
                }
        }
        sdlFrame = SDL_CreateRGBSurfaceWithFormatFrom(frame.pixels, 240, 320, 16, 480, SDL_PIXELFORMAT_RGB565);
        sdlGlow = SDL_CreateRGBSurfaceWithFormatFrom(colourGlow.pixels, 64, 64, 16, 128, SDL_PIXELFORMAT_RGB565);
        SDL_SetSurfaceBlendMode(sdlGlow, SDL_BLENDMODE_ADD);
    }
    ~GlowScene()
    {
        SDL_FreeSurface(sdlGlow);
        SDL_FreeSurface(sdlFrame);
    }
};

// Drawn as the game draws a shot: white to red over the flare image at level 255.
static void BM_GlowBlit(benchmark::State& state)
{
    GlowScene scene;
    int size = (int)state.range(0);
    Particle record = {};
    record.image = ParticleFlare;
    record.startColour = { 255, 255, 255, 255 };
    record.endColour = { 255, 0, 0, 255 };
    for (auto _ : state) {
        GlowBlit(scene.system.get(), &scene.frame, 100, 100, size, size, &record);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * size * size);
}

static void BM_SdlBlitScaledAdd(benchmark::State& state)
{
    GlowScene scene;
    int size = (int)state.range(0);
    for (auto _ : state) {
        SDL_Rect at = { 100, 100, size, size };
        SDL_BlitScaled(scene.sdlGlow, nullptr, scene.sdlFrame, &at);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * size * size);
}

// All 512 particles alive and spread over the screen, each drawn at 32 x 32
// (half the image) and ageing too slowly to die during the run.
static void BM_ParticleSystemRender(benchmark::State& state)
{
    GlowScene scene;
    ParticleSystem* system = scene.system.get();
    ParticleKind lasting = {};
    lasting.lifetime = 1.0e9f;
    lasting.startScale = lasting.endScale = 0.5f;
    // /1 is as in play: white fading to red, each particle at its own age and
    // so its own level (the lifetime is long enough that none dies meanwhile).
    int ageing = (int)state.range(0);
    if (ageing) {
        lasting.lifetime = 2000.0f;
        lasting.startColour = { 255, 255, 255, 255 };
        lasting.endColour = { 255, 0, 0, 0 };
    }
    SetParticleKind(system, 0, &lasting);
    for (int i = 0; i < ParticleCount; i++) {
        SpawnParticle(system, 0, rand() % 240, rand() % 320, 0, 0, 0, 0, 0, 0);
        if (ageing)
            system->particles[i].age = (float)(rand() % 1000);
    }
    for (auto _ : state) {
        ParticleSystemRender(system, &scene.frame);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * ParticleCount);
}

BENCHMARK(BM_GlowBlit)->ArgName("size")->Arg(24)->Arg(64);
BENCHMARK(BM_SdlBlitScaledAdd)->ArgName("size")->Arg(24)->Arg(64);
BENCHMARK(BM_ParticleSystemRender)->ArgName("ageing")->Arg(0)->Arg(1);

BENCHMARK_MAIN();
