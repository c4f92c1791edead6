// Composing the two-layer background beside copying the same 153,600 bytes with memcpy.
#include "gfx/cpu.h"
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

// The floor under the composition on this machine: the shown rows of both
// layers read and summed into a register, with nothing written at all, in
// vectors as wide as the composition's.
static inline __attribute__((always_inline)) uint32_t SumWords(const uint32_t* a, const uint32_t* b, int words)
{
    uint32_t sum = 0;
    for (int i = 0; i < words; i++)
        sum += a[i] + b[i];
    return sum;
}

static uint32_t SumWordsBuild(const uint32_t* a, const uint32_t* b, int words)
{
    return SumWords(a, b, words);
}

#if defined(__x86_64__)
__attribute__((target("avx2"))) static uint32_t SumWordsAvx2(const uint32_t* a, const uint32_t* b, int words)
{
    return SumWords(a, b, words);
}

__attribute__((target("avx512f,avx512bw,avx512vl"))) static uint32_t SumWordsWide(const uint32_t* a,
                                                                                 const uint32_t* b, int words)
{
    return SumWords(a, b, words);
}
#endif

static void BM_ReadBothLayers(benchmark::State& state)
{
    Background scene(true);
    const uint32_t* back = (const uint32_t*)scene.parallax.back.pixels;
    const uint32_t* front = (const uint32_t*)scene.parallax.front.pixels;
    uint32_t (*sum)(const uint32_t*, const uint32_t*, int) = SumWordsBuild;
#if defined(__x86_64__)
    if (CpuVectorWidth() == CpuVectorsAvx512)
        sum = SumWordsWide;
    else if (CpuVectorWidth() == CpuVectorsAvx2)
        sum = SumWordsAvx2;
#endif
    for (auto _ : state)
        benchmark::DoNotOptimize(sum(back, front, 240 * 320 / 2));
    state.SetBytesProcessed(state.iterations() * 240 * 320 * 2);
}

// The other half of it: the frame written, with nothing read.
static void BM_FillFrame(benchmark::State& state)
{
    Background scene(false);
    for (auto _ : state) {
        memset(scene.frame.pixels, 0x21, 240 * 320 * 2);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * 240 * 320 * 2);
}

BENCHMARK(BM_ParallaxCompose)->ArgName("layers")->Arg(2)->Arg(1);
BENCHMARK(BM_ReadBothLayers);
BENCHMARK(BM_FillFrame);
BENCHMARK(BM_MemcpyFrame);

BENCHMARK_MAIN();
