#include "platform/sound/sound_service.h"

#include <memory>
#include <mutex>

#include "platform/sound/sound_service_queue.h"
#include "platform/sound/sound_worker.h"

namespace {

// How long exit waits for the worker; only an audio server that hangs makes it wait at all.
constexpr std::chrono::milliseconds kShutdownPatience{2000};

struct Service {
    std::mutex mutex;
    std::unique_ptr<SoundWorker> worker;
    // While a worker is being stopped, and for good once one could not be stopped (it still owns
    // SDL), requests are dropped: two workers must never drive SDL at the same time.
    bool stopping = false;
    bool abandoned = false;

    // A program that never calls ShutdownSoundService still ends the worker before exit.
    ~Service() { Shutdown(); }

    void Post(SoundJob job) {
        std::lock_guard lock(mutex);
        if (stopping || abandoned)
            return;
        if (!worker)
            worker = std::make_unique<SoundWorker>();
        worker->Post(std::move(job));
    }

    void Shutdown() {
        std::unique_ptr<SoundWorker> stopped;
        {
            std::lock_guard lock(mutex);
            if (!worker)
                return;
            stopped = std::move(worker);
            stopping = true;
        }
        const bool done = stopped->Stop(kShutdownPatience);
        if (!done)
            (void)stopped.release(); // its detached thread still uses it
        std::lock_guard lock(mutex);
        stopping = false;
        abandoned = abandoned || !done;
    }
};

Service& TheService() {
    static Service service;
    return service;
}

} // namespace

void PostSoundJob(SoundJob job) {
    TheService().Post(std::move(job));
}

void StartSoundService() {
    PostSoundJob(SoundJob{SoundJob::Kind::WarmUp, {}, 0, 0});
}

void ShutdownSoundService() {
    TheService().Shutdown();
}
