#include "platform/sound/sound_file_lookup.h"

#include <dirent.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>

namespace {

// Byte-wise, folding only ASCII letters: the result must not depend on the process's locale.
bool EqualIgnoringAsciiCase(const char* a, const std::string& b) {
    const std::size_t n = std::strlen(a);
    if (n != b.size())
        return false;
    for (std::size_t i = 0; i < n; ++i) {
        auto fold = [](char c) {
            return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
        };
        if (fold(a[i]) != fold(b[i]))
            return false;
    }
    return true;
}

} // namespace

std::string FindSoundFile(const std::string& path) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) == 0 || errno != ENOENT)
        return path;
    const std::size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    if (name.empty())
        return path;

    DIR* dir = ::opendir(folder.c_str());
    if (!dir)
        return path;
    std::string best;
    while (const dirent* entry = ::readdir(dir)) {
        if (EqualIgnoringAsciiCase(entry->d_name, name) && (best.empty() || entry->d_name < best))
            best = entry->d_name;
    }
    ::closedir(dir);
    if (best.empty())
        return path;
    return slash == std::string::npos ? best : folder + best;
}
