// Decoded sound in the one format the service plays: 48 kHz, stereo, signed 16-bit, interleaved.
// Every sound is converted to it once, when it is decoded, so that playback only copies samples.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

inline constexpr int kSoundRate = 48000;
inline constexpr int kSoundChannels = 2;

// The longest sound kept: a longer file is cut off here, so that its size is bounded by this and
// not by what its header claims (5 minutes is about 55 MB).
inline constexpr std::size_t kMaxSoundFrames = std::size_t{5} * 60 * kSoundRate;

struct SoundPcm {
    std::vector<std::int16_t> samples; // left, right, left, right, ...

    std::size_t frames() const { return samples.size() / kSoundChannels; }
    double seconds() const { return static_cast<double>(frames()) / kSoundRate; }
};
