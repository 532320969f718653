// The sound service against a real PulseAudio server (bench/run_sound_bench.sh starts one):
// what a request costs the caller, how long until its first sample reaches the server, and what
// the service costs while nothing plays. Times are medians and 90th percentiles over a run, given
// as counters; Google Benchmark's own time column means nothing here.
#include <benchmark/benchmark.h>
#include <sndfile.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/sound/sound.h"
#include "platform/sound/sound_decode.h"
#include "platform/sound/sound_service.h"
#include "tests/audio/monitor_recorder.h"
#include "tests/audio/signal_analysis.h"

namespace {

using Clock = std::chrono::steady_clock;

// A private folder for the benchmark's sound files, removed at exit.
std::string BenchFolder() {
    struct Folder {
        std::string path;
        Folder() {
            std::string pattern =
                (std::filesystem::temp_directory_path() / "pibo-sound-bench.XXXXXX").string();
            if (::mkdtemp(pattern.data()))
                path = pattern;
        }
        ~Folder() {
            std::error_code ignored;
            if (!path.empty())
                std::filesystem::remove_all(path, ignored);
        }
    };
    static const Folder folder;
    return folder.path;
}

// A 16-bit 44.1 kHz tone, the commonest kind of sound file.
std::string ToneFile(double frequency, double seconds, int channels = 1) {
    const std::string path = BenchFolder() + "/tone" + std::to_string(static_cast<int>(frequency)) +
                             "_" + std::to_string(channels) + ".wav";
    SF_INFO info{};
    info.samplerate = 44100;
    info.channels = channels;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    const auto frames = static_cast<std::size_t>(seconds * 44100);
    std::vector<float> samples(frames * static_cast<std::size_t>(channels));
    for (std::size_t i = 0; i < frames; ++i)
        for (int c = 0; c < channels; ++c)
            samples[i * static_cast<std::size_t>(channels) + static_cast<std::size_t>(c)] =
                0.5f * static_cast<float>(std::sin(2.0 * 3.14159265358979 * frequency *
                                                   static_cast<double>(i) / 44100.0));
    sf_writef_float(file, samples.data(), static_cast<sf_count_t>(frames));
    sf_close(file);
    return path;
}

double Percentile(std::vector<double> v, double p) {
    if (v.empty())
        return 0.0;
    std::sort(v.begin(), v.end());
    const auto i = static_cast<std::size_t>(std::lround(p * static_cast<double>(v.size() - 1)));
    return v[i];
}

double Ms(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

void Sleep(int ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

bool NeedServer(benchmark::State& state) {
    if (std::getenv("PULSE_SERVER"))
        return true;
    state.SkipWithError("needs a PulseAudio server: run bench/run_sound_bench.sh");
    return false;
}

// What a PlaySoundA call costs its caller, sounds requested every 10 ms.
void BM_PlaySoundCallerCost(benchmark::State& state) {
    if (!NeedServer(state))
        return;
    const std::string tone = ToneFile(440.0, 0.2);
    std::vector<double> costs;
    for (auto _ : state) {
        ShutdownSoundService();
        for (int i = 0; i < 300; ++i) {
            const auto start = Clock::now();
            PlaySoundA(tone.c_str(), nullptr, SND_FILENAME | SND_ASYNC);
            costs.push_back(Ms(Clock::now() - start));
            Sleep(10);
        }
    }
    ShutdownSoundService();
    state.counters["first_ms"] = costs.front();
    state.counters["median_ms"] = Percentile(costs, 0.5);
    state.counters["p90_ms"] = Percentile(costs, 0.9);
    state.counters["max_ms"] = Percentile(costs, 1.0);
}
BENCHMARK(BM_PlaySoundCallerCost)->Iterations(1)->Unit(benchmark::kMillisecond);

// From PlaySoundA to the sound's first sample arriving from the server's monitor (an upper bound:
// it includes the monitor's own few milliseconds). Argument 0: the service starts on the first
// request; 1: StartSoundService was called first. Requests every `gap` ms: 300 keeps the device
// open, 3500 lets it close in between.
void BM_RequestToFirstSample(benchmark::State& state) {
    if (!NeedServer(state))
        return;
    const bool startEarly = state.range(0) != 0;
    const int gap = static_cast<int>(state.range(1));
    const int count = gap > 1000 ? 6 : 30;
    const std::string tone = ToneFile(1000.0, 0.15);
    std::vector<double> latencies;
    for (auto _ : state) {
        ShutdownSoundService();
        MonitorRecorder recorder;
        if (!recorder.Start() || !recorder.WaitForSeconds(2.0)) {
            state.SkipWithError("cannot record the monitor of sink pibo");
            return;
        }
        if (startEarly) {
            StartSoundService();
            Sleep(300);
        }
        std::vector<std::pair<std::size_t, Clock::time_point>> requests;
        for (int i = 0; i < count; ++i) {
            requests.emplace_back(recorder.Mark(), Clock::now());
            PlaySoundA(tone.c_str(), nullptr, SND_FILENAME | SND_ASYNC);
            Sleep(gap);
        }
        Sleep(200);
        const std::vector<double> x = recorder.Samples();
        for (const auto& [mark, time] : requests) {
            // Look a little before the mark: the mark lags the server by the monitor's latency.
            const std::size_t from = mark > 2400 ? mark - 2400 : 0;
            const std::size_t onset = signal_analysis::Onset(x, from, 0.05);
            if (onset < x.size())
                latencies.push_back(Ms(recorder.ArrivalOf(onset) - time));
        }
    }
    ShutdownSoundService();
    if (latencies.empty()) {
        state.SkipWithError("no sound heard");
        return;
    }
    state.counters["heard"] = static_cast<double>(latencies.size());
    state.counters["first_ms"] = latencies.front();
    state.counters["median_ms"] = Percentile(latencies, 0.5);
    state.counters["p90_ms"] = Percentile(latencies, 0.9);
    state.counters["max_ms"] = Percentile(latencies, 1.0);
}
BENCHMARK(BM_RequestToFirstSample)
    ->Args({0, 300})
    ->Args({1, 300})
    ->Args({0, 3500})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

double ProcessCpuSeconds() {
    timespec t{};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// CPU seconds the server has used, when start_pulse told us its process id.
double ServerCpuSeconds() {
    const char* pid = std::getenv("PIBO_PULSE_PID");
    if (!pid)
        return 0.0;
    std::ifstream stat(std::string("/proc/") + pid + "/stat");
    std::string line;
    std::getline(stat, line);
    const std::size_t paren = line.rfind(')');
    if (paren == std::string::npos)
        return 0.0;
    std::istringstream fields(line.substr(paren + 2));
    std::string field;
    double utime = 0, stime = 0;
    for (int i = 3; fields >> field; ++i) {
        if (i == 14)
            utime = std::stod(field);
        if (i == 15) {
            stime = std::stod(field);
            break;
        }
    }
    return (utime + stime) / static_cast<double>(::sysconf(_SC_CLK_TCK));
}

// CPU used while nothing plays: first in the seconds after a sound while the device is still
// open, then once it has been closed. In percent of one core, for this process and the server.
void BM_IdleCpu(benchmark::State& state) {
    if (!NeedServer(state))
        return;
    const std::string tone = ToneFile(440.0, 0.1);
    for (auto _ : state) {
        ShutdownSoundService();
        PlaySoundA(tone.c_str(), nullptr, SND_FILENAME | SND_ASYNC);
        Sleep(300);
        auto measure = [](int ms, double& self, double& server) {
            const double self0 = ProcessCpuSeconds(), server0 = ServerCpuSeconds();
            Sleep(ms);
            self = (ProcessCpuSeconds() - self0) * 100000.0 / ms;
            server = (ServerCpuSeconds() - server0) * 100000.0 / ms;
        };
        double openSelf = 0, openServer = 0, closedSelf = 0, closedServer = 0;
        measure(2000, openSelf, openServer);
        Sleep(2000);
        measure(3000, closedSelf, closedServer);
        state.counters["open_self_pct"] = openSelf;
        state.counters["open_server_pct"] = openServer;
        state.counters["closed_self_pct"] = closedSelf;
        state.counters["closed_server_pct"] = closedServer;
    }
    ShutdownSoundService();
}
BENCHMARK(BM_IdleCpu)->Iterations(1)->Unit(benchmark::kMillisecond);

// The decode step alone: a one-second 44.1 kHz stereo file into the output format.
void BM_DecodeOneSecond(benchmark::State& state) {
    const std::string tone = ToneFile(440.0, 1.0, 2);
    for (auto _ : state)
        benchmark::DoNotOptimize(DecodeSoundFile(tone));
}
BENCHMARK(BM_DecodeOneSecond)->Unit(benchmark::kMillisecond);

} // namespace
