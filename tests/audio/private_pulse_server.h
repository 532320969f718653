// A PulseAudio server of a test's own, with a 48 kHz null sink "pibo" like the one scripts/test
// starts, on a socket in a private folder, so that a test can kill it and start it again without
// disturbing anything else. Only the process started here is ever killed, by its id.
#pragma once

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

class PrivatePulseServer {
public:
    // `folder` must exist and be private to the test; the server keeps its socket and state there.
    explicit PrivatePulseServer(std::string folder) : m_folder(std::move(folder)) {}
    ~PrivatePulseServer() { Kill(SIGTERM); }
    PrivatePulseServer(const PrivatePulseServer&) = delete;
    PrivatePulseServer& operator=(const PrivatePulseServer&) = delete;

    std::string Address() const { return "unix:" + m_folder + "/runtime/pulse/native"; }

    // Starts the server and waits until its sink is ready.
    bool Start() {
        const std::string runtime = m_folder + "/runtime", home = m_folder + "/home";
        ::mkdir(runtime.c_str(), 0700);
        ::mkdir(home.c_str(), 0700);
        std::vector<std::string> env = {"XDG_RUNTIME_DIR=" + runtime, "HOME=" + home,
                                        "PATH=/usr/bin:/bin"};
        std::vector<std::string> args = {
            "pulseaudio",
            "-n",
            "--daemonize=no",
            "--exit-idle-time=-1",
            "--disallow-exit",
            "--use-pid-file=no",
            "--realtime=no",
            "--high-priority=no",
            "--log-target=stderr",
            "--load=module-native-protocol-unix",
            "--load=module-null-sink sink_name=pibo rate=48000 format=s16le channels=2"};
        m_pid = Spawn(args, env, m_folder + "/pulse.log");
        if (m_pid <= 0)
            return false;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (std::chrono::steady_clock::now() < deadline) {
            if (Run({"pactl", "--server=" + Address(), "set-default-sink", "pibo"}))
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return false;
    }

    void Kill(int signal) {
        if (m_pid <= 0)
            return;
        ::kill(m_pid, signal);
        int status = 0;
        ::waitpid(m_pid, &status, 0);
        m_pid = -1;
    }

private:
    static pid_t Spawn(std::vector<std::string> args, std::vector<std::string> env,
                       const std::string& log) {
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, log.c_str(),
                                         O_WRONLY | O_CREAT | O_APPEND, 0600);
        std::vector<char*> argv, envp;
        for (std::string& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        for (std::string& e : env)
            envp.push_back(e.data());
        envp.push_back(nullptr);
        pid_t pid = -1;
        const int rc = ::posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(),
                                      env.empty() ? environ : envp.data());
        posix_spawn_file_actions_destroy(&actions);
        return rc == 0 ? pid : -1;
    }

    // Runs a command to its end; true when it succeeded.
    static bool Run(std::vector<std::string> args) {
        const pid_t pid = Spawn(std::move(args), {}, "/dev/null");
        if (pid <= 0)
            return false;
        int status = 0;
        ::waitpid(pid, &status, 0);
        return WIFEXITED(status) && WEXITSTATUS(status) == 0;
    }

    std::string m_folder;
    pid_t m_pid = -1;
};
