// The background composition and the glow renderer against plain per-pixel sums and blends, over many random inputs.
#include "gfx/blit.h"
#include "gfx/cpu.h"
#include "gfx/parallax.h"
#include "gfx/particle.h"
#include "platform/headless.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <random>
#include <vector>

namespace {

std::mt19937 random(20261206);

int Between(int low, int high)
{
    return std::uniform_int_distribution<int>(low, high)(random);
}

// A pixel whose channels are at most half their field, so that two of them add without overflow.
uint16_t HalfPixel()
{
    return (uint16_t)(Between(0, 15) << 11 | Between(0, 31) << 5 | Between(0, 15));
}

// Fills a layer as loading would leave it: the period's rows, then 320 rows repeating them.
void Layer(Surface* layer, int32_t* period)
{
    *period = Between(96, 200);
    SurfaceCreate(layer, 240, *period + 320);
    for (int i = 0; i < 240 * *period; i++)
        layer->pixels[i] = HalfPixel();
    for (int i = 240 * *period; i < 240 * layer->height; i++)
        layer->pixels[i] = layer->pixels[i - 240 * *period];
}

TEST(ReferenceTest, ComposedBackgroundIsTheSumOfTheLayersPixelByPixel)
{
    PixelFormatSelect(0xA0);
    for (int round = 0; round < 40; round++) {
        auto parallax = std::make_unique<Parallax>();
        ParallaxInit(parallax.get());
        bool front = round % 4 != 3;
        Layer(&parallax->back, &parallax->backPeriod);
        if (front)
            Layer(&parallax->front, &parallax->frontPeriod);
        parallax->backSpeed = Between(-5, 1);
        parallax->frontSpeed = Between(-5, 1);
        parallax->backOffset = Between(0, parallax->backPeriod - 1);
        parallax->frontOffset = Between(0, front ? parallax->frontPeriod - 1 : 0);
        // Frames as wide as the layers, and wider ones whose rows are composed one at a time;
        // an odd pitch leaves every other row starting half a word off.
        Surface frame;
        int width = round % 3 ? 240 : 240 + Between(1, 9);
        SurfaceCreate(&frame, width, 320 + round % 2);
        for (int i = 0; i < width * frame.height; i++)
            frame.pixels[i] = (uint16_t)Between(0, 0xFFFF);
        std::vector<uint16_t> before(frame.pixels, frame.pixels + width * frame.height);

        for (int step = 0; step < 3; step++) {
            const uint16_t* b = parallax->back.pixels + parallax->backOffset * 240;
            const uint16_t* f = front ? parallax->front.pixels + parallax->frontOffset * 240 : nullptr;
            int32_t nextBack = (parallax->backOffset + parallax->backSpeed + parallax->backPeriod) % parallax->backPeriod;
            ASSERT_EQ(ParallaxCompose(parallax.get(), &frame), 1);
            int differ = 0;
            for (int y = 0; y < frame.height; y++)
                for (int x = 0; x < width; x++) {
                    uint16_t expected = before[y * width + x];
                    if (y < 320 && x < 240)
                        expected = (uint16_t)(b[y * 240 + x] + (f ? f[y * 240 + x] : 0));
                    differ += frame.pixels[y * width + x] != expected;
                }
            ASSERT_EQ(differ, 0) << "round " << round << " step " << step;
            EXPECT_EQ(parallax->backOffset, nextBack);
        }
    }
}

// The glow as a plain loop: every covered pixel inside the destination, the
// image sampled by the 16.16 steps and blended with BlendScreen.
void GlowReference(const Surface* image, Surface* destination, int x, int y, int w, int h, const Particle& record)
{
    const ParticleColour& s = record.startColour;
    const ParticleColour& e = record.endColour;
    auto mix = [](int start, int end, int i) {
        int p = (start - end) * i + 128;
        return end + ((p + (p >> 8)) >> 8);
    };
    uint32_t sx = (64u << 16) / (uint32_t)w, sy = (64u << 16) / (uint32_t)h;
    for (int j = 0; j < h; j++)
        for (int k = 0; k < w; k++) {
            if (y + j < 0 || y + j >= destination->height || x + k < 0 || x + k >= destination->width)
                continue;
            int g = image->pixels[((j * sy) >> 16) * 64 + ((k * sx) >> 16)];
            if (g == image->colourKey || g > 255)
                continue;
            uint16_t colour = MakeColour(mix(s.red, e.red, g), mix(s.green, e.green, g), mix(s.blue, e.blue, g));
            uint16_t* d = &destination->pixels[(y + j) * destination->width + x + k];
            *d = BlendScreen(*d, colour, (image->alpha * g) >> 8);
        }
}

TEST(ReferenceTest, GlowMatchesThePlainBlendPixelByPixelInBothLayouts)
{
    auto system = std::make_unique<ParticleSystem>();
    ParticleSystemInit(system.get());
    for (int round = 0; round < 200; round++) {
        PixelFormatSelect(round % 2 ? 0x40 : 0x80);
        Particle record = {};
        record.image = (uint8_t)Between(0, ParticleImageCount - 1);
        Surface* image = &system->images[record.image];
        SurfaceCreate(image, 64, 64);
        // Grey levels, the key, and now and then a value no grey level takes.
        image->colourKey = (uint16_t)Between(0, 300);
        for (int i = 0; i < 64 * 64; i++) {
            int pick = Between(0, 9);
            image->pixels[i] = (uint16_t)(pick == 0 ? image->colourKey : pick == 1 ? Between(256, 0xFFFF) : Between(0, 255));
        }
        image->alpha = (uint8_t)(round % 5 ? Between(0, 255) : 255);
        record.startColour = { (uint8_t)Between(0, 255), (uint8_t)Between(0, 255), (uint8_t)Between(0, 255), 255 };
        record.endColour = { (uint8_t)Between(0, 255), (uint8_t)Between(0, 255), (uint8_t)Between(0, 255), 0 };

        // Mostly the screen; now and then a destination wider than a row is drawn in one piece.
        Surface destination;
        bool wide = round % 10 == 0;
        SurfaceCreate(&destination, wide ? 600 : 240, wide ? 40 : 320);
        int pixels = destination.width * destination.height;
        for (int i = 0; i < pixels; i++)
            destination.pixels[i] = (uint16_t)Between(0, 0xFFFF);
        std::vector<uint16_t> expected(destination.pixels, destination.pixels + pixels);
        Surface plain;
        SurfaceCreate(&plain, destination.width, destination.height);
        std::copy(expected.begin(), expected.end(), plain.pixels);

        int w = wide ? Between(300, 700) : Between(1, 100), h = Between(1, 100);
        int x = Between(-w, destination.width), y = Between(-h, destination.height);
        ASSERT_EQ(GlowBlit(system.get(), &destination, x, y, w, h, &record), 1);
        GlowReference(image, &plain, x, y, w, h, record);
        int differ = 0, changed = 0;
        for (int i = 0; i < pixels; i++) {
            differ += destination.pixels[i] != plain.pixels[i];
            changed += destination.pixels[i] != expected[i];
        }
        ASSERT_EQ(differ, 0) << "round " << round << ": " << w << " x " << h << " at " << x << ", " << y;
        bool inside = x >= 0 && y >= 0 && x + w <= destination.width && y + h <= destination.height;
        if (inside && w * h >= 64 && image->alpha > 64) {
            EXPECT_GT(changed, 0) << "round " << round;
        }
    }
}

}  // namespace

// The suite runs these checks again with SS_VECTORS set, which must narrow the choice.
TEST(ReferenceTest, TheEnvironmentNarrowsTheVectorWidth)
{
    const char* was = getenv("SS_VECTORS");
    std::string saved = was ? was : "";
    CpuVectors widest = (unsetenv("SS_VECTORS"), CpuVectorWidth());
    setenv("SS_VECTORS", "build", 1);
    EXPECT_EQ(CpuVectorWidth(), CpuVectorsBuild);
    setenv("SS_VECTORS", "avx2", 1);
    EXPECT_EQ(CpuVectorWidth(), widest == CpuVectorsAvx512 ? CpuVectorsAvx2 : widest);
    if (was)
        setenv("SS_VECTORS", saved.c_str(), 1);
    else
        unsetenv("SS_VECTORS");
}
