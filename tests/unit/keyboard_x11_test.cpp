// The X11 side of the keyboard translation against a real X server: a private Xvfb started for
// these tests, so that changing its layout and pressing its keys disturbs nobody. Skipped where
// Xvfb, xdotool or setxkbmap is missing.
#include <gtest/gtest.h>

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/keysym.h>

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

#include "platform/qt/x11_keyboard.h"

using pibo::qt::X11Keyboard;

namespace {

bool HaveProgram(const char* name) {
    return std::system((std::string("command -v ") + name + " >/dev/null 2>&1").c_str()) == 0;
}

class PrivateXServer {
public:
    bool start() {
        int fds[2];
        if (pipe(fds) != 0)
            return false;
        // -noreset: otherwise the server resets whenever its last client goes, and refuses
        // connections for a moment.
        m_pid = fork();
        if (m_pid == 0) {
            close(fds[0]);
            const std::string fd = std::to_string(fds[1]);
            execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "320x240x24",
                   "-nolisten", "tcp", "-noreset", static_cast<char*>(nullptr));
            _exit(127);
        }
        close(fds[1]);
        if (m_pid < 0) {
            close(fds[0]);
            return false;
        }
        std::string number;
        pollfd p{fds[0], POLLIN, 0};
        char c = 0;
        while (poll(&p, 1, 10000) > 0 && read(fds[0], &c, 1) == 1 && c != '\n')
            number += c;
        close(fds[0]);
        if (number.empty())
            return false;
        m_display = ":" + number;
        return true;
    }
    void stop() {
        if (m_pid > 0) {
            kill(m_pid, SIGTERM);
            waitpid(m_pid, nullptr, 0);
            m_pid = -1;
        }
    }
    const std::string& display() const { return m_display; }
    // Runs an X client program on this display.
    bool run(const std::string& command) const {
        return std::system(("DISPLAY=" + m_display + " " + command + " >/dev/null 2>&1").c_str()) ==
               0;
    }

private:
    pid_t m_pid = -1;
    std::string m_display;
};

class KeyboardX11 : public testing::Test {
protected:
    static void SetUpTestSuite() {
        if (!HaveProgram("Xvfb") || !HaveProgram("xdotool") || !HaveProgram("setxkbmap"))
            return;
        s_server = new PrivateXServer;
        if (!s_server->start()) {
            delete s_server;
            s_server = nullptr;
        }
    }
    static void TearDownTestSuite() {
        if (s_server != nullptr)
            s_server->stop();
        delete s_server;
        s_server = nullptr;
    }
    void SetUp() override {
        if (s_server == nullptr)
            GTEST_SKIP() << "no private X server (Xvfb, xdotool and setxkbmap are needed)";
        ASSERT_TRUE(s_server->run("setxkbmap us"));
        m_display = XOpenDisplay(s_server->display().c_str());
        ASSERT_NE(m_display, nullptr);
    }
    void TearDown() override {
        if (m_display != nullptr)
            XCloseDisplay(m_display);
    }

    static PrivateXServer* s_server;
    Display* m_display = nullptr;
};

PrivateXServer* KeyboardX11::s_server = nullptr;

constexpr unsigned int kKeycodeQ = 24;
constexpr unsigned int kKeycodeA = 38;

} // namespace

TEST_F(KeyboardX11, LevelOneSymbolsFollowTheLayoutAndItsGroups) {
    X11Keyboard keyboard(m_display);
    EXPECT_EQ(keyboard.levelOneKeysym(kKeycodeA, 0), static_cast<unsigned int>(XK_a));
    EXPECT_EQ(keyboard.levelOneKeysym(kKeycodeQ, 0), static_cast<unsigned int>(XK_q));
    // One group only: the other groups wrap round to it.
    EXPECT_EQ(keyboard.levelOneKeysym(kKeycodeA, 1), static_cast<unsigned int>(XK_a));
    EXPECT_EQ(keyboard.levelOneKeysym(0, 0), 0u);
    EXPECT_EQ(keyboard.levelOneKeysym(300, 0), 0u);

    // The cached keymap stays until the server announces a new one.
    ASSERT_TRUE(s_server->run("setxkbmap fr"));
    XSync(m_display, False);
    keyboard.keymapChanged();
    EXPECT_EQ(keyboard.levelOneKeysym(kKeycodeQ, 0), static_cast<unsigned int>(XK_a));
    EXPECT_EQ(keyboard.levelOneKeysym(kKeycodeA, 0), static_cast<unsigned int>(XK_q));

    ASSERT_TRUE(s_server->run("setxkbmap us,ru"));
    XSync(m_display, False);
    keyboard.keymapChanged();
    EXPECT_EQ(keyboard.levelOneKeysym(kKeycodeA, 0), static_cast<unsigned int>(XK_a));
    EXPECT_EQ(keyboard.levelOneKeysym(kKeycodeA, 1), static_cast<unsigned int>(XK_Cyrillic_ef));

    // The same symbols Xlib itself reads, for every key and group.
    for (unsigned int kc = 8; kc < 256; ++kc) {
        for (unsigned int group = 0; group < 2; ++group) {
            const KeySym own =
                XkbKeycodeToKeysym(m_display, static_cast<KeyCode>(kc), static_cast<int>(group), 0);
            if (own != NoSymbol) {
                EXPECT_EQ(keyboard.levelOneKeysym(kc, group), own) << kc << " group " << group;
            }
        }
    }
}

TEST_F(KeyboardX11, HeldKeyRepeatsAsPressesOnlyAndTheServerKnowsItIsDown) {
    X11Keyboard keyboard(m_display);
    ASSERT_TRUE(keyboard.detectableAutoRepeat());

    const Window window =
        XCreateSimpleWindow(m_display, DefaultRootWindow(m_display), 0, 0, 100, 100, 0, 0, 0);
    XSelectInput(m_display, window, KeyPressMask | KeyReleaseMask | FocusChangeMask);
    XMapWindow(m_display, window);
    XSync(m_display, False);
    XSetInputFocus(m_display, window, RevertToParent, CurrentTime);
    XSync(m_display, False);

    EXPECT_FALSE(keyboard.isKeyDown(kKeycodeA));
    ASSERT_TRUE(s_server->run("xdotool keydown a"));
    EXPECT_TRUE(keyboard.isKeyDown(kKeycodeA));
    // Longer than the server's auto-repeat delay, so that the key repeats a few times.
    std::this_thread::sleep_for(std::chrono::milliseconds(900));
    EXPECT_TRUE(keyboard.isKeyDown(kKeycodeA));
    ASSERT_TRUE(s_server->run("xdotool keyup a"));
    EXPECT_FALSE(keyboard.isKeyDown(kKeycodeA));
    XSync(m_display, False);

    int presses = 0;
    int releases = 0;
    while (XPending(m_display) > 0) {
        XEvent event;
        XNextEvent(m_display, &event);
        if (event.type == KeyPress && event.xkey.keycode == kKeycodeA)
            ++presses;
        if (event.type == KeyRelease && event.xkey.keycode == kKeycodeA)
            ++releases;
    }
    EXPECT_GT(presses, 1) << "the key should have repeated";
    EXPECT_EQ(releases, 1);
    XDestroyWindow(m_display, window);
}
