// The sound service's worker thread. Requests are handed over in a single slot: a request that
// arrives before the previous one was taken up replaces it, and one that arrives while the
// previous one is still being decoded abandons that decoding, so the newest request always wins
// and a caller never waits for a file, a decoder or the audio server. The worker alone touches the
// device, the decoder and SDL.
//
// The device is opened on the first request (or on WarmUp) and closed again once nothing has
// played for half a second, so that an idle program costs neither CPU nor a stream on the server.
// A device that cannot be opened is tried again on the next request, once per request: when the
// audio server comes (back), the next sound plays.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "platform/sound/sound_device.h"
#include "platform/sound/sound_system_sounds.h"
#include "platform/win/types.h"

struct SoundJob {
    enum class Kind { File, Beep, Stop, WarmUp };
    Kind kind = Kind::File;
    std::string path; // for File
    DWORD flags = 0;  // for File: SND_NODEFAULT counts
    UINT type = 0;    // for Beep
};

class SoundWorker {
public:
    SoundWorker();
    ~SoundWorker();
    SoundWorker(const SoundWorker&) = delete;
    SoundWorker& operator=(const SoundWorker&) = delete;

    void Post(SoundJob job);
    // Asks the worker to finish and waits for it at most `patience`: an audio server that hangs
    // must not hang the program's exit. False when the worker is still busy; the object must then
    // be left alive (the thread is detached and still uses it).
    bool Stop(std::chrono::milliseconds patience);

private:
    void Run();
    void Serve(const SoundJob& job, std::uint64_t generation);
    bool EnsureDevice();
    std::shared_ptr<const SoundPcm> SoundFor(const SoundJob& job,
                                             const SoundDecodeOptions& options);

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_finished;
    std::optional<SoundJob> m_pending;
    std::uint64_t m_generation = 0; // counts posted jobs; a decode gives up when it moves
    bool m_stop = false;
    bool m_done = false;

    // The worker's own.
    SoundDevice m_device;
    SystemSounds m_systemSounds;
    bool m_warned = false;
    std::chrono::steady_clock::time_point m_closeAt;

    // Last, and started in the constructor's body: the thread uses every member above.
    std::thread m_thread;
};
