// libFuzzer target: any bytes written as a sound file, then decoded by the sound service's decode
// step as it decodes a file from the sound folder. Whatever it returns must be whole stereo
// frames within the length limit.
#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/sound/sound_decode.h"

namespace {

// One file per fuzzing process, in memory where the system has a RAM disk.
const std::string& InputPath() {
    static const std::string path = [] {
        const char* dir = ::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : std::getenv("TMPDIR");
        return std::string(dir ? dir : "/tmp") + "/pibo-sound-fuzz-" + std::to_string(::getpid()) +
               ".wav";
    }();
    return path;
}

void RemoveInput() {
    ::unlink(InputPath().c_str());
}

bool WriteInput(const std::uint8_t* data, std::size_t size) {
    const int fd = ::open(InputPath().c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ::write(fd, data + done, size - done);
        if (n <= 0)
            break;
        done += static_cast<std::size_t>(n);
    }
    return ::close(fd) == 0 && done == size;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    std::atexit(RemoveInput);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (!WriteInput(data, size))
        std::abort(); // the machine, not the input: stop rather than test nothing
    // A few bytes can decode to minutes of sound; a limit of a quarter second keeps each run quick
    // (and its buffers small) and takes the cut-off path often. The five-minute default is the
    // unit tests' business.
    SoundDecodeOptions options;
    options.maxFrames = kSoundRate / 4;
    if (const auto pcm = DecodeSoundFile(InputPath(), options)) {
        if (pcm->samples.empty() || pcm->samples.size() % kSoundChannels != 0 ||
            pcm->frames() > options.maxFrames)
            std::abort();
    }
    return 0;
}
