// The eight sound effects, synthesized: laser, explosion, missile launch, chime, click, menu blip, air-raid siren and metal clang.
//
// They are written in several PCM formats on purpose, so that loading
// exercises every conversion the game makes: rate, depth, both, or none.
#include "assets.h"

#include <cmath>

static const float Pi2 = 6.2831853f;

// A mono signal at its rate.
struct Signal {
    int rate;
    std::vector<float> s;
};

static Signal SignalMake(int rate, float seconds)
{
    return Signal { rate, std::vector<float>((size_t)(rate * seconds), 0.0f) };
}

static float Env(float t, float attack, float decay)
{
    return (t < attack ? t / attack : 1.0f) * std::exp(-t / decay);
}

static float Noise1(Rng* rng)
{
    return RngFloat(rng) * 2.0f - 1.0f;
}

// A one-pole low-pass whose cutoff follows a function of time.
struct LowPass {
    float y = 0.0f;
    float Run(float x, float cutoff, int rate)
    {
        float a = 1.0f - std::exp(-Pi2 * cutoff / (float)rate);
        y += a * (x - y);
        return y;
    }
};

// Takes out any offset, softens the first and last milliseconds, and scales
// the loudest sample to the given peak, so nothing clips.
static void Finish(std::vector<float>& s, int rate, float peak)
{
    double mean = 0.0;
    for (float v : s)
        mean += v;
    mean /= (double)s.size();
    for (float& v : s)
        v -= (float)mean;
    size_t fade = (size_t)(rate * 0.003f);
    for (size_t i = 0; i < fade && i < s.size(); i++) {
        float k = (float)i / (float)fade;
        s[i] *= k;
        s[s.size() - 1 - i] *= k;
    }
    float top = 0.0f;
    for (float v : s)
        top = std::max(top, std::fabs(v));
    if (top > 0.0f)
        for (float& v : s)
            v *= peak / top;
}

// Two channels into one interleaved buffer.
static std::vector<float> Interleave(const std::vector<float>& l, const std::vector<float>& r)
{
    std::vector<float> out;
    for (size_t i = 0; i < l.size(); i++) {
        out.push_back(l[i]);
        out.push_back(r[i]);
    }
    return out;
}

// A falling laser zap with a bright attack.
static Signal Fire()
{
    Signal sig = SignalMake(44100, 0.28f);
    Rng rng = RngMake(601);
    float phase = 0.0f;
    LowPass lp;
    for (size_t i = 0; i < sig.s.size(); i++) {
        float t = (float)i / sig.rate;
        float f = 300.0f + 1700.0f * std::exp(-t * 16.0f);
        phase += Pi2 * f / sig.rate;
        float tone = std::sin(phase) + 0.33f * std::sin(3 * phase) + 0.18f * std::sin(5 * phase);
        float hiss = lp.Run(Noise1(&rng), 6000.0f, sig.rate) * std::exp(-t * 60.0f);
        sig.s[i] = (tone * 0.8f + hiss) * Env(t, 0.002f, 0.09f);
    }
    Finish(sig.s, sig.rate, 0.6f);
    return sig;
}

// A blast: a sharp crack, then noise closing down into a low rumble.
static std::vector<float> DieChannel(uint64_t seed, const std::vector<float>& common)
{
    const int rate = 44100;
    std::vector<float> s(common.size());
    Rng rng = RngMake(seed);
    LowPass lp1, lp2;
    float phase = 0.0f;
    for (size_t i = 0; i < s.size(); i++) {
        float t = (float)i / rate;
        float n = common[i] * 0.7f + Noise1(&rng) * 0.3f;
        float cutoff = 150.0f + 4000.0f * std::exp(-t * 5.0f);
        float body = lp2.Run(lp1.Run(n, cutoff, rate), cutoff, rate) * Env(t, 0.004f, 0.45f) * 2.5f;
        phase += Pi2 * (30.0f + 40.0f * std::exp(-t * 4.0f)) / rate;
        float rumble = std::sin(phase) * Env(t, 0.01f, 0.35f) * 0.5f;
        float crack = n * std::exp(-t * 70.0f) * 0.8f;
        s[i] = std::tanh((body + rumble + crack) * 2.0f);   // squeezed for punch
    }
    return s;
}

static std::vector<float> Die()
{
    Rng rng = RngMake(611);
    std::vector<float> common((size_t)(44100 * 1.3f));
    for (float& v : common)
        v = Noise1(&rng);
    std::vector<float> l = DieChannel(612, common), r = DieChannel(613, common);
    std::vector<float> both = Interleave(l, r);
    Finish(both, 44100 * 2, 0.9f);
    return both;
}

// A missile leaving its rail: a rising whoosh over a climbing tone.
static Signal Homer()
{
    Signal sig = SignalMake(22050, 0.7f);
    Rng rng = RngMake(621);
    LowPass low, high;
    float phase = 0.0f;
    for (size_t i = 0; i < sig.s.size(); i++) {
        float t = (float)i / sig.rate;
        float centre = 400.0f + 2600.0f * t / 0.7f;
        float n = Noise1(&rng);
        float band = low.Run(n, centre * 1.5f, sig.rate) - high.Run(n, centre * 0.5f, sig.rate);
        phase += Pi2 * (180.0f + 700.0f * t + 12.0f * std::sin(Pi2 * 18.0f * t)) / sig.rate;
        float tone = std::sin(phase) * 0.35f + std::sin(2 * phase) * 0.12f;
        float env = Smooth(0.0f, 0.06f, t) * (1.0f - Smooth(0.45f, 0.7f, t));
        sig.s[i] = (band * 2.2f + tone) * env;
    }
    Finish(sig.s, sig.rate, 0.7f);
    return sig;
}

// A rising four-note chime of bell tones, spread across the stereo field.
static std::vector<float> PowerUp()
{
    const int rate = 44100;
    size_t n = (size_t)(rate * 0.8f);
    std::vector<float> l(n, 0.0f), r(n, 0.0f);
    const float notes[4] = { 1046.5f, 1318.5f, 1568.0f, 2093.0f };
    for (int k = 0; k < 4; k++) {
        float start = k * 0.07f, pan = k % 2 ? 0.7f : 0.3f;
        for (size_t i = (size_t)(start * rate); i < n; i++) {
            float t = (float)i / rate - start;
            float f = notes[k];
            float v = std::sin(Pi2 * f * t) * Env(t, 0.003f, 0.25f) + 0.35f * std::sin(Pi2 * f * 2.76f * t) * Env(t, 0.002f, 0.08f) +
                      0.15f * std::sin(Pi2 * f * 5.4f * t) * Env(t, 0.001f, 0.04f);
            l[i] += v * (1.0f - pan);
            r[i] += v * pan;
        }
    }
    std::vector<float> both = Interleave(l, r);
    Finish(both, rate * 2, 0.75f);
    return both;
}

// A short mechanical tick: the turrets' gun.
static Signal Click()
{
    Signal sig = SignalMake(22050, 0.06f);
    Rng rng = RngMake(641);
    for (size_t i = 0; i < sig.s.size(); i++) {
        float t = (float)i / sig.rate;
        float ring = std::sin(Pi2 * 1250.0f * t) * 0.7f + std::sin(Pi2 * 3100.0f * t) * 0.4f;
        sig.s[i] = (ring + Noise1(&rng) * std::exp(-t * 600.0f)) * Env(t, 0.0005f, 0.009f);
    }
    Finish(sig.s, sig.rate, 0.6f);
    return sig;
}

// The menu blip: two quick rising tones.
static Signal Button()
{
    Signal sig = SignalMake(44100, 0.13f);
    for (size_t i = 0; i < sig.s.size(); i++) {
        float t = (float)i / sig.rate;
        float f = t < 0.055f ? 880.0f : 1320.0f;
        float local = t < 0.055f ? t : t - 0.055f;
        float env = Smooth(0.0f, 0.004f, local) * (1.0f - Smooth(0.035f, 0.055f, local)) * (t < 0.11f ? 1.0f : 0.0f);
        sig.s[i] = (std::sin(Pi2 * f * t) + 0.2f * std::sin(Pi2 * 2 * f * t)) * env;
    }
    Finish(sig.s, sig.rate, 0.6f);
    return sig;
}

// An air-raid siren: a wailing rise and fall, a little apart in each ear.
static std::vector<float> AirRaid()
{
    const int rate = 22050;
    size_t n = (size_t)(rate * 2.0f);
    std::vector<float> l(n), r(n);
    float phase = 0.0f;
    for (size_t i = 0; i < n; i++) {
        float t = (float)i / rate;
        float rise = Smooth(0.0f, 1.1f, t), fall = Smooth(1.2f, 2.0f, t);
        float f = 280.0f + 480.0f * rise - 360.0f * fall + 6.0f * std::sin(Pi2 * 5.5f * t);
        phase += Pi2 * f / rate;
        float v = std::sin(phase) + 0.45f * std::sin(2 * phase) + 0.25f * std::sin(3 * phase) + 0.12f * std::sin(4 * phase);
        v = std::tanh(v * 1.3f);
        float env = Smooth(0.0f, 0.15f, t) * (1.0f - Smooth(1.75f, 2.0f, t));
        l[i] = v * env;
        r[i] = 0.0f;
        if (i >= 200)
            r[i] = l[i - 200] * 0.9f;
    }
    std::vector<float> both = Interleave(l, r);
    Finish(both, rate * 2, 0.8f);
    return both;
}

// A struck steel plate: inharmonic partials dying away at their own rates.
static Signal Metal()
{
    Signal sig = SignalMake(48000, 0.9f);
    Rng rng = RngMake(671);
    const float partials[6][3] = { { 523, 1.0f, 0.35f }, { 1131, 0.7f, 0.25f }, { 1787, 0.5f, 0.18f },
                                   { 2654, 0.4f, 0.12f }, { 3712, 0.3f, 0.08f }, { 4980, 0.2f, 0.05f } };
    for (size_t i = 0; i < sig.s.size(); i++) {
        float t = (float)i / sig.rate;
        float v = 0.0f;
        for (auto& p : partials)
            v += std::sin(Pi2 * p[0] * t + p[0]) * p[1] * Env(t, 0.001f, p[2]);
        v += Noise1(&rng) * std::exp(-t * 120.0f) * 0.8f;
        sig.s[i] = v;
    }
    Finish(sig.s, sig.rate, 0.8f);
    return sig;
}

void MakeSounds(AssetSet& set)
{
    Signal fire = Fire(), homer = Homer(), click = Click(), button = Button(), metal = Metal();
    AssetAddFile(set, "sounds/fire.wav", WavBytes(fire.s, fire.rate, 16, 1));        // 16-bit 44100 mono
    AssetAddFile(set, "sounds/die.wav", WavBytes(Die(), 44100, 16, 2));              // 16-bit 44100 stereo
    AssetAddFile(set, "sounds/homer.wav", WavBytes(homer.s, homer.rate, 16, 1));     // 16-bit 22050 mono
    AssetAddFile(set, "sounds/powerup.wav", WavBytes(PowerUp(), 44100, 16, 2));      // 16-bit 44100 stereo
    AssetAddFile(set, "sounds/click.wav", WavBytes(click.s, click.rate, 8, 1));      // 8-bit 22050 mono: as played
    AssetAddFile(set, "sounds/button.wav", WavBytes(button.s, button.rate, 8, 1));   // 8-bit 44100 mono
    AssetAddFile(set, "sounds/airraid.wav", WavBytes(AirRaid(), 22050, 16, 2));      // 16-bit 22050 stereo
    AssetAddFile(set, "sounds/metal.wav", WavBytes(metal.s, metal.rate, 16, 1));     // 16-bit 48000 mono
}
