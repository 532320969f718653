// What the audio tests share: a recording of the sink with marks for each request, a private
// sound theme whose default and exclamation sounds are tones of known pitch, and a way to tell
// what was heard between two marks.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "tests/audio/monitor_recorder.h"
#include "tests/audio/signal_analysis.h"
#include "tests/support/wav_fixtures.h"
#include "tests/unit/sound_test_folder.h"

namespace audio_test {

// The private theme's sounds, each a tone of its own.
inline constexpr double kDefaultPitch = 1500.0;
inline constexpr double kExclamationPitch = 2200.0;

// Points the XDG data folders at `folder`, with a theme holding a bell and a dialog-warning tone
// when `withTheme`, with nothing when not.
inline void UsePrivateTheme(const SoundTestFolder& folder, bool withTheme) {
    const std::string stereo = folder / "share/sounds/freedesktop/stereo";
    std::filesystem::create_directories(stereo);
    if (withTheme) {
        WriteToneWav(stereo + "/bell.wav", WavEncoding::Pcm16,
                     {kDefaultPitch, 0.25, 44100, 2, 0.5});
        WriteToneWav(stereo + "/dialog-warning.wav", WavEncoding::Pcm16,
                     {kExclamationPitch, 0.25, 44100, 1, 0.5});
    }
    ::setenv("XDG_DATA_HOME", (folder / "home").c_str(), 1);
    ::setenv("XDG_DATA_DIRS", (folder / "share").c_str(), 1);
}

// What was heard in x[from, until).
struct Heard {
    bool heard = false;
    std::size_t onset = 0;  // sample
    double frequency = 0.0; // of the strongest component just after the onset
    double seconds = 0.0;   // from onset to the last sound before `until`
};

// The pitch is looked for between `low` and `high` over the whole sound, so that the short gaps a
// heavily loaded machine may leave in the stream do not move it.
inline Heard Listen(const std::vector<double>& x, std::size_t from, std::size_t until,
                    double low = 100.0, double high = 6000.0) {
    using namespace signal_analysis;
    Heard h;
    if (until > x.size())
        until = x.size();
    const std::size_t rate = MonitorRecorder::kRate;
    const std::size_t onset = Onset(x, from, 0.05);
    if (onset >= until)
        return h;
    h.heard = true;
    h.onset = onset;
    const std::size_t window = rate / 100;
    std::size_t end = onset;
    for (std::size_t at = onset; at + window <= until; at += window / 2)
        if (Rms(x, at, at + window) > 0.01)
            end = at + window;
    h.seconds = static_cast<double>(end - onset) / rate;
    h.frequency = PeakFrequency(x, onset, std::min(end, onset + rate / 4), rate, low, high);
    return h;
}

inline void Sleep(int ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

} // namespace audio_test
