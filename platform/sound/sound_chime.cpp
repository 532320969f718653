#include "platform/sound/sound_chime.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>

namespace {

constexpr double kPi = 3.14159265358979323846;

struct Partial {
    double ratio;     // of the note's frequency
    double amplitude; // of full scale
    double decay;     // seconds to fall to 1/e
};

// Adds one struck note, starting at `start` seconds, to a mono buffer.
void AddNote(std::vector<double>& mono, double start, double frequency,
             std::initializer_list<Partial> partials) {
    constexpr double kAttack = 0.004; // a soft onset, without a click
    const std::size_t first = static_cast<std::size_t>(start * kSoundRate);
    for (std::size_t i = first; i < mono.size(); ++i) {
        const double t = static_cast<double>(i - first) / kSoundRate;
        const double onset = std::min(1.0, t / kAttack);
        double v = 0.0;
        for (const Partial& p : partials)
            v += p.amplitude * std::exp(-t / p.decay) *
                 std::sin(2.0 * kPi * frequency * p.ratio * t);
        mono[i] += onset * v;
    }
}

SoundPcm ToPcm(std::vector<double>& mono) {
    // Fade the last 20 ms to silence so that the sound ends without a click.
    const std::size_t fade = kSoundRate / 50;
    for (std::size_t i = 0; i < fade && i < mono.size(); ++i)
        mono[mono.size() - 1 - i] *= static_cast<double>(i) / fade;
    SoundPcm pcm;
    pcm.samples.reserve(mono.size() * kSoundChannels);
    for (double v : mono) {
        const auto s = static_cast<std::int16_t>(std::lround(std::clamp(v, -1.0, 1.0) * 32767.0));
        pcm.samples.push_back(s);
        pcm.samples.push_back(s);
    }
    return pcm;
}

} // namespace

SoundPcm MakeDefaultChime() {
    // A small bell: a fundamental with the inharmonic overtones of a struck bar.
    std::vector<double> mono(static_cast<std::size_t>(0.35 * kSoundRate));
    AddNote(mono, 0.0, 1046.5, {{1.0, 0.34, 0.110}, {2.76, 0.14, 0.045}, {5.40, 0.06, 0.020}});
    return ToPcm(mono);
}

SoundPcm MakeExclamationChime() {
    // Two notes a fourth apart, the second held longer: asks for attention without alarm.
    std::vector<double> mono(static_cast<std::size_t>(0.40 * kSoundRate));
    AddNote(mono, 0.0, 880.0, {{1.0, 0.30, 0.060}, {2.0, 0.10, 0.030}, {3.0, 0.04, 0.015}});
    AddNote(mono, 0.12, 1174.7, {{1.0, 0.32, 0.100}, {2.0, 0.10, 0.040}, {3.0, 0.04, 0.020}});
    return ToPcm(mono);
}
