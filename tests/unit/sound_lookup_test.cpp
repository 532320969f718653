#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <fstream>

#include "platform/sound/sound_file_lookup.h"
#include "platform/sound/sound_theme.h"
#include "tests/unit/sound_test_folder.h"

namespace {

void Touch(const std::string& path) {
    std::ofstream(path) << "x";
}

// Sets an environment variable for the life of the object.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::string& value) : m_name(name) {
        if (const char* old = std::getenv(name))
            m_old = old, m_had = true;
        ::setenv(name, value.c_str(), 1);
    }
    ~ScopedEnv() {
        if (m_had)
            ::setenv(m_name, m_old.c_str(), 1);
        else
            ::unsetenv(m_name);
    }

private:
    const char* m_name;
    std::string m_old;
    bool m_had = false;
};

} // namespace

// An exact name wins; without one, a name differing only in letter case is taken (the first in
// byte order when there are several); otherwise the path comes back unchanged.
TEST(SoundFileLookup, ExactNameFirstThenIgnoringCase) {
    SoundTestFolder folder;
    Touch(folder / "a.wav");
    Touch(folder / "B.WAV");
    Touch(folder / "b.wav");
    Touch(folder / "Space.Wav");
    ::mkdir((folder / "Sub").c_str(), 0700);

    struct Case {
        std::string asked, found;
    } cases[] = {
        {folder / "a.wav", folder / "a.wav"},
        {folder / "A.wav", folder / "a.wav"},
        {folder / "b.wav", folder / "b.wav"},
        {folder / "b.Wav", folder / "B.WAV"},
        {folder / "space.wav", folder / "Space.Wav"},
        {folder / "sub", folder / "Sub"},
        {folder / "c.wav", folder / "c.wav"},
        {folder / "nofolder/A.wav", folder / "nofolder/A.wav"},
        {folder.path() + "/", folder.path() + "/"},
        {folder.path() + "//a.wav", folder.path() + "//a.wav"},
        {folder.path() + "//A.WAV", folder.path() + "//a.wav"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FindSoundFile(c.asked), c.found) << c.asked;
}

// Theme sounds are looked for in the user's data folder first, then in the system's, in the
// order given, and in each as .oga, .ogg, then .wav; relative folders do not count.
TEST(SoundTheme, SearchesTheXdgDataFoldersInOrder) {
    SoundTestFolder folder;
    const std::string home = folder / "home", first = folder / "first", second = folder / "second";
    for (const std::string& base : {home, first, second})
        std::filesystem::create_directories(base + "/sounds/freedesktop/stereo");
    Touch(home + "/sounds/freedesktop/stereo/bell.wav");
    Touch(first + "/sounds/freedesktop/stereo/bell.ogg");
    Touch(first + "/sounds/freedesktop/stereo/bell.oga");
    Touch(second + "/sounds/freedesktop/stereo/bell.oga");
    Touch(second + "/sounds/freedesktop/stereo/dialog-warning.oga");

    ScopedEnv dataHome("XDG_DATA_HOME", home);
    ScopedEnv dataDirs("XDG_DATA_DIRS", "relative/share:" + first + "::" + second);
    const std::string stereo = "/sounds/freedesktop/stereo/";
    EXPECT_EQ(
        FindThemeSounds("bell"),
        (std::vector<std::string>{home + stereo + "bell.wav", first + stereo + "bell.oga",
                                  first + stereo + "bell.ogg", second + stereo + "bell.oga"}));
    EXPECT_EQ(FindThemeSounds("dialog-warning"),
              std::vector<std::string>{second + stereo + "dialog-warning.oga"});
    EXPECT_TRUE(FindThemeSounds("no-such-sound").empty());
}
