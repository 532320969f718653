// Reads a whole file of bounded size: only regular files, never more than `maxBytes`.
#pragma once

#include <cstddef>
#include <vector>

#include "platform/win/types.h"

namespace pibo::gdi {

// False for a missing or unreadable path, a directory, a device or pipe, and a file larger than
// `maxBytes`. Paths starting with ':' are read from Qt's resource system.
bool ReadWholeFile(const char* path, std::size_t maxBytes, std::vector<BYTE>& out);

} // namespace pibo::gdi
