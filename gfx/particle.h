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

struct ParticleKind {
    uint8_t image;
    float lifetime;
    ParticleColour startColour;
    ParticleColour endColour;
    float startScale;
    float endScale;
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

enum { ParticleCount = 512, EmitterCount = 25, ParticleKindCount = 5 };

// Particle images: 0 "SMOKE", 1 "SPARK", 2 "BUBBLE", 3 "FLARE".
enum { ParticleSmoke = 0, ParticleSpark = 1, ParticleBubble = 2, ParticleFlare = 3 };

struct ParticleSystem {
    Surface images[4];
    float frameTime;
    Window* owner;
    ParticleKind kinds[ParticleKindCount];
    Particle particles[ParticleCount];
    Emitter emitters[EmitterCount];
    float sine[360];
    float cosine[360];
    uint16_t glowPalette[256];
    int32_t glowWeight[256];
    uint8_t glowLevel;
    ParticleColour glowStart, glowEnd;
};

// The one particle system of the program.
extern ParticleSystem particleSystem;

void ParticleSystemInit(ParticleSystem* system);
void ParticleSystemLoad(ParticleSystem* system, Window* owner, float periodMs);
void SetParticleKind(ParticleSystem* system, int kind, const ParticleKind* def);
int SpawnEffect(ParticleSystem* system, int kind, int x, int y, const EffectParams* params);
int SpawnParticle(ParticleSystem* system, int kind, int x, int y, float speed, float speedVar,
                  float gravity, float angle, float angleVar, uint8_t jitter);
void ParticleSystemRender(ParticleSystem* system, Surface* destination);
void ParticleSystemClear(ParticleSystem* system);
int ParticleLoadPercent(const ParticleSystem* system);
int GlowBlit(ParticleSystem* system, Surface* destination, int x, int y, int w, int h, const Particle* record);
