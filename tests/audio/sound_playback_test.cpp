// The sound service against the real PulseAudio server that scripts/test starts: what reaches the
// server's null sink is recorded from its monitor and analysed.
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/sound/sound.h"
#include "platform/sound/sound_service.h"
#include "tests/audio/audio_test_support.h"

using namespace audio_test;
using namespace signal_analysis;

namespace {

class SoundPlayback : public ::testing::Test {
protected:
    void SetUp() override {
        if (!std::getenv("PULSE_SERVER"))
            GTEST_SKIP() << "needs the PulseAudio server that scripts/test starts";
        ShutdownSoundService();
        ASSERT_TRUE(m_recorder.Start());
        ASSERT_TRUE(m_recorder.WaitForSeconds(2.0)) << "the sink's monitor records nothing";
    }
    void TearDown() override { ShutdownSoundService(); }

    void Play(const std::string& path, DWORD flags = SND_FILENAME | SND_ASYNC) {
        PlaySoundA(path.c_str(), nullptr, flags);
    }

    SoundTestFolder m_folder;
    MonitorRecorder m_recorder;
};

} // namespace

// Each encoding, at its own rate and channel count, is heard at its own pitch and length.
TEST_F(SoundPlayback, EveryEncodingIsHeardAtItsPitch) {
    UsePrivateTheme(m_folder, true);
    struct Case {
        WavEncoding encoding;
        int rate, channels;
    } const cases[] = {
        {WavEncoding::PcmU8, 11025, 1},    {WavEncoding::Pcm16, 44100, 2},
        {WavEncoding::Pcm24, 96000, 2},    {WavEncoding::Pcm32, 48000, 1},
        {WavEncoding::Float32, 22050, 2},  {WavEncoding::Float64, 32000, 1},
        {WavEncoding::MuLaw, 8000, 1},     {WavEncoding::ALaw, 8000, 2},
        {WavEncoding::ImaAdpcm, 22050, 2}, {WavEncoding::MsAdpcm, 44100, 1},
        {WavEncoding::Gsm610, 8000, 1},
    };
    std::vector<std::size_t> marks;
    std::vector<double> pitches;
    for (const Case& c : cases) {
        const double pitch = 400.0 + 150.0 * static_cast<double>(pitches.size());
        const std::string path = m_folder / (std::string(WavEncodingName(c.encoding)) + ".wav");
        ASSERT_TRUE(WriteToneWav(path, c.encoding, {pitch, 0.25, c.rate, c.channels, 0.5}));
        pitches.push_back(pitch);
    }
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        marks.push_back(m_recorder.Mark());
        Play(m_folder / (std::string(WavEncodingName(cases[i].encoding)) + ".wav"));
        Sleep(450);
    }
    marks.push_back(m_recorder.Mark());
    const std::vector<double> x = m_recorder.Samples();
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(WavEncodingName(cases[i].encoding));
        const Heard h = Listen(x, marks[i], marks[i + 1], pitches[i] - 100.0, pitches[i] + 100.0);
        ASSERT_TRUE(h.heard);
        // The test pitches lie 150 Hz apart; a file played at a wrong rate is off by far more
        // than the 2% that gaps in the stream of a heavily loaded machine can move a peak.
        EXPECT_NEAR(h.frequency, pitches[i], pitches[i] * 0.02);
        // Not shorter than the tone; longer only by GSM's padding to whole blocks, or by such
        // gaps.
        EXPECT_GT(h.seconds, 0.23);
        EXPECT_LT(h.seconds, 0.42);
    }
}

// A newer request cuts the older sound off as it starts: the old tone plays until the new one
// begins, is never heard together with it, and does not come back after it.
TEST_F(SoundPlayback, NewerRequestCutsOffTheOlderSound) {
    UsePrivateTheme(m_folder, true);
    constexpr double kOld = 600.0, kNew = 1000.0;
    ASSERT_TRUE(WriteToneWav(m_folder / "old.wav", WavEncoding::Pcm16, {kOld, 2.0, 44100, 1, 0.5}));
    ASSERT_TRUE(WriteToneWav(m_folder / "new.wav", WavEncoding::Pcm16, {kNew, 0.3, 44100, 1, 0.5}));
    const std::size_t start = m_recorder.Mark();
    Play(m_folder / "old.wav");
    Sleep(500);
    Play(m_folder / "new.wav");
    Sleep(1200);
    const std::vector<double> x = m_recorder.Samples();

    const std::size_t rate = MonitorRecorder::kRate, window = rate / 100; // 10 ms
    auto old = [&](std::size_t at) { return ToneAmplitude(x, at, at + window, kOld, rate); };
    auto young = [&](std::size_t at) { return ToneAmplitude(x, at, at + window, kNew, rate); };
    std::size_t oldOnset = x.size(), newOnset = x.size();
    for (std::size_t at = start; at + window < x.size() && newOnset == x.size(); at += window / 4) {
        if (oldOnset == x.size() && old(at) > 0.25)
            oldOnset = at;
        if (young(at) > 0.25)
            newOnset = at;
    }
    ASSERT_LT(oldOnset, x.size()) << "the older sound was never heard";
    ASSERT_LT(newOnset, x.size()) << "the newer sound was never heard";
    // The older sound played up to the newer one: about the 500 ms between the requests.
    EXPECT_NEAR(static_cast<double>(newOnset - oldOnset) / rate, 0.5, 0.05);
    EXPECT_GT(old(newOnset - 2 * window), 0.25);
    // From just after the newer onset on, the older tone is gone for good.
    for (std::size_t at = newOnset + window; at + window < x.size(); at += window / 2)
        ASSERT_LT(old(at), 0.02) << "older tone heard " << (at - newOnset) * 1000 / rate
                                 << " ms after the newer one started";
    const Heard h = Listen(x, newOnset, x.size());
    EXPECT_GT(h.seconds, 0.28);
    EXPECT_LT(h.seconds, 0.42);
    EXPECT_LT(Rms(x, newOnset + rate / 2, x.size()), 0.002);
}

// A missing file, a folder (what a key without a sound asks for) and a file that does not decode
// give the default sound; MessageBeep gives the exclamation; SND_NODEFAULT gives nothing; a name
// that matches only without regard to case finds its file.
TEST_F(SoundPlayback, FilesThatCannotPlayGiveTheDefaultSound) {
    UsePrivateTheme(m_folder, true);
    const std::string sounds = m_folder / "sounds";
    std::filesystem::create_directories(sounds);
    ASSERT_TRUE(WriteBytes(sounds + "/broken.wav", {'R', 'I', 'F', 'F', 1, 2, 3}));
    ASSERT_TRUE(WriteToneWav(sounds + "/a.wav", WavEncoding::Pcm16, {700.0, 0.25, 22050, 1, 0.5}));

    struct Case {
        const char* what;
        std::function<void()> request;
        double pitch; // 0: silence
    } const cases[] = {
        {"missing file", [&] { Play(sounds + "/takeoff.wav"); }, kDefaultPitch},
        {"sound folder", [&] { Play(sounds + "/"); }, kDefaultPitch},
        {"missing folder", [&] { Play(m_folder / "nosounds/A.wav"); }, kDefaultPitch},
        {"undecodable file", [&] { Play(sounds + "/broken.wav"); }, kDefaultPitch},
        {"exclamation beep", [] { MessageBeep(MB_ICONEXCLAMATION); }, kExclamationPitch},
        {"missing, no default",
         [&] { Play(sounds + "/takeoff.wav", SND_FILENAME | SND_ASYNC | SND_NODEFAULT); }, 0.0},
        {"other letter case", [&] { Play(sounds + "/A.wav"); }, 700.0},
    };
    std::vector<std::size_t> marks;
    for (const Case& c : cases) {
        marks.push_back(m_recorder.Mark());
        c.request();
        Sleep(450);
    }
    marks.push_back(m_recorder.Mark());
    const std::vector<double> x = m_recorder.Samples();
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(cases[i].what);
        const Heard h = Listen(x, marks[i], marks[i + 1]);
        if (cases[i].pitch == 0.0) {
            EXPECT_FALSE(h.heard);
            continue;
        }
        ASSERT_TRUE(h.heard);
        EXPECT_NEAR(h.frequency, cases[i].pitch, cases[i].pitch * 0.02);
    }
}

// Without a sound theme the built-in chime plays for a missing file, and the beep's chime for the
// exclamation: both are heard, short.
TEST_F(SoundPlayback, WithoutAThemeTheBuiltInChimesPlay) {
    UsePrivateTheme(m_folder, false);
    std::vector<std::size_t> marks{m_recorder.Mark()};
    Play(m_folder / "missing.wav");
    Sleep(600);
    marks.push_back(m_recorder.Mark());
    MessageBeep(MB_ICONEXCLAMATION);
    Sleep(600);
    marks.push_back(m_recorder.Mark());
    const std::vector<double> x = m_recorder.Samples();
    for (std::size_t i = 0; i < 2; ++i) {
        const Heard h = Listen(x, marks[i], marks[i + 1]);
        ASSERT_TRUE(h.heard) << i;
        EXPECT_GT(h.seconds, 0.1) << i;
        EXPECT_LT(h.seconds, 0.5) << i;
    }
}
