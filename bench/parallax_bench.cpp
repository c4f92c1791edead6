// Composing the two-layer background beside copying the same 153,600 bytes with memcpy.
#include "gfx/parallax.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <cstring>

// Layers of a 128-row period, filled with pixels weighted 0.75 and 0.25 (no
// channel sum overflows), as a stage's layers would be after loading.
struct Background {
    Parallax parallax;
    Surface frame;

    explicit Background(bool withFront)
    {
        PixelFormatSelect(0xA0);
        srand(1);
        ParallaxInit(&parallax);
        SurfaceCreate(&frame, 240, 320);
        Fill(&parallax.back, 0.75f, &parallax.backPeriod);
        if (withFront)
            Fill(&parallax.front, 0.25f, &parallax.frontPeriod);
    }

    static void Fill(Surface* layer, float weight, int32_t* period)
    {
        SurfaceCreate(layer, 240, 128 + 320);
        for (int i = 0; i < layer->width * layer->height; i++)
            layer->pixels[i] = (uint16_t)rand();
        SurfaceScale(layer, weight);
        *period = 128;
    }
};

static void BM_ParallaxCompose(benchmark::State& state)
{
    Background scene(state.range(0) == 2);
    for (auto _ : state) {
        ParallaxCompose(&scene.parallax, &scene.frame);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * 240 * 320 * 2);
}

static void BM_MemcpyFrame(benchmark::State& state)
{
    Background scene(false);
    for (auto _ : state) {
        memcpy(scene.frame.pixels, scene.parallax.back.pixels, 240 * 320 * 2);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * 240 * 320 * 2);
}

BENCHMARK(BM_ParallaxCompose)->ArgName("layers")->Arg(2)->Arg(1);
BENCHMARK(BM_MemcpyFrame);

BENCHMARK_MAIN();
