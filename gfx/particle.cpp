// The particle system. Stand-in: effects are refused and nothing is drawn.
#include "gfx/particle.h"

ParticleSystem particleSystem;

void ParticleSystemInit(ParticleSystem*)
{
}

void ParticleSystemLoad(ParticleSystem* system, Window* owner, float periodMs)
{
    system->owner = owner;
    system->frameTime = periodMs * 0.001f;
}

void SetParticleKind(ParticleSystem* system, int kind, const ParticleKind* def)
{
    if (kind >= 0 && kind < ParticleKindCount)
        system->kinds[kind] = *def;
}

int SpawnEffect(ParticleSystem*, int, int, int, const EffectParams*)
{
    return 0;
}

int SpawnParticle(ParticleSystem*, int, int, int, float, float, float, float, float, uint8_t)
{
    return 0;
}

void ParticleSystemRender(ParticleSystem*, Surface*)
{
}

void ParticleSystemClear(ParticleSystem*)
{
}

int ParticleLoadPercent(const ParticleSystem*)
{
    return 0;
}

int GlowBlit(ParticleSystem*, Surface*, int, int, int, int, const Particle*)
{
    return 1;
}
