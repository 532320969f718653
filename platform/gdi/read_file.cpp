#include "platform/gdi/read_file.h"

#include <QFile>
#include <QFileInfo>
#include <QString>
#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pibo::gdi {

namespace {

bool ReadResource(const char* path, std::size_t maxBytes, std::vector<BYTE>& out) {
    const QString name = QString::fromUtf8(path);
    if (!QFileInfo(name).isFile())
        return false;
    QFile file(name);
    if (!file.open(QIODevice::ReadOnly) || static_cast<std::size_t>(file.size()) > maxBytes)
        return false;
    out.resize(static_cast<std::size_t>(file.size()));
    return file.read(reinterpret_cast<char*>(out.data()), file.size()) == file.size();
}

} // namespace

bool ReadWholeFile(const char* path, std::size_t maxBytes, std::vector<BYTE>& out) {
    out.clear();
    if (!path || !*path)
        return false;
    if (path[0] == ':')
        return ReadResource(path, maxBytes, out);

    // Non-blocking, so that opening a FIFO does not wait for a writer; the type is checked on
    // the open descriptor, so the file cannot be swapped in between.
    const int fd = ::open(path, O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        return false;
    struct stat st {};
    bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size >= 0 &&
              static_cast<unsigned long long>(st.st_size) <= maxBytes;
    if (ok) {
        // Read what the file holds now, up to one byte beyond the limit to notice a file that
        // grew past it.
        out.resize(static_cast<std::size_t>(st.st_size) + 1);
        std::size_t got = 0;
        while (ok) {
            if (got == out.size()) {
                if (out.size() > maxBytes)
                    break;
                out.resize(std::min(out.size() * 2, maxBytes + 1));
            }
            const ssize_t n = ::read(fd, out.data() + got, out.size() - got);
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0)
                ok = false;
            else if (n == 0)
                break;
            else
                got += static_cast<std::size_t>(n);
        }
        out.resize(got);
        ok = ok && got <= maxBytes;
    }
    ::close(fd);
    if (!ok)
        out.clear();
    return ok;
}

} // namespace pibo::gdi
