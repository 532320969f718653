// Reads a whole file of bounded size: only regular files, never more than `maxBytes`.
#pragma once

#include <cstddef>
#include <memory>
#include <span>

#include "platform/gdi/gdi_objects.h"

namespace pibo::gdi {

// A file's bytes, in memory that is not cleared first: large pictures load without touching their
// memory twice.
class FileBytes {
public:
    std::span<const BYTE> bytes() const { return {data_.get(), size_}; }
    // Room for at least `size` bytes, keeping the first `keep`.
    BYTE* reserve(std::size_t size, std::size_t keep);
    void setSize(std::size_t size) { size_ = size; }
    void clear();

private:
    PixelMemory data_;
    std::size_t capacity_ = 0;
    std::size_t size_ = 0;
};

// False for a missing or unreadable path, a directory, a device or pipe, and a file larger than
// `maxBytes`. Paths starting with ':' are read from Qt's resource system.
bool ReadWholeFile(const char* path, std::size_t maxBytes, FileBytes& out);

} // namespace pibo::gdi
