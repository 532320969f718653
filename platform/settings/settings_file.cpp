#include "platform/settings/settings_file.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pibo::settings {

namespace fs = std::filesystem;

namespace {

// Settings files are small; anything larger is not one of ours.
constexpr off_t kMaxSize = 1 << 20;

bool WriteAll(int fd, const std::string& text) {
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

} // namespace

std::optional<std::string> ReadSettingsFile(const fs::path& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size > kMaxSize) {
        ::close(fd);
        return std::nullopt;
    }
    std::string text;
    char buf[4096];
    for (;;) {
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            ::close(fd);
            return std::nullopt;
        }
        if (n == 0)
            break;
        text.append(buf, static_cast<std::size_t>(n));
        if (text.size() > static_cast<std::size_t>(kMaxSize)) {
            ::close(fd);
            return std::nullopt;
        }
    }
    ::close(fd);
    return text;
}

bool IsWritable(const fs::path& path) {
    return ::access(path.c_str(), W_OK) == 0;
}

bool WriteSettingsFile(const fs::path& path, const std::string& text) {
    std::error_code ec;
    fs::path target = path;
    if (fs::is_symlink(path, ec)) {
        target = fs::canonical(path, ec);
        if (ec)
            return false;
    }
    mode_t mode = 0666 & ~[] {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        return mask;
    }();
    struct stat st {};
    if (::stat(target.c_str(), &st) == 0) {
        if (!S_ISREG(st.st_mode))
            return false;
        mode = st.st_mode & 07777;
    }

    std::string temp = (target.parent_path() / (target.filename().string() + ".XXXXXX")).string();
    const int fd = ::mkstemp(temp.data());
    if (fd < 0)
        return false;
    bool ok = ::fchmod(fd, mode) == 0 && WriteAll(fd, text) && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    if (ok && ::rename(temp.c_str(), target.c_str()) == 0)
        return true;
    ::unlink(temp.c_str());
    return false;
}

} // namespace pibo::settings
