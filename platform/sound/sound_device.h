// The audio output of the sound service: the default SDL playback device, opened in the output
// format (SDL converts if the server wants another), fed from a callback that plays one sound at a
// time. Replacing the sound fades the old one out over a few milliseconds and then starts the new
// one, so that two sounds never overlap and the cut does not click. Used from one thread only,
// the service's worker; the callback runs on SDL's audio thread.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/sound/sound_pcm.h"

class SoundDevice {
public:
    SoundDevice() = default;
    ~SoundDevice();
    SoundDevice(const SoundDevice&) = delete;
    SoundDevice& operator=(const SoundDevice&) = delete;

    // Starts SDL's audio subsystem if needed and opens the default output. On failure the
    // subsystem is shut down again, so that the next attempt looks for a server afresh, and
    // Error() says why.
    bool Open();
    bool IsOpen() const { return m_device != 0; }
    // False once the server has gone away under an open device.
    bool IsAlive() const;
    void Close();
    // Closes the device and shuts SDL's audio subsystem down.
    void Shutdown();
    // Replaces the sound being played; nullptr stops it.
    void Play(std::shared_ptr<const SoundPcm> sound);
    const std::string& Error() const { return m_error; }

private:
    static void FillCallback(void* self, std::uint8_t* stream, int len);
    void Fill(std::int16_t* out, std::size_t samples);

    std::uint32_t m_device = 0;
    bool m_audioStarted = false;
    std::string m_error;

    // Shared with the callback, under SDL's device lock. The callback never releases a sound:
    // it is released here, on the worker, when the next one replaces it.
    std::shared_ptr<const SoundPcm> m_sound;
    std::size_t m_position = 0; // in samples
    std::shared_ptr<const SoundPcm> m_fading;
    std::size_t m_fadePosition = 0;
    std::size_t m_fadeLeft = 0; // frames still to fade out
};
