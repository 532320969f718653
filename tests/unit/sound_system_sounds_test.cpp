#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "platform/sound/sound_chime.h"
#include "platform/sound/sound_system_sounds.h"
#include "tests/audio/signal_analysis.h"
#include "tests/support/wav_fixtures.h"
#include "tests/unit/sound_test_folder.h"

using namespace signal_analysis;

namespace {

double PitchOf(const SoundPcm& pcm) {
    const std::vector<double> left = Channel(pcm.samples, 2, 0);
    return ZeroCrossingFrequency(left, left.size() / 4, left.size() * 3 / 4, kSoundRate);
}

// Points the XDG data folders at a private theme for the life of the object.
class PrivateTheme {
public:
    PrivateTheme() : m_stereo(m_folder / "share/sounds/freedesktop/stereo") {
        std::filesystem::create_directories(m_stereo);
        ::setenv("XDG_DATA_HOME", (m_folder / "home").c_str(), 1);
        ::setenv("XDG_DATA_DIRS", (m_folder / "share").c_str(), 1);
    }
    ~PrivateTheme() {
        ::unsetenv("XDG_DATA_HOME");
        ::unsetenv("XDG_DATA_DIRS");
    }
    std::string operator/(const std::string& name) const { return m_stereo + "/" + name; }

private:
    SoundTestFolder m_folder;
    std::string m_stereo;
};

} // namespace

// The theme's bell is the default sound and its dialog-warning the exclamation; a theme file
// that does not decode is passed over for the next one.
TEST(SystemSounds, TakesTheThemeSoundsThatDecode) {
    PrivateTheme theme;
    ASSERT_TRUE(WriteBytes(theme / "bell.oga", {'n', 'o', 't', ' ', 'o', 'g', 'g'}));
    ASSERT_TRUE(WriteToneWav(theme / "bell.wav", WavEncoding::Pcm16, {1500.0, 0.3, 44100, 2, 0.5}));
    ASSERT_TRUE(WriteToneWav(theme / "dialog-warning.wav", WavEncoding::Pcm16,
                             {1800.0, 0.3, 44100, 1, 0.5}));
    SystemSounds sounds;
    ASSERT_NE(sounds.Default(), nullptr);
    EXPECT_NEAR(PitchOf(*sounds.Default()), 1500.0, 10.0);
    ASSERT_NE(sounds.Exclamation(), nullptr);
    EXPECT_NEAR(PitchOf(*sounds.Exclamation()), 1800.0, 10.0);
    EXPECT_TRUE(sounds.Loaded());
}

// Without a theme the built-in chimes play: short, audible, and more than a single pure tone.
TEST(SystemSounds, FallsBackToBuiltInChimes) {
    PrivateTheme theme;
    SystemSounds sounds;
    for (const auto& [name, pcm, frequency] :
         {std::tuple{"default", sounds.Default(), 1046.5},
          std::tuple{"exclamation", sounds.Exclamation(), 880.0}}) {
        SCOPED_TRACE(name);
        ASSERT_NE(pcm, nullptr);
        EXPECT_GT(pcm->seconds(), 0.2);
        EXPECT_LT(pcm->seconds(), 0.6);
        const std::vector<double> left = Channel(pcm->samples, 2, 0);
        const std::size_t attack = kSoundRate / 20; // the first 50 ms
        EXPECT_GT(ToneAmplitude(left, 0, attack, frequency, kSoundRate), 0.1);
        EXPECT_GT(ToneAmplitude(left, 0, attack, frequency * 2.0, kSoundRate) +
                      ToneAmplitude(left, 0, attack, frequency * 2.76, kSoundRate),
                  0.03);
        // It dies away: the last tenth is far quieter than the first.
        EXPECT_LT(Rms(left, left.size() * 9 / 10, left.size()), Rms(left, 0, left.size() / 10) / 5);
    }
}
