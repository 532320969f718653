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

    // A program that never calls ShutdownSoundService still ends the worker before exit.
    ~Service() { Shutdown(); }

    void Post(SoundJob job) {
        std::lock_guard lock(mutex);
        if (!worker)
            worker = std::make_unique<SoundWorker>();
        worker->Post(std::move(job));
    }

    void Shutdown() {
        std::unique_ptr<SoundWorker> stopping;
        {
            std::lock_guard lock(mutex);
            stopping = std::move(worker);
        }
        if (stopping && !stopping->Stop(kShutdownPatience))
            (void)stopping.release(); // its detached thread still uses it
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
