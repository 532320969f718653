// The per-user settings store: the keys made at start-up, the value read and written back, the
// unregistration, and the faults that must leave the program running and the store untouched.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "platform/framework/command_line.h"
#include "platform/framework/win_app.h"
#include "platform/settings/ini_text.h"
#include "platform/settings/profile_store.h"

namespace {

namespace fs = std::filesystem;
using pibo::settings::ProfileStore;

constexpr const char* kCompany = "Local AppWizard-Generated Applications";
constexpr const char* kApp = "Pibo's Multi-Media Application 1.0";

std::string Read(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void Write(const fs::path& p, const std::string& text) {
    fs::create_directories(p.parent_path());
    std::ofstream(p, std::ios::binary) << text;
}

class SettingsStore : public testing::Test {
protected:
    void SetUp() override {
        m_root = fs::temp_directory_path() / ("pibo-settings-" + std::to_string(::getpid()));
        fs::remove_all(m_root);
        fs::create_directories(m_root);
    }
    void TearDown() override {
        fs::permissions(m_root, fs::perms::owner_all, fs::perm_options::add);
        fs::remove_all(m_root);
    }
    fs::path File() const { return m_root / kCompany / (std::string(kApp) + ".conf"); }
    UINT Read() {
        return ProfileStore(m_root).GetProfileInt(kCompany, kApp, "Settings", "PreviewPages", 0);
    }
    BOOL WriteValue(UINT n) {
        return ProfileStore(m_root).WriteProfileInt(kCompany, kApp, "Settings", "PreviewPages", n);
    }
    // Nothing but the named files is in the folder (no temporary files left behind).
    std::vector<std::string> Listing(const fs::path& dir) {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(dir))
            names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    fs::path m_root;
};

TEST_F(SettingsStore, ReadingMakesTheKeysDownToTheSectionAndAMissingValueIsZero) {
    EXPECT_EQ(Read(), 0u);
    EXPECT_EQ(::Read(File()), "[Settings]\n");
    EXPECT_EQ(Read(), 0u);
    EXPECT_EQ(::Read(File()), "[Settings]\n");
}

TEST_F(SettingsStore, AValueIsReadAndWrittenBackUnchanged) {
    Write(File(), "[Settings]\nPreviewPages=5\n");
    EXPECT_EQ(Read(), 5u);
    EXPECT_TRUE(WriteValue(5));
    EXPECT_EQ(::Read(File()), "[Settings]\nPreviewPages=5\n");
    EXPECT_TRUE(WriteValue(7));
    EXPECT_EQ(Read(), 7u);
    EXPECT_EQ(Listing(File().parent_path()), std::vector<std::string>{File().filename().string()});
}

TEST_F(SettingsStore, AWriteKeepsEveryOtherLineByteForByte) {
    const std::string before =
        "; written by hand\r\n[Other]\r\nPreviewPages=1\r\nx = y\r\n[settings]\r\n"
        "  previewpages = 2  \r\nkeep=me\r\n[Settings]\r\nPreviewPages=99\r\n???\r\n";
    Write(File(), before);
    EXPECT_EQ(Read(), 2u); // names compare without case; the first section and entry count
    EXPECT_TRUE(WriteValue(3));
    std::string after = before;
    after.replace(after.find("  previewpages = 2  "), 20, "previewpages=3");
    EXPECT_EQ(::Read(File()), after);
}

TEST_F(SettingsStore, AMissingSectionOrEntryIsAddedWithoutTouchingTheRest) {
    Write(File(), "[Other]\na=1");
    EXPECT_EQ(Read(), 0u);
    EXPECT_EQ(::Read(File()), "[Other]\na=1\n[Settings]\n");
    EXPECT_TRUE(WriteValue(4));
    EXPECT_EQ(::Read(File()), "[Other]\na=1\n[Settings]\nPreviewPages=4\n");
}

TEST_F(SettingsStore, FaultsReadAsZeroAndLeaveTheStoreAsItWas) {
    struct Fault {
        const char* name;
        std::function<void(const fs::path& root, const fs::path& file)> make;
    };
    const std::vector<Fault> faults = {
        {"the file is not text",
         [](const fs::path&, const fs::path& file) {
             Write(file, std::string("[Settings]\nPreviewPages=5\n\0\x01junk", 33));
         }},
        {"the value is not a number",
         [](const fs::path&, const fs::path& file) {
             Write(file, "[Settings]\nPreviewPages=five\n");
         }},
        {"the value is negative",
         [](const fs::path&, const fs::path& file) {
             Write(file, "[Settings]\nPreviewPages=-5\n");
         }},
        {"the value is too large",
         [](const fs::path&, const fs::path& file) {
             Write(file, "[Settings]\nPreviewPages=4294967296\n");
         }},
        {"the key is a folder",
         [](const fs::path&, const fs::path& file) {
             fs::create_directories(file);
             Write(file / "inside", "kept");
         }},
        {"the company key is a file",
         [](const fs::path&, const fs::path& file) { Write(file.parent_path(), "not a folder"); }},
        {"the key is a link to nowhere",
         [](const fs::path&, const fs::path& file) {
             fs::create_directories(file.parent_path());
             fs::create_symlink("/nonexistent/pibo.conf", file);
         }},
    };
    for (const Fault& fault : faults) {
        SCOPED_TRACE(fault.name);
        fs::remove_all(m_root);
        fs::create_directories(m_root);
        fault.make(m_root, File());
        auto snapshot = [&] {
            std::string all;
            for (const auto& e : fs::recursive_directory_iterator(m_root)) {
                all += e.path().string() + "\n";
                if (e.is_regular_file() && !e.is_symlink())
                    all += ::Read(e.path()) + "\n";
            }
            return all;
        }();
        EXPECT_EQ(Read(), 0u);
        // A zero is never written back; a nonzero value cannot be put into a broken store.
        ProfileStore(m_root).WriteProfileInt(kCompany, kApp, "Settings", "PreviewPages", 6);
        std::string now;
        for (const auto& e : fs::recursive_directory_iterator(m_root)) {
            now += e.path().string() + "\n";
            if (e.is_regular_file() && !e.is_symlink())
                now += ::Read(e.path()) + "\n";
        }
        if (std::string(fault.name).find("value") == std::string::npos) {
            EXPECT_EQ(now, snapshot);
        }
    }
}

TEST_F(SettingsStore, AReadOnlyStoreReadsAsZeroAndIsNotChanged) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "permissions do not hold for root";
    Write(File(), "[Settings]\nPreviewPages=5\n");
    fs::permissions(File(), fs::perms::owner_read);
    EXPECT_EQ(Read(), 0u);
    EXPECT_FALSE(WriteValue(6));
    EXPECT_EQ(::Read(File()), "[Settings]\nPreviewPages=5\n");
    fs::permissions(File(), fs::perms::owner_read | fs::perms::owner_write);

    fs::remove_all(m_root / kCompany);
    fs::permissions(m_root, fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_EQ(Read(), 0u);
    EXPECT_FALSE(fs::exists(m_root / kCompany));
}

TEST_F(SettingsStore, ARootThatIsAFileReadsAsZero) {
    fs::remove_all(m_root);
    Write(m_root, "a file");
    EXPECT_EQ(Read(), 0u);
    EXPECT_EQ(::Read(m_root), "a file");
    fs::remove(m_root);
    fs::create_directories(m_root);
}

TEST_F(SettingsStore, UnregisteringRemovesTheKeyAndAnEmptyCompanyKey) {
    Write(File(), "[Settings]\nPreviewPages=5\n");
    EXPECT_TRUE(ProfileStore(m_root).DeleteAppKey(kCompany, kApp));
    EXPECT_FALSE(fs::exists(m_root / kCompany));

    // Another program's key keeps the company key.
    Write(File(), "[Settings]\n");
    Write(m_root / kCompany / "Other Program.conf", "[Settings]\n");
    EXPECT_TRUE(ProfileStore(m_root).DeleteAppKey(kCompany, kApp));
    EXPECT_FALSE(fs::exists(File()));
    EXPECT_TRUE(fs::exists(m_root / kCompany / "Other Program.conf"));

    // Nothing to remove is no failure.
    EXPECT_TRUE(ProfileStore(m_root).DeleteAppKey(kCompany, kApp));
    // Something that is not a key file is left alone, and the removal reports it.
    fs::create_directories(File());
    EXPECT_FALSE(ProfileStore(m_root).DeleteAppKey(kCompany, kApp));
    EXPECT_TRUE(fs::is_directory(File()));
}

TEST_F(SettingsStore, AWriteThroughALinkReplacesTheTargetAndKeepsTheLink) {
    const fs::path target = m_root / "real.conf";
    Write(target, "[Settings]\nPreviewPages=1\n");
    fs::create_directories(File().parent_path());
    fs::create_symlink(target, File());
    EXPECT_EQ(Read(), 1u);
    EXPECT_TRUE(WriteValue(2));
    EXPECT_TRUE(fs::is_symlink(File()));
    EXPECT_EQ(::Read(target), "[Settings]\nPreviewPages=2\n");
}

// The application's use of the store: read at start-up, written back at exit only when nonzero,
// not written after an unregistration.
TEST_F(SettingsStore, TheApplicationWritesBackANonzeroValueOnly) {
    auto run = [&](auto&& between) {
        CWinApp app(kApp);
        app.SetProfileStore(std::make_unique<ProfileStore>(m_root));
        app.SetRegistryKey(kCompany);
        app.LoadStdProfileSettings(0);
        between(app);
        app.ExitInstance();
        return app.m_nNumPreviewPages;
    };
    EXPECT_EQ(run([](CWinApp&) {}), 0u);
    EXPECT_EQ(::Read(File()), "[Settings]\n");

    Write(File(), "[Settings]\nPreviewPages=5\n");
    EXPECT_EQ(run([&](CWinApp&) { Write(File(), "[Settings]\nPreviewPages=8\n"); }), 5u);
    EXPECT_EQ(::Read(File()), "[Settings]\nPreviewPages=5\n");

    EXPECT_EQ(run([](CWinApp& app) {
                  CCommandLineInfo info;
                  info.m_nShellCommand = CCommandLineInfo::AppUnregister;
                  info.m_bRunEmbedded = TRUE; // no message box
                  EXPECT_FALSE(app.ProcessShellCommand(info));
              }),
              5u);
    EXPECT_FALSE(fs::exists(File()));
    EXPECT_FALSE(fs::exists(m_root / kCompany));
}

TEST(SettingsStoreRoot, XdgConfigHomeWhenAbsoluteElseHomeConfig) {
    const char* savedXdg = std::getenv("XDG_CONFIG_HOME");
    const std::string saved = savedXdg ? savedXdg : "";
    const std::string savedHome = std::getenv("HOME") ? std::getenv("HOME") : "";
    ::setenv("XDG_CONFIG_HOME", "/somewhere/config", 1);
    EXPECT_EQ(ProfileStore::DefaultRoot(), fs::path("/somewhere/config"));
    ::setenv("HOME", "/home/ann", 1);
    ::setenv("XDG_CONFIG_HOME", "relative/config", 1);
    EXPECT_EQ(ProfileStore::DefaultRoot(), fs::path("/home/ann/.config"));
    ::setenv("XDG_CONFIG_HOME", "", 1);
    EXPECT_EQ(ProfileStore::DefaultRoot(), fs::path("/home/ann/.config"));
    ::setenv("HOME", savedHome.c_str(), 1);
    if (savedXdg)
        ::setenv("XDG_CONFIG_HOME", saved.c_str(), 1);
    else
        ::unsetenv("XDG_CONFIG_HOME");
}

TEST(SettingsText, Numbers) {
    using pibo::settings::ParseNumber;
    EXPECT_EQ(ParseNumber(" 42 "), 42u);
    EXPECT_EQ(ParseNumber("0"), 0u);
    EXPECT_EQ(ParseNumber("4294967295"), 4294967295u);
    for (const char* bad : {"", "-1", "+1", "0x10", "1e3", "4294967296", "99999999999", "1 2"})
        EXPECT_FALSE(ParseNumber(bad).has_value()) << bad;
}

} // namespace
