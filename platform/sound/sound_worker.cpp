#include "platform/sound/sound_worker.h"

#include <cstdio>

#include "platform/sound/sound_file_lookup.h"
#include "platform/win/constants.h"

namespace {

// How long the device stays open after the last sound has ended. Key presses come in bursts:
// one stream serves a whole burst instead of a new one per key, and an idle program then holds
// no stream at all, which costs the server and the program nothing. An open stream wakes the
// program every few milliseconds (about 0.7% of a core), so it is not kept long; opening a new
// one costs a few milliseconds on this thread, and its first sound starts sooner than one queued
// behind the silence of a running stream.
constexpr std::chrono::milliseconds kIdleClose{500};

} // namespace

SoundWorker::SoundWorker() {
    m_thread = std::thread([this] { Run(); });
}

SoundWorker::~SoundWorker() {
    if (m_thread.joinable())
        Stop(std::chrono::milliseconds::max());
}

void SoundWorker::Post(SoundJob job) {
    {
        std::lock_guard lock(m_mutex);
        // Warming up is only worth it when nothing real is waiting: it must not replace a sound.
        if (job.kind == SoundJob::Kind::WarmUp && m_pending)
            return;
        m_pending = std::move(job);
        ++m_generation;
    }
    m_wake.notify_one();
}

bool SoundWorker::Stop(std::chrono::milliseconds patience) {
    {
        std::unique_lock lock(m_mutex);
        m_stop = true;
        ++m_generation;
        m_wake.notify_one();
        const bool done = patience == std::chrono::milliseconds::max()
                              ? (m_finished.wait(lock, [this] { return m_done; }), true)
                              : m_finished.wait_for(lock, patience, [this] { return m_done; });
        if (!done) {
            m_thread.detach();
            return false;
        }
    }
    m_thread.join();
    return true;
}

void SoundWorker::Run() {
    std::unique_lock lock(m_mutex);
    while (!m_stop) {
        if (m_pending) {
            const SoundJob job = std::move(*m_pending);
            m_pending.reset();
            const std::uint64_t generation = m_generation;
            lock.unlock();
            Serve(job, generation);
            lock.lock();
            continue;
        }
        if (!m_systemSounds.Loaded()) {
            // Decode the fallback sounds while nothing else is asked for, so that the first
            // missing file does not wait for them.
            const std::uint64_t generation = m_generation;
            lock.unlock();
            SoundDecodeOptions options;
            options.cancelled = [this, generation] {
                std::lock_guard guard(m_mutex);
                return m_generation != generation;
            };
            if (m_systemSounds.Default(options))
                m_systemSounds.Exclamation(options);
            lock.lock();
            continue;
        }
        auto wanted = [this] { return m_stop || m_pending.has_value(); };
        if (m_device.IsOpen()) {
            if (m_wake.wait_until(lock, m_closeAt, wanted))
                continue;
            lock.unlock();
            m_device.Close();
            lock.lock();
        } else {
            m_wake.wait(lock, wanted);
        }
    }
    lock.unlock();
    m_device.Shutdown();
    lock.lock();
    m_done = true;
    m_finished.notify_all();
}

bool SoundWorker::EnsureDevice() {
    // A device whose server went away is given up with the whole subsystem, so that reopening
    // looks for a server afresh.
    if (m_device.IsOpen() && !m_device.IsAlive())
        m_device.Shutdown();
    if (m_device.IsOpen() || m_device.Open())
        return true;
    if (!m_warned) {
        std::fprintf(stderr,
                     "pibo: no audio output found, sounds are off until there is one (%s)\n",
                     m_device.Error().c_str());
        m_warned = true;
    }
    return false;
}

std::shared_ptr<const SoundPcm> SoundWorker::SoundFor(const SoundJob& job,
                                                      const SoundDecodeOptions& options) {
    if (job.kind == SoundJob::Kind::Beep)
        return job.type == MB_ICONEXCLAMATION ? m_systemSounds.Exclamation(options)
                                              : m_systemSounds.Default(options);
    if (std::optional<SoundPcm> pcm = DecodeSoundFile(FindSoundFile(job.path), options))
        return std::make_shared<const SoundPcm>(std::move(*pcm));
    if ((job.flags & SND_NODEFAULT) != 0 || (options.cancelled && options.cancelled()))
        return nullptr;
    return m_systemSounds.Default(options);
}

void SoundWorker::Serve(const SoundJob& job, std::uint64_t generation) {
    const auto now = std::chrono::steady_clock::now();
    if (job.kind == SoundJob::Kind::Stop) {
        m_device.Play(nullptr);
        return;
    }
    if (!EnsureDevice())
        return;
    m_closeAt = now + kIdleClose;
    if (job.kind == SoundJob::Kind::WarmUp)
        return;

    SoundDecodeOptions options;
    options.cancelled = [this, generation] {
        std::lock_guard guard(m_mutex);
        return m_generation != generation;
    };
    std::shared_ptr<const SoundPcm> sound = SoundFor(job, options);
    if (options.cancelled())
        return; // a newer request is waiting and replaces this one
    if (sound)
        m_closeAt = std::chrono::steady_clock::now() +
                    std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                        std::chrono::duration<double>(sound->seconds())) +
                    kIdleClose;
    // A request that yields no sound still ends the one playing: the newest request wins.
    m_device.Play(std::move(sound));
}
