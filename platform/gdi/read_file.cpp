#include "platform/gdi/read_file.h"

#include "platform/gdi/large_memory.h"

#include <QFile>
#include <QFileInfo>
#include <QString>
#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pibo::gdi {

BYTE* FileBytes::reserve(std::size_t size, std::size_t keep) {
    if (size > capacity_) {
        PixelMemory bigger(AllocateLarge(size, false));
        if (!bigger)
            return nullptr;
        if (keep)
            std::copy_n(data_.get(), keep, bigger.get());
        data_ = std::move(bigger);
        capacity_ = size;
    }
    return data_.get();
}

void FileBytes::clear() {
    data_.reset();
    capacity_ = 0;
    size_ = 0;
}

namespace {

bool ReadResource(const char* path, std::size_t maxBytes, FileBytes& out) {
    const QString name = QString::fromUtf8(path);
    if (!QFileInfo(name).isFile())
        return false;
    QFile file(name);
    if (!file.open(QIODevice::ReadOnly) || static_cast<std::size_t>(file.size()) > maxBytes)
        return false;
    const auto size = static_cast<std::size_t>(file.size());
    BYTE* data = out.reserve(size, 0);
    if (!data || file.read(reinterpret_cast<char*>(data), file.size()) != file.size())
        return false;
    out.setSize(size);
    return true;
}

} // namespace

bool ReadWholeFile(const char* path, std::size_t maxBytes, FileBytes& out) {
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
        std::size_t room = static_cast<std::size_t>(st.st_size) + 1;
        BYTE* data = out.reserve(room, 0);
        std::size_t got = 0;
        ok = data != nullptr;
        while (ok) {
            if (got == room) {
                if (room > maxBytes)
                    break;
                room = std::min(room * 2, maxBytes + 1);
                data = out.reserve(room, got);
                if (!data) {
                    ok = false;
                    break;
                }
            }
            const ssize_t n = ::read(fd, data + got, room - got);
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0)
                ok = false;
            else if (n == 0)
                break;
            else
                got += static_cast<std::size_t>(n);
        }
        out.setSize(ok ? got : 0);
        ok = ok && got <= maxBytes;
    }
    ::close(fd);
    if (!ok)
        out.clear();
    return ok;
}

} // namespace pibo::gdi
