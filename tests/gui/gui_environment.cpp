// The Qt application the headless GUI tests run in (Qt's offscreen platform), made before the
// first test, with a private configuration folder so that nothing a test does reaches the
// user's.
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <unistd.h>

#include <QApplication>
#include <gtest/gtest.h>

#include "platform/qt/application.h"
#include "platform/sound/sound_service.h"

namespace {

class QtEnvironment : public testing::Environment {
public:
    void SetUp() override {
        m_config = std::filesystem::temp_directory_path() /
                   ("pibo-gui-config-" + std::to_string(::getpid()));
        std::filesystem::create_directories(m_config);
        ::setenv("XDG_CONFIG_HOME", m_config.c_str(), 1);
        ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
        m_app = std::make_unique<QApplication>(m_argc, m_argv);
        pibo::qt::ConfigureApplication();
    }
    void TearDown() override {
        // The audio client keeps files of its own in the configuration folder.
        ShutdownSoundService();
        m_app.reset();
        std::error_code ec;
        std::filesystem::remove_all(m_config, ec);
    }

private:
    int m_argc = 1;
    char m_name[16] = "pibo_gui_tests";
    char* m_argv[2] = {m_name, nullptr};
    std::unique_ptr<QApplication> m_app;
    std::filesystem::path m_config;
};

[[maybe_unused]] testing::Environment* const g_env =
    testing::AddGlobalTestEnvironment(new QtEnvironment);

} // namespace
