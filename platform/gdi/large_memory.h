// Memory for pixels and file contents. Large blocks are aligned to 2 MiB and offered to the kernel
// for huge pages: touching a fresh 36 MB picture page by page costs far more than the copying.
#pragma once

#include <cstddef>

#include "platform/win/types.h"

namespace pibo::gdi {

// A block of `bytes` bytes, cleared when `cleared`; null when there is no memory. Freed with
// std::free.
BYTE* AllocateLarge(std::size_t bytes, bool cleared);

} // namespace pibo::gdi
