#include "platform/sound/sound_device.h"

#include <SDL.h>
#include <dlfcn.h>

#include <algorithm>
#include <cstring>

namespace {

// 384 frames are 8 ms at 48 kHz. SDL asks PulseAudio for no more than one buffer in flight, so
// this sets the delay from a request to its sound (about 10 ms measured, against about 18 ms with
// 512 frames) and how late the audio thread may wake before the stream runs dry.
constexpr Uint16 kBufferFrames = 384;
// 2.5 ms: too short to hear as a fade, long enough to take the click out of a cut.
constexpr std::size_t kFadeFrames = 120;

// ALSA's library reports every failed lookup of a device on stderr, eight lines for a machine
// without a sound card. The service says once itself that there is no output, so ALSA is told to
// keep quiet. SDL loads the library at run time; the handle taken here is the same library and
// keeps it loaded, so the setting lasts. Without ALSA there is nothing to silence.
extern "C" void QuietAlsaError(const char*, int, const char*, int, const char*, ...) {}

void QuietAlsa() {
    static const bool done = [] {
        void* alsa = ::dlopen("libasound.so.2", RTLD_LAZY | RTLD_LOCAL);
        if (!alsa)
            return false;
        using Handler = void (*)(const char*, int, const char*, int, const char*, ...);
        using SetHandler = int (*)(Handler);
        if (auto set = reinterpret_cast<SetHandler>(::dlsym(alsa, "snd_lib_error_set_handler")))
            set(&QuietAlsaError);
        return true;
    }();
    (void)done;
}

void SetHintsOnce() {
    QuietAlsa();
    // SDL's event subsystem, which audio pulls in, would otherwise take over SIGINT and SIGTERM.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SDL_SetHint(SDL_HINT_AUDIO_DEVICE_APP_NAME, "Pibo");
    SDL_SetHint(SDL_HINT_AUDIO_DEVICE_STREAM_NAME, "Key sounds");
    // The servers of a Linux desktop in order of preference; SDL_AUDIODRIVER in the environment
    // still overrides this.
    SDL_SetHintWithPriority(SDL_HINT_AUDIODRIVER, "pulseaudio,pipewire,alsa", SDL_HINT_DEFAULT);
}

} // namespace

SoundDevice::~SoundDevice() {
    Shutdown();
}

bool SoundDevice::Open() {
    if (m_device != 0)
        return true;
    if (!m_audioStarted) {
        SetHintsOnce();
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
            m_error = SDL_GetError();
            return false;
        }
        m_audioStarted = true;
    }
    SDL_AudioSpec want{};
    want.freq = kSoundRate;
    want.format = AUDIO_S16SYS;
    want.channels = kSoundChannels;
    want.samples = kBufferFrames;
    want.callback = &SoundDevice::FillCallback;
    want.userdata = this;
    SDL_AudioSpec have{};
    m_device = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
    if (m_device == 0) {
        m_error = SDL_GetError();
        Shutdown();
        return false;
    }
    SDL_PauseAudioDevice(m_device, 0);
    return true;
}

bool SoundDevice::IsAlive() const {
    return m_device != 0 && SDL_GetAudioDeviceStatus(m_device) != SDL_AUDIO_STOPPED;
}

void SoundDevice::Close() {
    if (m_device != 0) {
        SDL_CloseAudioDevice(m_device);
        m_device = 0;
    }
    m_sound.reset();
    m_fading.reset();
    m_position = m_fadePosition = m_fadeLeft = 0;
}

void SoundDevice::Shutdown() {
    Close();
    if (m_audioStarted) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        m_audioStarted = false;
    }
}

void SoundDevice::Play(std::shared_ptr<const SoundPcm> sound) {
    if (m_device == 0)
        return;
    // Whatever the callback lets go of is kept here and freed after the lock is released.
    std::shared_ptr<const SoundPcm> oldFading;
    std::shared_ptr<const SoundPcm> oldSound;
    SDL_LockAudioDevice(m_device);
    oldFading = std::move(m_fading);
    m_fadeLeft = 0;
    if (m_sound && m_position < m_sound->samples.size()) {
        m_fading = m_sound;
        m_fadePosition = m_position;
        m_fadeLeft = kFadeFrames;
    }
    oldSound = std::move(m_sound);
    m_sound = std::move(sound);
    m_position = 0;
    SDL_UnlockAudioDevice(m_device);
}

void SoundDevice::FillCallback(void* self, std::uint8_t* stream, int len) {
    static_cast<SoundDevice*>(self)->Fill(reinterpret_cast<std::int16_t*>(stream),
                                          static_cast<std::size_t>(len) / sizeof(std::int16_t));
}

void SoundDevice::Fill(std::int16_t* out, std::size_t samples) {
    std::size_t done = 0;
    // First the tail of a replaced sound, fading to silence.
    while (m_fadeLeft > 0 && done < samples) {
        if (!m_fading || m_fadePosition + kSoundChannels > m_fading->samples.size()) {
            m_fadeLeft = 0;
            break;
        }
        const double gain = static_cast<double>(m_fadeLeft) / (kFadeFrames + 1);
        for (int c = 0; c < kSoundChannels; ++c)
            out[done++] = static_cast<std::int16_t>(m_fading->samples[m_fadePosition++] * gain);
        --m_fadeLeft;
    }
    if (m_sound && m_position < m_sound->samples.size()) {
        const std::size_t n = std::min(samples - done, m_sound->samples.size() - m_position);
        std::memcpy(out + done, m_sound->samples.data() + m_position, n * sizeof(std::int16_t));
        m_position += n;
        done += n;
    }
    std::fill(out + done, out + samples, std::int16_t{0});
}
