#include "platform/sound/sound_decode.h"

#include <SDL.h>
#include <fcntl.h>
#include <sndfile.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <memory>

namespace {

// Rates and channel counts outside these bounds are not sounds anyone records; refusing them keeps
// the converter and the block buffer small whatever a header says.
constexpr int kMinRate = 1000;
constexpr int kMaxRate = 768000;
constexpr int kMaxChannels = 64;
// SDL's converter knows the speaker layouts up to 7.1; wider files keep their first two channels.
constexpr int kMaxConvertedChannels = 8;
constexpr sf_count_t kBlockFrames = 2048;

struct FileDescriptor {
    int fd = -1;
    ~FileDescriptor() {
        if (fd >= 0)
            ::close(fd);
    }
};

struct SndFileClose {
    void operator()(SNDFILE* f) const { sf_close(f); }
};
struct AudioStreamFree {
    void operator()(SDL_AudioStream* s) const { SDL_FreeAudioStream(s); }
};

// Opens the path for reading only if it names a regular file: a folder, a FIFO (whose open would
// wait for a writer) or a device is refused without reading from it.
int OpenRegularFile(const std::string& path, off_t& size) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return -1;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return -1;
    }
    size = st.st_size;
    return fd;
}

// Moves what the converter has ready into the sound, up to the frame limit. Returns false once the
// limit is reached.
bool Drain(SDL_AudioStream* stream, SoundPcm& pcm, std::size_t maxFrames) {
    constexpr int kFrameBytes = kSoundChannels * static_cast<int>(sizeof(std::int16_t));
    std::int16_t block[4096];
    for (;;) {
        const std::size_t room = maxFrames - pcm.frames();
        if (room == 0)
            return false;
        const int ready = SDL_AudioStreamAvailable(stream);
        if (ready < kFrameBytes)
            return true;
        const int want = static_cast<int>(std::min<std::size_t>(
            {static_cast<std::size_t>(ready), sizeof block, room * kFrameBytes}));
        const int got = SDL_AudioStreamGet(stream, block, want - want % kFrameBytes);
        if (got <= 0)
            return true;
        const std::size_t samples = static_cast<std::size_t>(got) / sizeof(std::int16_t);
        pcm.samples.insert(pcm.samples.end(), block, block + samples);
    }
}

} // namespace

std::optional<SoundPcm> DecodeSoundFile(const std::string& path,
                                        const SoundDecodeOptions& options) {
    off_t fileSize = 0;
    FileDescriptor file{OpenRegularFile(path, fileSize)};
    if (file.fd < 0)
        return std::nullopt;

    SF_INFO info{};
    std::unique_ptr<SNDFILE, SndFileClose> sound(sf_open_fd(file.fd, SFM_READ, &info, SF_FALSE));
    if (!sound)
        return std::nullopt;
    if (info.samplerate < kMinRate || info.samplerate > kMaxRate || info.channels < 1 ||
        info.channels > kMaxChannels)
        return std::nullopt;

    const int fileChannels = info.channels;
    const int convertedChannels = fileChannels <= kMaxConvertedChannels ? fileChannels : 2;
    std::unique_ptr<SDL_AudioStream, AudioStreamFree> stream(
        SDL_NewAudioStream(AUDIO_F32SYS, static_cast<Uint8>(convertedChannels), info.samplerate,
                           AUDIO_S16SYS, kSoundChannels, kSoundRate));
    if (!stream)
        return std::nullopt;

    SoundPcm pcm;
    // The header's length is only a hint and may lie: the reservation is also bounded by what the
    // file's size can plausibly hold (8 frames a byte covers ADPCM and GSM) and by the limit.
    if (info.frames > 0) {
        const double ratio = static_cast<double>(kSoundRate) / info.samplerate;
        const double claimed = static_cast<double>(info.frames) * ratio;
        const double plausible = static_cast<double>(fileSize) * 8.0 * ratio;
        const double frames =
            std::min({claimed, plausible, static_cast<double>(options.maxFrames)}) + 1024.0;
        pcm.samples.reserve(static_cast<std::size_t>(frames) * kSoundChannels);
    }

    std::vector<float> block(static_cast<std::size_t>(kBlockFrames) * fileChannels);
    std::vector<float> narrowed;
    std::uint64_t inputFrames = 0;
    bool full = false;
    while (!full) {
        if (options.cancelled && options.cancelled())
            return std::nullopt;
        const sf_count_t got = sf_readf_float(sound.get(), block.data(), kBlockFrames);
        if (got <= 0)
            break;
        inputFrames += static_cast<std::uint64_t>(got);
        const std::size_t samples = static_cast<std::size_t>(got) * fileChannels;
        // A float file may hold NaN or infinities; they would poison the resampler.
        for (std::size_t i = 0; i < samples; ++i)
            if (!std::isfinite(block[i]))
                block[i] = 0.0f;
        const float* data = block.data();
        std::size_t count = samples;
        if (convertedChannels != fileChannels) {
            narrowed.resize(static_cast<std::size_t>(got) * 2);
            for (sf_count_t f = 0; f < got; ++f) {
                narrowed[f * 2] = block[f * fileChannels];
                narrowed[f * 2 + 1] = block[f * fileChannels + 1];
            }
            data = narrowed.data();
            count = narrowed.size();
        }
        if (SDL_AudioStreamPut(stream.get(), data, static_cast<int>(count * sizeof(float))) != 0)
            return std::nullopt;
        full = !Drain(stream.get(), pcm, options.maxFrames);
    }
    if (!full) {
        // SDL's stream keeps back the last input frames when it resamples, and its flush does not
        // always give them up: push silence after the sound, then cut the output back to the
        // sound's exact length.
        const auto expected =
            static_cast<std::size_t>((inputFrames * static_cast<std::uint64_t>(kSoundRate) +
                                      static_cast<std::uint64_t>(info.samplerate) / 2) /
                                     static_cast<std::uint64_t>(info.samplerate));
        const std::size_t limit = std::min(options.maxFrames, expected);
        std::fill(block.begin(), block.end(), 0.0f);
        const int silenceBytes = static_cast<int>(static_cast<std::size_t>(kBlockFrames) *
                                                  convertedChannels * sizeof(float));
        for (int i = 0; i < 2 && pcm.frames() < limit; ++i) {
            if (SDL_AudioStreamPut(stream.get(), block.data(), silenceBytes) != 0)
                return std::nullopt;
            Drain(stream.get(), pcm, limit);
        }
        SDL_AudioStreamFlush(stream.get());
        Drain(stream.get(), pcm, limit);
    }
    if (pcm.samples.empty())
        return std::nullopt;
    if (pcm.samples.capacity() > pcm.samples.size() + pcm.samples.size() / 4)
        pcm.samples.shrink_to_fit();
    return pcm;
}
