#include <gtest/gtest.h>
#include <sndfile.h>
#include <sys/stat.h>

#include <cmath>

#include "platform/sound/sound_decode.h"
#include "tests/audio/signal_analysis.h"
#include "tests/support/wav_fixtures.h"
#include "tests/unit/sound_test_folder.h"

using namespace signal_analysis;

namespace {

// The middle of a decoded sound, away from its ramps and the resampler's edges.
struct Middle {
    std::vector<double> left, right;
    std::size_t begin, end;
};

Middle MiddleOf(const SoundPcm& pcm) {
    Middle m{Channel(pcm.samples, 2, 0), Channel(pcm.samples, 2, 1), 0, 0};
    m.begin = m.left.size() / 4;
    m.end = m.left.size() * 3 / 4;
    return m;
}

} // namespace

// Every WAV encoding arrives in the output format at its pitch, length and level, in both
// channels. Lossy encodings keep the pitch but not every sample.
TEST(SoundDecode, EveryWavEncodingKeepsPitchLengthAndLevel) {
    SoundTestFolder folder;
    for (WavEncoding encoding : AllWavEncodings()) {
        SCOPED_TRACE(WavEncodingName(encoding));
        WavTone tone{1000.0, 0.5, 22050, 1, 0.5};
        if (encoding == WavEncoding::Gsm610)
            tone.sampleRate = 8000; // what GSM 6.10 is made for
        const std::string path = folder / (std::string(WavEncodingName(encoding)) + ".wav");
        ASSERT_TRUE(WriteToneWav(path, encoding, tone));

        const std::optional<SoundPcm> pcm = DecodeSoundFile(path);
        ASSERT_TRUE(pcm.has_value());
        // GSM 6.10 stores whole blocks of 320 samples, padded with silence.
        const bool gsm = encoding == WavEncoding::Gsm610;
        EXPECT_GE(pcm->seconds(), 0.49);
        EXPECT_LE(pcm->seconds(), gsm ? 0.58 : 0.51);
        const Middle m = MiddleOf(*pcm);
        EXPECT_NEAR(ZeroCrossingFrequency(m.left, m.begin, m.end, kSoundRate), 1000.0, 5.0);
        const double tolerance = gsm ? 0.2 : 0.03;
        EXPECT_NEAR(ToneAmplitude(m.left, m.begin, m.end, 1000.0, kSoundRate), 0.5, tolerance);
        EXPECT_EQ(m.left, m.right);
    }
}

// Any rate is converted to 48 kHz and any channel count to stereo, without changing the pitch or
// the length. Files wider than 7.1 keep their first two channels.
TEST(SoundDecode, AnyRateAndChannelCountBecomes48kHzStereo) {
    struct Case {
        int rate;
        int channels;
        double frequency;
    };
    const Case cases[] = {{8000, 1, 440.0},    {11025, 2, 700.0},  {22050, 3, 1200.0},
                          {44100, 2, 2000.0},  {48000, 1, 3000.0}, {96000, 6, 5000.0},
                          {192000, 2, 9000.0}, {16000, 10, 600.0}};
    SoundTestFolder folder;
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.rate << " Hz, " << c.channels << " channels");
        const std::string path = folder / "tone.wav";
        ASSERT_TRUE(
            WriteToneWav(path, WavEncoding::Pcm16, {c.frequency, 0.4, c.rate, c.channels, 0.4}));
        const std::optional<SoundPcm> pcm = DecodeSoundFile(path);
        ASSERT_TRUE(pcm.has_value());
        EXPECT_NEAR(pcm->seconds(), 0.4, 0.01);
        const Middle m = MiddleOf(*pcm);
        EXPECT_NEAR(ZeroCrossingFrequency(m.left, m.begin, m.end, kSoundRate), c.frequency,
                    c.frequency * 0.005);
        EXPECT_NEAR(ZeroCrossingFrequency(m.right, m.begin, m.end, kSoundRate), c.frequency,
                    c.frequency * 0.005);
        EXPECT_GT(ToneAmplitude(m.left, m.begin, m.end, c.frequency, kSoundRate), 0.2);
    }
}

// The desktop's theme sounds are Ogg Vorbis.
TEST(SoundDecode, OggVorbisDecodes) {
    SoundTestFolder folder;
    const std::string path = folder / "bell.oga";
    SF_INFO info{};
    info.samplerate = 44100;
    info.channels = 2;
    info.format = SF_FORMAT_OGG | SF_FORMAT_VORBIS;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    ASSERT_NE(file, nullptr);
    std::vector<float> samples(44100 / 5 * 2);
    for (std::size_t i = 0; i < samples.size(); ++i)
        samples[i] = 0.4f * static_cast<float>(std::sin(2.0 * 3.14159265358979 * 880.0 *
                                                        static_cast<double>(i / 2) / 44100.0));
    sf_writef_float(file, samples.data(), static_cast<sf_count_t>(samples.size() / 2));
    sf_close(file);

    const std::optional<SoundPcm> pcm = DecodeSoundFile(path);
    ASSERT_TRUE(pcm.has_value());
    EXPECT_NEAR(pcm->seconds(), 0.2, 0.01);
    const Middle m = MiddleOf(*pcm);
    EXPECT_NEAR(ZeroCrossingFrequency(m.left, m.begin, m.end, kSoundRate), 880.0, 5.0);
}

// Only regular files are opened: a folder (what a key without a sound asks for), a FIFO (whose
// open would wait for a writer for ever) and a device all fail at once.
TEST(SoundDecode, RefusesAnythingButARegularFile) {
    SoundTestFolder folder;
    const std::string fifo = folder / "pipe.wav";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    for (const std::string& path : {folder / "missing.wav", folder.path(), folder.path() + "/",
                                    fifo, std::string("/dev/zero"), std::string("")}) {
        SCOPED_TRACE(path);
        EXPECT_FALSE(DecodeSoundFile(path).has_value());
    }
}

// Broken and lying files fail or decode to what they really hold; none crashes, hangs or makes
// the decoder allocate what a header claims.
TEST(SoundDecode, HostileFilesFailOrDecodeWhatTheyHold) {
    SoundTestFolder folder;
    for (const NamedBytes& file : HostileWavFiles()) {
        SCOPED_TRACE(file.name);
        const std::string path = folder / (file.name + ".wav");
        ASSERT_TRUE(WriteBytes(path, file.bytes));
        const std::optional<SoundPcm> pcm = DecodeSoundFile(path);
        if (!pcm)
            continue;
        // Nothing here holds more than a second of sound at any rate the decoder accepts.
        EXPECT_LE(pcm->frames(), static_cast<std::size_t>(kSoundRate) * 5);
        EXPECT_LE(pcm->samples.capacity(), pcm->samples.size() * 2 + 4096);
    }
    // A header claiming 4 GB of data plays the 0.1 s the file has.
    const std::optional<SoundPcm> lying = DecodeSoundFile(folder / "sizes_claim_4_GB.wav");
    ASSERT_TRUE(lying.has_value());
    EXPECT_NEAR(lying->seconds(), 0.1, 0.005);
}

// A sound longer than the limit is cut off there, and a cancelled decode yields nothing.
TEST(SoundDecode, StopsAtTheFrameLimitAndWhenCancelled) {
    SoundTestFolder folder;
    const std::string path = folder / "long.wav";
    ASSERT_TRUE(WriteToneWav(path, WavEncoding::Pcm16, {500.0, 2.0, 44100, 2, 0.3}));

    SoundDecodeOptions limited;
    limited.maxFrames = 4800;
    const std::optional<SoundPcm> cut = DecodeSoundFile(path, limited);
    ASSERT_TRUE(cut.has_value());
    EXPECT_EQ(cut->frames(), 4800u);

    int asked = 0;
    SoundDecodeOptions cancelled;
    cancelled.cancelled = [&asked] { return ++asked > 2; };
    EXPECT_FALSE(DecodeSoundFile(path, cancelled).has_value());
    EXPECT_EQ(asked, 3);
}
