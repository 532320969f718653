#include "platform/gdi/large_memory.h"

#include <cstdlib>
#include <cstring>
#include <sys/mman.h>

namespace pibo::gdi {

namespace {

constexpr std::size_t kHugePage = std::size_t{2} << 20;

// Under AddressSanitizer every block is exactly as long as asked, so that a write past its end is
// caught instead of landing in the rounding.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kExactBlocks = true;
#elif defined(__has_feature)
constexpr bool kExactBlocks = __has_feature(address_sanitizer);
#else
constexpr bool kExactBlocks = false;
#endif

} // namespace

BYTE* AllocateLarge(std::size_t bytes, bool cleared) {
    if (bytes < kHugePage || kExactBlocks)
        return static_cast<BYTE*>(cleared ? std::calloc(bytes ? bytes : 1, 1)
                                          : std::malloc(bytes ? bytes : 1));
    const std::size_t rounded = (bytes + kHugePage - 1) / kHugePage * kHugePage;
    auto* p = static_cast<BYTE*>(std::aligned_alloc(kHugePage, rounded));
    if (!p)
        return nullptr;
    ::madvise(p, rounded, MADV_HUGEPAGE); // advice only: without it the pages are small
    if (cleared)
        std::memset(p, 0, bytes);
    return p;
}

} // namespace pibo::gdi
