// The blitter beside SDL's software blitter on RGB565 surfaces, and tiling beside a plain memcpy.
#include "gfx/blit.h"

#include <SDL.h>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <cstring>

// A sprite of random pixels with about a third of them transparent, over a
// 240 x 320 frame; both the blitter's surfaces and SDL's hold the same bytes.
struct Scene {
    Surface frame, sprite;
    SDL_Surface* sdlFrame;
    SDL_Surface* sdlSprite;
    uint16_t key = 0xF81F;

    explicit Scene(int size)
    {
        PixelFormatSelect(0xA0);
        srand(1);
        SurfaceCreate(&frame, 240, 320);
        SurfaceCreate(&sprite, size, size);
        for (int i = 0; i < 240 * 320; i++)
            frame.pixels[i] = (uint16_t)rand();
        for (int i = 0; i < size * size; i++)
            sprite.pixels[i] = rand() % 3 ? (uint16_t)(rand() & 0xF7DE) : key;
        sprite.colourKey = key;
        sprite.alpha = 128;
        sdlFrame = SDL_CreateRGBSurfaceWithFormatFrom(frame.pixels, 240, 320, 16, 480, SDL_PIXELFORMAT_RGB565);
        sdlSprite = SDL_CreateRGBSurfaceWithFormatFrom(sprite.pixels, size, size, 16, size * 2, SDL_PIXELFORMAT_RGB565);
    }
    ~Scene()
    {
        SDL_FreeSurface(sdlSprite);
        SDL_FreeSurface(sdlFrame);
    }
};

static void BM_Blit(benchmark::State& state, uint8_t mode)
{
    Scene scene((int)state.range(0));
    int size = scene.sprite.width;
    for (auto _ : state) {
        Blit(&scene.frame, 100, 100, size, size, &scene.sprite, 0, 0, mode);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * size * size);
}

enum SdlKind { SdlKey, SdlKeyAlphaMod, SdlAlphaMod, SdlKeyAdd };

static void BM_SdlBlit(benchmark::State& state, SdlKind kind)
{
    Scene scene((int)state.range(0));
    SDL_Surface* sprite = scene.sdlSprite;
    SDL_SetColorKey(sprite, kind == SdlAlphaMod ? SDL_FALSE : SDL_TRUE, scene.key);
    SDL_SetSurfaceBlendMode(sprite, kind == SdlKey ? SDL_BLENDMODE_NONE : kind == SdlKeyAdd ? SDL_BLENDMODE_ADD : SDL_BLENDMODE_BLEND);
    SDL_SetSurfaceAlphaMod(sprite, kind == SdlKeyAlphaMod || kind == SdlAlphaMod ? 128 : 255);
    int size = scene.sprite.width;
    for (auto _ : state) {
        SDL_Rect at = { 100, 100, size, size };
        SDL_BlitSurface(sprite, nullptr, scene.sdlFrame, &at);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * size * size);
}

BENCHMARK_CAPTURE(BM_Blit, Keyed, BlitKeyed)->Arg(16)->Arg(64);
BENCHMARK_CAPTURE(BM_SdlBlit, Key, SdlKey)->Arg(16)->Arg(64);
BENCHMARK_CAPTURE(BM_Blit, KeyedAlpha, BlitKeyedAlpha)->Arg(16)->Arg(64);
BENCHMARK_CAPTURE(BM_SdlBlit, KeyAlphaMod, SdlKeyAlphaMod)->Arg(16)->Arg(64);
BENCHMARK_CAPTURE(BM_SdlBlit, AlphaMod, SdlAlphaMod)->Arg(16)->Arg(64);
BENCHMARK_CAPTURE(BM_Blit, KeyedScreen, BlitKeyedScreen)->Arg(16)->Arg(64);
BENCHMARK_CAPTURE(BM_SdlBlit, KeyAdd, SdlKeyAdd)->Arg(16)->Arg(64);

// A background layer covered with a tile, against copying the same bytes in one piece.
static void BM_Layer(benchmark::State& state, bool tiled)
{
    Surface layer, source;
    SurfaceCreate(&layer, 240, 420);
    SurfaceCreate(&source, tiled ? 100 : 240, tiled ? 100 : 420);
    SurfaceClear(&source, 0x1234);
    for (auto _ : state) {
        if (tiled)
            BlitTile(&layer, &source);
        else
            memcpy(layer.pixels, source.pixels, 240 * 420 * 2);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * 240 * 420 * 2);
}

BENCHMARK_CAPTURE(BM_Layer, BlitTile, true);
BENCHMARK_CAPTURE(BM_Layer, Memcpy, false);

BENCHMARK_MAIN();
