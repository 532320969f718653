// Writes the seed corpora of the fuzz targets, made by the tests' own fixture generators: every
// bitmap variant the reader takes, as a file and as a packed DIB, and sounds in every encoding
// the sound service plays, in WAV and in the other containers libsndfile reads, plus the hostile
// WAV files of the tests.
//
//     make_fuzz_seeds <bmp folder> <sound folder>
#include <sndfile.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/bmp_fixtures.h"
#include "tests/support/wav_fixtures.h"

namespace fs = std::filesystem;

namespace {

using bmp_fixtures::HeaderKind;
using bmp_fixtures::Picture;

bool g_ok = true;

void Save(const fs::path& path, const std::vector<BYTE>& bytes) {
    if (!bmp_fixtures::WriteFile(path.string(), bytes)) {
        std::fprintf(stderr, "make_fuzz_seeds: cannot write %s\n", path.c_str());
        g_ok = false;
    }
}

// Small pictures: the fuzzer mutates them faster, and every code path is still there.
std::vector<std::pair<std::string, Picture>> Pictures() {
    std::vector<std::pair<std::string, Picture>> all;
    const HeaderKind headers[] = {HeaderKind::Core, HeaderKind::Info, HeaderKind::V4,
                                  HeaderKind::V5};
    const char* headerNames[] = {"core", "info", "v4", "v5"};
    for (int h = 0; h < 4; ++h) {
        for (WORD bits : {WORD{1}, WORD{4}, WORD{8}}) {
            const int colors = bits == 1 ? 2 : bits == 4 ? 11 : 40;
            Picture p = bmp_fixtures::IndexedPicture(13, 7, bits, colors);
            p.header = headers[h];
            all.emplace_back(std::string(headerNames[h]) + "_" + std::to_string(bits), p);
            if (headers[h] == HeaderKind::Core)
                continue;
            Picture topDown = p;
            topDown.topDown = true;
            all.emplace_back(std::string(headerNames[h]) + "_" + std::to_string(bits) + "_topdown",
                             topDown);
            if (bits != 1) {
                Picture rle = p;
                rle.compression = bits == 4 ? BI_RLE4 : BI_RLE8;
                all.emplace_back(std::string(headerNames[h]) + "_rle" + std::to_string(bits), rle);
            }
        }
        for (WORD bits : {WORD{16}, WORD{24}, WORD{32}}) {
            if (headers[h] == HeaderKind::Core && bits != 24)
                continue;
            Picture p = bmp_fixtures::TrueColorPicture(9, 5, bits);
            p.header = headers[h];
            all.emplace_back(std::string(headerNames[h]) + "_" + std::to_string(bits), p);
        }
        if (headers[h] == HeaderKind::Core)
            continue;
        const DWORD masks565[3] = {0xF800, 0x07E0, 0x001F};
        Picture p16 = bmp_fixtures::TrueColorPicture(9, 5, 16, BI_BITFIELDS, masks565);
        p16.header = headers[h];
        all.emplace_back(std::string(headerNames[h]) + "_16_565", p16);
        const DWORD masks32[3] = {0x000003FF, 0x000FFC00, 0x3FF00000};
        Picture p32 = bmp_fixtures::TrueColorPicture(9, 5, 32, BI_BITFIELDS, masks32);
        p32.header = headers[h];
        all.emplace_back(std::string(headerNames[h]) + "_32_101010", p32);
    }
    Picture clrUsedZero = bmp_fixtures::IndexedPicture(6, 6, 4, 16);
    clrUsedZero.clrUsedZero = true;
    all.emplace_back("info_4_full_table", clrUsedZero);
    all.emplace_back("built_in_like", bmp_fixtures::BuiltInLikePicture());
    return all;
}

void WriteBitmapSeeds(const fs::path& folder) {
    for (const auto& [name, picture] : Pictures()) {
        Save(folder / (name + ".bmp"), bmp_fixtures::BmpFile(picture));
        Save(folder / (name + ".dib"), bmp_fixtures::PackedDib(picture));
    }
}

// A short tone through libsndfile in a container other than WAV; silently skipped where the
// library cannot write that format.
void WriteOtherContainer(const fs::path& path, int format, int rate, int channels) {
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = channels;
    info.format = format;
    if (!sf_format_check(&info))
        return;
    SNDFILE* f = sf_open(path.c_str(), SFM_WRITE, &info);
    if (!f)
        return;
    std::vector<float> samples(static_cast<std::size_t>(rate / 20) * channels);
    for (std::size_t i = 0; i < samples.size(); ++i)
        samples[i] = 0.4f * static_cast<float>(std::sin(0.05 * static_cast<double>(i)));
    sf_writef_float(f, samples.data(), static_cast<sf_count_t>(samples.size()) / channels);
    sf_close(f);
}

void WriteSoundSeeds(const fs::path& folder) {
    for (WavEncoding e : AllWavEncodings()) {
        for (int channels : {1, 2}) {
            WavTone tone;
            tone.frequency = 700.0;
            tone.seconds = 0.05;
            tone.sampleRate = channels == 1 ? 8000 : 22050;
            tone.channels = channels;
            const std::string name =
                std::string(WavEncodingName(e)) + "_" + std::to_string(channels) + "ch.wav";
            // An encoding that refuses the shape simply gives no seed.
            WriteToneWav((folder / name).string(), e, tone);
        }
    }
    for (const NamedBytes& file : HostileWavFiles())
        if (!WriteBytes((folder / ("hostile_" + file.name + ".wav")).string(), file.bytes))
            g_ok = false;
    const struct {
        const char* name;
        int format;
    } others[] = {
        {"tone.aiff", SF_FORMAT_AIFF | SF_FORMAT_PCM_16},
        {"tone.au", SF_FORMAT_AU | SF_FORMAT_ULAW},
        {"tone.caf", SF_FORMAT_CAF | SF_FORMAT_ALAC_16},
        {"tone.flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_16},
        {"tone.ogg", SF_FORMAT_OGG | SF_FORMAT_VORBIS},
        {"tone.opus", SF_FORMAT_OGG | SF_FORMAT_OPUS},
        {"tone.mp3", SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III},
        {"tone.w64", SF_FORMAT_W64 | SF_FORMAT_PCM_24},
        {"tone.voc", SF_FORMAT_VOC | SF_FORMAT_PCM_U8},
    };
    for (const auto& o : others)
        WriteOtherContainer(folder / o.name, o.format,
                            o.format == (SF_FORMAT_OGG | SF_FORMAT_OPUS) ? 48000 : 16000, 1);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_fuzz_seeds <bmp folder> <sound folder>\n");
        return 2;
    }
    const fs::path bmp = argv[1], sound = argv[2];
    fs::create_directories(bmp);
    fs::create_directories(sound);
    WriteBitmapSeeds(bmp);
    WriteSoundSeeds(sound);
    return g_ok ? 0 : 1;
}
