// The particle system: pools, emission catching up, the glow palette and loading.
#include "app/windowproc.h"
#include "gfx/particle.h"
#include "platform/headless.h"
#include "platform/res.h"
#include "tests/gfx/dib24.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

namespace {

// What the owner window was sent. Deaths and ends reported, and the effects their handlers start, show in the
// golden runs (the ship's return, the table's fireworks).
std::vector<Message> received;

intptr_t OwnerProc(Window* window, uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    received.push_back({ window, message, wParam, lParam });
    return 0;
}

const EffectParams stillBurst = { 0.1f, 0, 0, 0, 25.0f, 0, 0, 0, 0, EffectReportEnd };

class ParticleTest : public ::testing::Test {
protected:
    std::unique_ptr<ParticleSystem> ps = std::make_unique<ParticleSystem>();
    Surface screen;
    Particle glow = {};

    void SetUp() override
    {
        HeadlessReset();
        PixelFormatSelect(0xA0);
        static const WindowClass ownerClass = { 0, OwnerProc, 0, 0, L"ParticleOwner" };
        WindowRegisterClass(&ownerClass);
        ParticleSystemInit(ps.get());
        ps->owner = WindowCreate(L"ParticleOwner", L"", 0, 0, 0, 240, 320, nullptr);
        received.clear();
        // 64 x 64 grey images; their key is a native value that no grey level takes.
        for (Surface& image : ps->images) {
            SurfaceCreate(&image, 64, 64);
            image.colourKey = 0xFFFF;
            SurfaceClear(&image, 250);
        }
        SurfaceCreate(&screen, 240, 320);
        SurfaceClear(&screen, 0);
        glow.image = ParticleFlare;
        glow.startColour = { 255, 255, 255, 255 };
        glow.endColour = { 0, 0, 0, 0 };
    }

};

TEST_F(ParticleTest, PoolsRunOutAndEmissionCatchesUp)
{
    ParticleKind brief = {};
    brief.lifetime = 0.1f;
    SetParticleKind(ps.get(), 1, &brief);
    for (int i = 1; i <= ParticleCount; i++)
        ASSERT_EQ(SpawnParticle(ps.get(), 1, 10, 10, 0, 0, 0, 0, 0, 0), i);
    EXPECT_EQ(SpawnParticle(ps.get(), 1, 10, 10, 0, 0, 0, 0, 0, 0), 0);
    EXPECT_EQ(ParticleLoadPercent(ps.get()), 100);
    const EffectParams steady = { 1.0f, 0, 0, 0, 200.0f, 0, 0, 0, 0, 0 };
    for (int i = 1; i <= EmitterCount; i++)
        ASSERT_EQ(SpawnEffect(ps.get(), 6, 0, 0, &steady), i);
    EXPECT_EQ(SpawnEffect(ps.get(), 6, 0, 0, &steady), 0);

    ParticleSystemRender(ps.get(), &screen);   // pool full: nothing emitted, nothing counted
    EXPECT_EQ(ps->emitters[0].emitted, 0);
    ParticleSystemRender(ps.get(), &screen);   // the brief ones die; 20 are due at 0.1 s
    EXPECT_EQ(ps->emitters[0].live, 20);
    ParticleSystemClear(ps.get());
    EXPECT_EQ(ParticleLoadPercent(ps.get()) + (int)received.size(), 0);
    EXPECT_EQ(SpawnEffect(ps.get(), 6, 0, 0, &steady), 1);
}

TEST_F(ParticleTest, GlowColoursAreRebuiltOnlyWhenColoursOrLayoutChange)
{
    GlowBlit(ps.get(), &screen, 0, 0, 8, 8, &glow);
    uint16_t first = screen.pixels[0];
    ps->glowPalette[250] = 0;   // a stale entry shows through until a rebuild
    SurfaceClear(&screen, 0);
    glow.endColour.alpha = 7;   // not an input
    GlowBlit(ps.get(), &screen, 0, 0, 8, 8, &glow);
    EXPECT_NE(screen.pixels[0], first);

    // A new level weighs the same colours: the stale entry still draws black.
    SurfaceClear(&screen, 0);
    SurfaceSetAlpha(&ps->images[ParticleFlare], 128);
    GlowBlit(ps.get(), &screen, 0, 0, 8, 8, &glow);
    EXPECT_EQ(ps->glowPalette[250], 0);
    EXPECT_EQ(screen.pixels[0], 0);

    std::function<void()> changes[] = { [&] { glow.startColour.green = 254; }, [&] { glow.endColour.blue = 9; },
                                        [] { PixelFormatSelect(0x60); } };
    for (auto& change : changes) {
        ps->glowPalette[250] = 0;
        change();
        GlowBlit(ps.get(), &screen, 0, 0, 8, 8, &glow);
        EXPECT_NE(ps->glowPalette[250], 0);
    }
}

TEST_F(ParticleTest, LoadMakesGreyImagesAndBadKindsImagesAndSizesAreRefused)
{
    EXPECT_EQ(SpawnParticle(ps.get(), 9, 0, 0, 0, 0, 0, 0, 0, 0) + SpawnParticle(ps.get(), -1, 0, 0, 0, 0, 0, 0, 0, 0), 0);
    EXPECT_EQ(SpawnEffect(ps.get(), 9, 0, 0, &stillBurst), 0);
    ParticleKind bad = {};
    bad.image = 4;
    SetParticleKind(ps.get(), 0, &bad);
    EXPECT_EQ(ps->kinds[0].image, 0);
    EXPECT_EQ(GlowBlit(ps.get(), &screen, 0, 0, 0, 8, &glow), 0);
    glow.image = 4;
    EXPECT_EQ(GlowBlit(ps.get(), &screen, 0, 0, 8, 8, &glow), 0);

    // A flare whose top-left pixel is the key; the other images are broken.
    static std::vector<uint8_t> flare = Dib24(64, 64, [](int r, int c) { return r + c ? Rgb{ 200, 100, 50 } : Rgb{ 0, 0, 255 }; });
    static const uint8_t truncated[4] = { 40 };
    for (const wchar_t* name : { L"SMOKE", L"SPARK", L"BUBBLE" })
        ResourceRegister(name, truncated, sizeof truncated);
    ResourceRegister(L"FLARE", flare.data(), (uint32_t)flare.size());
    ParticleSystemLoad(ps.get(), ps->owner, 40.0f);
    ResourceRegisterClear();
    EXPECT_EQ(HeadlessBoxes(), std::vector<std::string>(3, "Debug: Unable to initialise particle system"));
    EXPECT_FLOAT_EQ(ps->frameTime, 0.04f);
    const Surface& image = ps->images[ParticleFlare];
    EXPECT_EQ(image.colourKey, MakeColour(0, 0, 255));
    EXPECT_EQ(image.pixels[0], image.colourKey);
    EXPECT_EQ(image.pixels[64 * 64 - 1], 123);   // 0.114 x 48 + 0.587 x 100 + 0.299 x 200, truncated

    SpawnParticle(ps.get(), 6, 0, 0, 0, 0, 0, 0, 0, 0);   // the smoke image is missing
    ParticleSystemRender(ps.get(), &screen);
    EXPECT_EQ(std::count(screen.pixels, screen.pixels + 240 * 320, 0), 240 * 320);
}

}  // namespace
