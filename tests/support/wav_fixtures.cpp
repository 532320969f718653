#include "tests/support/wav_fixtures.h"

#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <random>

namespace {

constexpr double kPi = 3.14159265358979323846;

int SubFormat(WavEncoding e) {
    switch (e) {
    case WavEncoding::PcmU8:
        return SF_FORMAT_PCM_U8;
    case WavEncoding::Pcm16:
        return SF_FORMAT_PCM_16;
    case WavEncoding::Pcm24:
        return SF_FORMAT_PCM_24;
    case WavEncoding::Pcm32:
        return SF_FORMAT_PCM_32;
    case WavEncoding::Float32:
        return SF_FORMAT_FLOAT;
    case WavEncoding::Float64:
        return SF_FORMAT_DOUBLE;
    case WavEncoding::MuLaw:
        return SF_FORMAT_ULAW;
    case WavEncoding::ALaw:
        return SF_FORMAT_ALAW;
    case WavEncoding::ImaAdpcm:
        return SF_FORMAT_IMA_ADPCM;
    case WavEncoding::MsAdpcm:
        return SF_FORMAT_MS_ADPCM;
    case WavEncoding::Gsm610:
        return SF_FORMAT_GSM610;
    }
    return 0;
}

void Put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v & 0xFF));
    out.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFF));
}
void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}
void PutTag(std::vector<std::uint8_t>& out, const char* tag) {
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<std::uint8_t>(tag[i]));
}

std::vector<std::uint8_t> Pcm16Tone(double frequency, int rate, int frames) {
    std::vector<std::uint8_t> data;
    for (int i = 0; i < frames; ++i) {
        const double v = 0.5 * std::sin(2.0 * kPi * frequency * i / rate);
        Put16(data, static_cast<std::uint16_t>(static_cast<std::int16_t>(std::lround(v * 32767))));
    }
    return data;
}

} // namespace

std::vector<WavEncoding> AllWavEncodings() {
    return {WavEncoding::PcmU8,    WavEncoding::Pcm16,   WavEncoding::Pcm24, WavEncoding::Pcm32,
            WavEncoding::Float32,  WavEncoding::Float64, WavEncoding::MuLaw, WavEncoding::ALaw,
            WavEncoding::ImaAdpcm, WavEncoding::MsAdpcm, WavEncoding::Gsm610};
}

const char* WavEncodingName(WavEncoding e) {
    switch (e) {
    case WavEncoding::PcmU8:
        return "pcm_u8";
    case WavEncoding::Pcm16:
        return "pcm_16";
    case WavEncoding::Pcm24:
        return "pcm_24";
    case WavEncoding::Pcm32:
        return "pcm_32";
    case WavEncoding::Float32:
        return "float_32";
    case WavEncoding::Float64:
        return "float_64";
    case WavEncoding::MuLaw:
        return "mu_law";
    case WavEncoding::ALaw:
        return "a_law";
    case WavEncoding::ImaAdpcm:
        return "ima_adpcm";
    case WavEncoding::MsAdpcm:
        return "ms_adpcm";
    case WavEncoding::Gsm610:
        return "gsm_610";
    }
    return "?";
}

bool WriteToneWav(const std::string& path, WavEncoding encoding, const WavTone& tone) {
    SF_INFO info{};
    info.samplerate = tone.sampleRate;
    info.channels = tone.channels;
    info.format = SF_FORMAT_WAV | SubFormat(encoding);
    if (!sf_format_check(&info))
        return false;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (!file)
        return false;
    const auto frames = static_cast<std::size_t>(std::lround(tone.seconds * tone.sampleRate));
    const double ramp = 0.005 * tone.sampleRate;
    std::vector<double> samples(frames * static_cast<std::size_t>(tone.channels));
    for (std::size_t i = 0; i < frames; ++i) {
        const double edge = std::min(
            {1.0, static_cast<double>(i) / ramp, static_cast<double>(frames - 1 - i) / ramp});
        const double v =
            tone.amplitude * edge *
            std::sin(2.0 * kPi * tone.frequency * static_cast<double>(i) / tone.sampleRate);
        for (int c = 0; c < tone.channels; ++c)
            samples[i * static_cast<std::size_t>(tone.channels) + static_cast<std::size_t>(c)] = v;
    }
    const sf_count_t written =
        sf_writef_double(file, samples.data(), static_cast<sf_count_t>(frames));
    const bool ok = sf_close(file) == 0 && written == static_cast<sf_count_t>(frames);
    return ok;
}

std::vector<std::uint8_t> MakeWavBytes(const WavHeader& h, const std::vector<std::uint8_t>& data) {
    const std::uint16_t blockAlign =
        h.blockAlign ? h.blockAlign
                     : static_cast<std::uint16_t>(h.channels * (h.bitsPerSample / 8));
    const std::uint32_t byteRate = h.byteRate ? h.byteRate : h.sampleRate * blockAlign;
    const auto realData = static_cast<std::uint32_t>(data.size());
    const std::uint32_t realRiff = 4 + 8 + 16 + 8 + realData;
    std::vector<std::uint8_t> out;
    PutTag(out, "RIFF");
    Put32(out, h.riffSizeField < 0 ? realRiff : static_cast<std::uint32_t>(h.riffSizeField));
    PutTag(out, "WAVE");
    PutTag(out, "fmt ");
    Put32(out, h.fmtSizeField);
    Put16(out, h.formatTag);
    Put16(out, h.channels);
    Put32(out, h.sampleRate);
    Put32(out, byteRate);
    Put16(out, blockAlign);
    Put16(out, h.bitsPerSample);
    PutTag(out, "data");
    Put32(out, h.dataSizeField < 0 ? realData : static_cast<std::uint32_t>(h.dataSizeField));
    out.insert(out.end(), data.begin(), data.end());
    return out;
}

std::vector<NamedBytes> HostileWavFiles() {
    const std::vector<std::uint8_t> tone = Pcm16Tone(440.0, 8000, 800);
    std::vector<NamedBytes> files;
    files.push_back({"empty", {}});
    files.push_back({"riff_only", {'R', 'I', 'F', 'F'}});
    {
        auto bytes = MakeWavBytes({}, tone);
        bytes.resize(30); // cut inside the fmt chunk
        files.push_back({"cut_in_header", bytes});
    }
    {
        auto bytes = MakeWavBytes({}, tone);
        bytes.resize(bytes.size() - 401); // cut inside a sample
        files.push_back({"cut_in_data", bytes});
    }
    {
        WavHeader h;
        h.dataSizeField = 0xFFFFFFF0;
        h.riffSizeField = 0xFFFFFFF8;
        files.push_back({"sizes_claim_4_GB", MakeWavBytes(h, tone)});
    }
    {
        WavHeader h;
        h.channels = 0;
        files.push_back({"no_channels", MakeWavBytes(h, tone)});
    }
    {
        WavHeader h;
        h.channels = 65535;
        files.push_back({"65535_channels", MakeWavBytes(h, tone)});
    }
    {
        WavHeader h;
        h.sampleRate = 0;
        files.push_back({"rate_0", MakeWavBytes(h, tone)});
    }
    {
        WavHeader h;
        h.sampleRate = 1;
        files.push_back({"rate_1", MakeWavBytes(h, tone)});
    }
    {
        WavHeader h;
        h.sampleRate = 0xFFFFFFFF;
        files.push_back({"rate_4_GHz", MakeWavBytes(h, tone)});
    }
    {
        WavHeader h;
        h.bitsPerSample = 0;
        files.push_back({"bits_0", MakeWavBytes(h, tone)});
    }
    {
        WavHeader h;
        h.bitsPerSample = 7;
        files.push_back({"bits_7", MakeWavBytes(h, tone)});
    }
    {
        WavHeader h;
        h.fmtSizeField = 0x7FFFFFFF;
        files.push_back({"fmt_size_2_GB", MakeWavBytes(h, tone)});
    }
    {
        WavHeader h;
        h.formatTag = 0x1234; // no such encoding
        files.push_back({"unknown_encoding", MakeWavBytes(h, tone)});
    }
    {
        WavHeader h;
        h.formatTag = 0x11; // IMA ADPCM with a PCM block layout
        files.push_back({"ima_adpcm_bad_blocks", MakeWavBytes(h, tone)});
    }
    {
        std::mt19937 random(1234);
        std::vector<std::uint8_t> noise(4096);
        for (auto& b : noise)
            b = static_cast<std::uint8_t>(random());
        files.push_back({"noise", noise});
        auto headed = MakeWavBytes({}, {});
        headed.insert(headed.end(), noise.begin(), noise.end());
        files.push_back({"noise_after_header", headed});
    }
    return files;
}

bool WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}
