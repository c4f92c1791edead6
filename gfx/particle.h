// The particle system: 512 particles and 25 effects drawn as coloured, scaled glows.
#pragma once
#include "gfx/surface.h"

struct Window;

struct ParticleColour {
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
    uint8_t alpha = 255;
};

// The look of a particle. The defaults are those of a settable kind in a new system.
struct ParticleKind {
    uint8_t image = 0;
    float lifetime = 2.0f;
    ParticleColour startColour = { 255, 128, 128, 255 };
    ParticleColour endColour = { 255, 255, 0, 0 };
    float startScale = 0.25f;
    float endScale = 1.0f;
};

struct Particle {
    uint8_t emitter;
    uint8_t image;
    float x, y;
    float vx, vy;
    uint8_t active;
    uint8_t flags;
    float age;
    float lifetime;
    float gravity;
    ParticleColour startColour, endColour;
    float startScale, endScale;
};

struct Emitter {
    uint32_t active;
    uint8_t flags;
    float x, y;
    uint32_t kind;
    uint8_t jitter;
    float age;
    float duration;
    float gravity;
    float speed, speedVar;
    float angle, angleVar;
    float rate;
    int32_t live;
    int32_t emitted;
    float spin;
};

struct EffectParams {
    float duration;
    float gravity;
    float speed;
    float speedVar;
    float rate;
    uint8_t jitter;
    float angle;
    float angleVar;
    float spin;
    uint8_t flags;
};

// Kinds 0 to 4 are settable; 5 to 8 are built in.
enum { ParticleCount = 512, EmitterCount = 25, ParticleKindCount = 5, ParticleKindLast = 8 };

// Particle images: 0 "SMOKE", 1 "SPARK", 2 "BUBBLE", 3 "FLARE".
enum { ParticleSmoke = 0, ParticleSpark = 1, ParticleBubble = 2, ParticleFlare = 3, ParticleImageCount = 4 };

// Emitter and particle flags.
enum : uint8_t { ParticleReportDeath = 1, EffectReportEnd = 2 };

struct ParticleSystem {
    Surface images[ParticleImageCount];   // grey levels once loaded, keyed by their top-left pixel
    float frameTime = 0.05f;
    Window* owner = nullptr;
    ParticleKind kinds[ParticleKindCount];
    Particle particles[ParticleCount] = {};
    Emitter emitters[EmitterCount] = {};
    float sine[360] = {};
    float cosine[360] = {};
    // GlowBlit's colour for each grey level, and the colours and layout it was built from.
    uint16_t glowPalette[256] = {};
    ParticleColour glowStart = { 0, 0, 0, 0 }, glowEnd = { 0, 0, 0, 0 };
    uint8_t glowLayout = PixelLayoutNone;
};

// The one particle system of the program.
extern ParticleSystem particleSystem;

// Back to the new state: empty images, default kinds, nothing active.
void ParticleSystemInit(ParticleSystem* system);
// Loads the four images as grey levels, one "Debug" box per image that fails;
// owner receives the messages, periodMs is the time of one rendered frame.
void ParticleSystemLoad(ParticleSystem* system, Window* owner, float periodMs);
// Copies def into settable kind 0-4; other kinds, or an image above 3, are refused.
void SetParticleKind(ParticleSystem* system, int kind, const ParticleKind* def);
// Starts an effect of kind 0-8 at (x, y): its number 1-25, or 0 when all are busy.
int SpawnEffect(ParticleSystem* system, int kind, int x, int y, const EffectParams* params);
// Starts one particle of kind 0-8 (angles in radians): its number 1-512, or 0 when all are busy.
int SpawnParticle(ParticleSystem* system, int kind, int x, int y, float speed, float speedVar,
                  float gravity, float angle, float angleVar, uint8_t jitter);
// Draws and ages every particle, then runs every effect; the owner's handlers
// for WM_PARTICLEEXPIRED and WM_EMITTERDONE run inside and may start effects.
void ParticleSystemRender(ParticleSystem* system, Surface* destination);
// Every particle and effect inactive at once, without messages.
void ParticleSystemClear(ParticleSystem* system);
// Active particles x 100 / 512.
int ParticleLoadPercent(const ParticleSystem* system);
// Screens record's image, scaled to w x h, over destination at (x, y), clipped,
// coloured from endColour (darkest) to startColour (brightest) at the image's
// alpha. 0 (nothing drawn) for an image above 3, an empty image or a size below 1.
int GlowBlit(ParticleSystem* system, Surface* destination, int x, int y, int w, int h, const Particle* record);
