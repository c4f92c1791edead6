// Sound effects. Stand-in: no sound is loaded, so every effect is silent.
#include "sound/cea_sound.h"

void PlayEffect(int)
{
}

void SoundPlay(Sound*, int)
{
}

void SoundStop(Sound*)
{
}

void SoundDestroy(Sound* sound)
{
    *sound = {};
}

void LoadSounds()
{
}

void UnloadSounds()
{
}
