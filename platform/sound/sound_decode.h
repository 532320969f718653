// The decode step of the sound service: a file path in, the sound in the service's output format
// out, or nothing when the path names no regular file or the file cannot be decoded. It touches
// neither the audio device nor any shared state, so it can run on any thread and be fed any bytes.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>

#include "platform/sound/sound_pcm.h"

struct SoundDecodeOptions {
    // Frames of output kept at most; the rest of a longer sound is dropped unread.
    std::size_t maxFrames = kMaxSoundFrames;
    // Asked between blocks; returning true abandons the decode (the result is then nothing).
    std::function<bool()> cancelled;
};

std::optional<SoundPcm> DecodeSoundFile(const std::string& path,
                                        const SoundDecodeOptions& options = {});
