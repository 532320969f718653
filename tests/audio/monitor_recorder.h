// Records what reaches a PulseAudio sink, by running `parec` on the sink's monitor source: 48 kHz
// mono 16-bit, with the moment each block of samples arrived. A test notes Mark() when it asks
// for a sound and then looks at the recording from that sample on. Header-only, so that the audio
// tests and the benchmark share it.
//
// The monitor's first second or so is not to be trusted (it may arrive late or not at all), so
// start recording well before the first sound: WaitForSeconds(2) after Start().
#pragma once

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

class MonitorRecorder {
public:
    using Clock = std::chrono::steady_clock;
    static constexpr int kRate = 48000;

    // `server`: a PulseAudio server address for parec; empty for the one in PULSE_SERVER.
    explicit MonitorRecorder(std::string source = "pibo.monitor", std::string server = "")
        : m_source(std::move(source)), m_server(std::move(server)) {}
    ~MonitorRecorder() { Stop(); }
    MonitorRecorder(const MonitorRecorder&) = delete;
    MonitorRecorder& operator=(const MonitorRecorder&) = delete;

    bool Start() {
        int fds[2];
        if (::pipe2(fds, O_CLOEXEC) != 0)
            return false;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
        std::vector<std::string> args = {
            "parec",          "-d",    m_source,          "--rate=48000", "--channels=1",
            "--format=s16le", "--raw", "--latency-msec=5"};
        if (!m_server.empty())
            args.push_back("--server=" + m_server);
        std::vector<char*> argv;
        for (std::string& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        const int rc = ::posix_spawnp(&m_pid, "parec", &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        ::close(fds[1]);
        if (rc != 0) {
            ::close(fds[0]);
            m_pid = -1;
            return false;
        }
        m_fd = fds[0];
        m_reader = std::thread([this] { Read(); });
        return true;
    }

    void Stop() {
        if (m_pid > 0) {
            ::kill(m_pid, SIGTERM);
            int status = 0;
            ::waitpid(m_pid, &status, 0);
            m_pid = -1;
        }
        if (m_reader.joinable())
            m_reader.join();
        if (m_fd >= 0) {
            ::close(m_fd);
            m_fd = -1;
        }
    }

    // Waits until `seconds` of sound have arrived (or four times as long has passed).
    bool WaitForSeconds(double seconds) {
        const auto deadline = Clock::now() + std::chrono::duration<double>(seconds * 4 + 1);
        while (Clock::now() < deadline) {
            if (static_cast<double>(Mark()) >= seconds * kRate)
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return false;
    }

    // The number of samples received so far: the recording's "now".
    std::size_t Mark() const {
        std::lock_guard lock(m_mutex);
        return m_samples.size();
    }

    std::vector<double> Samples() const {
        std::lock_guard lock(m_mutex);
        std::vector<double> out;
        out.reserve(m_samples.size());
        for (std::int16_t s : m_samples)
            out.push_back(s / 32768.0);
        return out;
    }

    // When the block holding sample `index` arrived here.
    Clock::time_point ArrivalOf(std::size_t index) const {
        std::lock_guard lock(m_mutex);
        for (const Arrival& a : m_arrivals)
            if (a.endSample > index)
                return a.time;
        return m_arrivals.empty() ? Clock::time_point{} : m_arrivals.back().time;
    }

private:
    struct Arrival {
        std::size_t endSample;
        Clock::time_point time;
    };

    void Read() {
        std::uint8_t buffer[4096];
        std::vector<std::uint8_t> carry;
        for (;;) {
            const ssize_t n = ::read(m_fd, buffer, sizeof buffer);
            if (n <= 0)
                return;
            const auto now = Clock::now();
            carry.insert(carry.end(), buffer, buffer + n);
            std::lock_guard lock(m_mutex);
            std::size_t i = 0;
            for (; i + 1 < carry.size(); i += 2)
                m_samples.push_back(static_cast<std::int16_t>(carry[i] | (carry[i + 1] << 8)));
            carry.erase(carry.begin(), carry.begin() + static_cast<std::ptrdiff_t>(i));
            m_arrivals.push_back({m_samples.size(), now});
        }
    }

    std::string m_source;
    std::string m_server;
    pid_t m_pid = -1;
    int m_fd = -1;
    std::thread m_reader;
    mutable std::mutex m_mutex;
    std::vector<std::int16_t> m_samples;
    std::vector<Arrival> m_arrivals;
};
