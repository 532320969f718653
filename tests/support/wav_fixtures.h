// Sound files for tests, made on the spot: sine tones written as WAV in every encoding the sound
// service must play, and broken or hostile WAV files. Each tone has a pitch of its own, so that a
// test can tell in a recording which file was heard. The files also seed the decoder's fuzzing.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

enum class WavEncoding {
    PcmU8,
    Pcm16,
    Pcm24,
    Pcm32,
    Float32,
    Float64,
    MuLaw,
    ALaw,
    ImaAdpcm,
    MsAdpcm,
    Gsm610,
};

std::vector<WavEncoding> AllWavEncodings();
const char* WavEncodingName(WavEncoding encoding);

struct WavTone {
    double frequency = 440.0;
    double seconds = 0.5;
    int sampleRate = 44100;
    int channels = 1;
    double amplitude = 0.5; // of full scale
};

// Writes a sine tone, the same in every channel, with 5 ms ramps at both ends. GSM 6.10 holds one
// channel only. Returns false when the encoding refuses the rate or the channel count.
bool WriteToneWav(const std::string& path, WavEncoding encoding, const WavTone& tone);

// A WAV file's bytes, built field by field, so that any field can be made to lie.
struct WavHeader {
    std::uint16_t formatTag = 1; // PCM
    std::uint16_t channels = 1;
    std::uint32_t sampleRate = 8000;
    std::uint16_t bitsPerSample = 16;
    std::uint16_t blockAlign = 0;    // 0: computed
    std::uint32_t byteRate = 0;      // 0: computed
    std::int64_t dataSizeField = -1; // -1: the real size
    std::int64_t riffSizeField = -1; // -1: the real size
    std::uint32_t fmtSizeField = 16;
};
std::vector<std::uint8_t> MakeWavBytes(const WavHeader& header,
                                       const std::vector<std::uint8_t>& data);

struct NamedBytes {
    std::string name;
    std::vector<std::uint8_t> bytes;
};
// Files no decoder should trust: empty, truncated, lying about their sizes, rates or channels,
// or plain noise.
std::vector<NamedBytes> HostileWavFiles();

bool WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes);
