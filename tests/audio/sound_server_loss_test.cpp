// The sound service without an audio server, with one that hangs, and with one that dies and
// comes back. The caller must never wait, the program must live on, say at most one line about
// it, and play again once a server is there.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>

#include <csignal>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "platform/sound/sound.h"
#include "platform/sound/sound_service.h"
#include "tests/audio/audio_test_support.h"
#include "tests/audio/private_pulse_server.h"

using namespace audio_test;

namespace {

using Clock = std::chrono::steady_clock;

double MillisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Sends this process's stderr to a file while it lives, to count the lines written there.
class CapturedStderr {
public:
    explicit CapturedStderr(std::string path) : m_path(std::move(path)) {
        std::fflush(stderr);
        m_saved = ::dup(STDERR_FILENO);
        const int fd = ::open(m_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        ::dup2(fd, STDERR_FILENO);
        ::close(fd);
    }
    ~CapturedStderr() { Restore(); }
    std::string Restore() {
        if (m_saved >= 0) {
            std::fflush(stderr);
            ::dup2(m_saved, STDERR_FILENO);
            ::close(m_saved);
            m_saved = -1;
        }
        std::ifstream in(m_path);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

private:
    std::string m_path;
    int m_saved = -1;
};

long Lines(const std::string& text) {
    return std::count(text.begin(), text.end(), '\n');
}

// Ask for sounds of every kind, each of which must return at once.
void RequestEverything(const SoundTestFolder& folder) {
    const std::string tone = folder / "tone.wav";
    for (int i = 0; i < 5; ++i) {
        auto start = Clock::now();
        PlaySoundA(tone.c_str(), nullptr, SND_FILENAME | SND_ASYNC);
        // Generous bounds: they catch a caller waiting on the server, not a slow machine.
        EXPECT_LT(MillisecondsSince(start), 50.0);
        start = Clock::now();
        PlaySoundA((folder / "missing.wav").c_str(), nullptr, SND_FILENAME | SND_ASYNC);
        EXPECT_LT(MillisecondsSince(start), 50.0);
        start = Clock::now();
        MessageBeep(MB_ICONEXCLAMATION);
        EXPECT_LT(MillisecondsSince(start), 50.0);
        Sleep(20);
    }
}

class SoundServerLoss : public ::testing::Test {
protected:
    void SetUp() override {
        ShutdownSoundService();
        UsePrivateTheme(m_folder, true);
        ASSERT_TRUE(
            WriteToneWav(m_folder / "tone.wav", WavEncoding::Pcm16, {800.0, 0.3, 44100, 1, 0.5}));
    }
    void TearDown() override { ShutdownSoundService(); }

    SoundTestFolder m_folder;
};

} // namespace

// No server at all: every request returns at once, the program goes on, one line at most says
// that sounds are off, and the service shuts down cleanly.
TEST_F(SoundServerLoss, WithoutAServerRequestsReturnAtOnceAndQuietly) {
    ::setenv("PULSE_SERVER", ("unix:" + (m_folder / "no-server")).c_str(), 1);
    CapturedStderr captured(m_folder / "stderr.txt");
    RequestEverything(m_folder);
    Sleep(300);
    RequestEverything(m_folder);
    const auto start = Clock::now();
    ShutdownSoundService();
    EXPECT_LT(MillisecondsSince(start), 1000.0);
    const std::string text = captured.Restore();
    EXPECT_LE(Lines(text), 1) << text;
}

// A server that accepts the connection and never answers holds the worker, never the caller; the
// service gives up waiting for it at shutdown and the process still ends normally. Run in a child
// process: the worker stays stuck in the audio library until the connection times out.
TEST_F(SoundServerLoss, AHangingServerNeverHoldsTheCaller) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const std::string socketPath = m_folder / "hung.sock";
    const int listener = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(listener, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    ASSERT_LT(socketPath.size(), sizeof address.sun_path);
    std::copy(socketPath.begin(), socketPath.end(), address.sun_path);
    ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(::listen(listener, 16), 0);
    ::setenv("PULSE_SERVER", ("unix:" + socketPath).c_str(), 1);

    EXPECT_EXIT(
        {
            RequestEverything(m_folder);
            const auto start = Clock::now();
            ShutdownSoundService();
            const double waited = MillisecondsSince(start);
            // exit() skips the fixture's destructor: remove the child's folder here.
            std::error_code ignored;
            std::filesystem::remove_all(m_folder.path(), ignored);
            std::exit(::testing::Test::HasFailure() || waited > 5000.0 ? 1 : 0);
        },
        ::testing::ExitedWithCode(0), "");
    ::close(listener);
}

// The server is killed while the program runs, then started again: requests in between return at
// once and play nothing, and the first request after the server is back is heard.
TEST_F(SoundServerLoss, SoundComesBackWhenTheServerDoes) {
    PrivatePulseServer server(m_folder.path());
    ASSERT_TRUE(server.Start());
    ::setenv("PULSE_SERVER", server.Address().c_str(), 1);
    ASSERT_TRUE(
        WriteToneWav(m_folder / "before.wav", WavEncoding::Pcm16, {600.0, 0.3, 44100, 1, 0.5}));
    ASSERT_TRUE(
        WriteToneWav(m_folder / "after.wav", WavEncoding::Pcm16, {1000.0, 0.3, 44100, 1, 0.5}));
    CapturedStderr captured(m_folder / "stderr.txt");

    {
        MonitorRecorder recorder("pibo.monitor", server.Address());
        ASSERT_TRUE(recorder.Start());
        ASSERT_TRUE(recorder.WaitForSeconds(2.0));
        const std::size_t mark = recorder.Mark();
        PlaySoundA((m_folder / "before.wav").c_str(), nullptr, SND_FILENAME | SND_ASYNC);
        Sleep(600);
        const Heard h = Listen(recorder.Samples(), mark, recorder.Mark());
        ASSERT_TRUE(h.heard);
        EXPECT_NEAR(h.frequency, 600.0, 12.0);
        recorder.Stop();
    }

    server.Kill(SIGKILL);
    RequestEverything(m_folder); // the 800 Hz tone: must not turn up later
    Sleep(300);

    ASSERT_TRUE(server.Start());
    MonitorRecorder recorder("pibo.monitor", server.Address());
    ASSERT_TRUE(recorder.Start());
    // Silent requests while the recording settles keep the service busy, so that it cannot
    // recover merely by closing an idle device.
    while (recorder.Mark() < 2 * MonitorRecorder::kRate) {
        PlaySoundA((m_folder / "missing.wav").c_str(), nullptr,
                   SND_FILENAME | SND_ASYNC | SND_NODEFAULT);
        Sleep(250);
    }
    const std::size_t mark = recorder.Mark();
    PlaySoundA((m_folder / "after.wav").c_str(), nullptr, SND_FILENAME | SND_ASYNC);
    Sleep(600);
    const std::vector<double> x = recorder.Samples();
    EXPECT_FALSE(Listen(x, 0, mark).heard) << "a request made while the server was away played";
    const Heard h = Listen(x, mark, x.size());
    ASSERT_TRUE(h.heard) << "no sound after the server came back";
    EXPECT_NEAR(h.frequency, 1000.0, 20.0);

    ShutdownSoundService();
    const std::string text = captured.Restore();
    EXPECT_LE(Lines(text), 1) << text;
}
