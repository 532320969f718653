#include "platform/sound/sound_theme.h"

#include <sys/stat.h>

#include <cstdlib>

namespace {

std::string Env(const char* name) {
    const char* v = std::getenv(name);
    return v ? v : "";
}

std::vector<std::string> DataDirs() {
    std::vector<std::string> dirs;
    std::string home = Env("XDG_DATA_HOME");
    if (home.empty() && !Env("HOME").empty())
        home = Env("HOME") + "/.local/share";
    dirs.push_back(home);
    std::string list = Env("XDG_DATA_DIRS");
    if (list.empty())
        list = "/usr/local/share:/usr/share";
    std::size_t start = 0;
    while (start <= list.size()) {
        const std::size_t end = std::min(list.find(':', start), list.size());
        dirs.push_back(list.substr(start, end - start));
        start = end + 1;
    }
    return dirs;
}

bool IsRegularFile(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

} // namespace

std::vector<std::string> FindThemeSounds(const std::string& name) {
    std::vector<std::string> found;
    for (const std::string& dir : DataDirs()) {
        // The base directory rules ignore relative paths.
        if (dir.empty() || dir.front() != '/')
            continue;
        for (const char* ext : {".oga", ".ogg", ".wav"}) {
            std::string path = dir + "/sounds/freedesktop/stereo/" + name + ext;
            if (IsRegularFile(path))
                found.push_back(std::move(path));
        }
    }
    return found;
}
