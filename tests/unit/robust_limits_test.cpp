// Limits on what a hostile file can make the program allocate. A picture over the size limit is
// refused before its pixels are allocated, whatever its header claims; a sound over the length
// limit is cut off there, and nothing is sized by a header's claim alone. Under AddressSanitizer
// the tests also watch every allocation and check the largest one; elsewhere they check results
// only.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <filesystem>
#include <optional>

#include "platform/gdi/bmp_reader.h"
#include "platform/gdi/dib_limits.h"
#include "platform/sound/sound_decode.h"
#include "tests/support/bmp_fixtures.h"
#include "tests/support/wav_fixtures.h"
#include "tests/unit/sound_test_folder.h"

#if defined(__SANITIZE_ADDRESS__)
#define PIBO_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define PIBO_ASAN 1
#endif
#endif

#ifdef PIBO_ASAN
extern "C" int __sanitizer_install_malloc_and_free_hooks(void (*)(const volatile void*,
                                                                  std::size_t),
                                                         void (*)(const volatile void*));
#endif

namespace {

using bmp_fixtures::Picture;
using pibo::gdi::ReadBmpFile;
using pibo::gdi::ReadPackedDib;

// The largest single allocation made while one of these lives; nothing without the sanitizer.
class LargestAllocation {
public:
    LargestAllocation() {
        Install();
        s_largest = 0;
        s_watching = true;
    }
    ~LargestAllocation() { s_watching = false; }
    static bool Available() {
#ifdef PIBO_ASAN
        return true;
#else
        return false;
#endif
    }
    std::size_t bytes() const {
        return s_largest;
    }

private:
    static void Install() {
#ifdef PIBO_ASAN
        static const bool installed =
            __sanitizer_install_malloc_and_free_hooks(&OnMalloc, &OnFree) != 0;
        (void)installed;
#endif
    }
    static void OnMalloc(const volatile void*, std::size_t size) {
        if (s_watching && size > s_largest)
            s_largest = size;
    }
    static void OnFree(const volatile void*) {}

    static inline std::size_t s_largest = 0;
    static inline bool s_watching = false;
};

constexpr std::size_t kMiB = std::size_t{1} << 20;

std::vector<BYTE> WithSize(std::vector<BYTE> bytes, DWORD width, DWORD height) {
    bmp_fixtures::PutU32(bytes, 18, width);
    bmp_fixtures::PutU32(bytes, 22, height);
    return bytes;
}

// Headers that claim pictures beyond the limits over a few bytes of pixels: refused, and no
// allocation anywhere near the size claimed.
TEST(RobustLimits, PicturesOverTheLimitAreRefusedBeforeTheirPixelsAreAllocated) {
    const std::vector<BYTE> small24 =
        bmp_fixtures::BmpFile(bmp_fixtures::TrueColorPicture(4, 4, 24));
    Picture rle = bmp_fixtures::IndexedPicture(16, 4, 8, 5);
    rle.compression = BI_RLE8;
    const std::vector<BYTE> small8rle = bmp_fixtures::BmpFile(rle);
    const struct {
        const char* name;
        std::vector<BYTE> bytes;
    } cases[] = {
        {"768 MB at 24 bits", WithSize(small24, 16384, 16384)},
        {"one pixel too wide", WithSize(small24, 16385, 1)},
        {"one pixel too high", WithSize(small24, 1, 16385)},
        {"top-down, one pixel too high", WithSize(small24, 1, static_cast<DWORD>(-16385))},
        {"the largest negative height", WithSize(small24, 1, 0x80000000u)},
        {"4 GB wide and high", WithSize(small24, 0xFFFFFFFFu, 0xFFFFFFFFu)},
        {"RLE beyond the limit", WithSize(small8rle, 16384, 16385)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        LargestAllocation watch;
        EXPECT_EQ(ReadBmpFile(c.bytes), nullptr);
        EXPECT_EQ(ReadPackedDib({c.bytes.begin() + 14, c.bytes.end()}), nullptr);
        EXPECT_LT(watch.bytes(), kMiB);
    }
}

// An uncompressed picture within the limits whose file holds too few pixels is refused before its
// pixels are allocated too: the file's size is checked first.
TEST(RobustLimits, APictureLargerThanItsFileIsRefusedBeforeAllocating) {
    const std::vector<BYTE> small8 =
        bmp_fixtures::BmpFile(bmp_fixtures::IndexedPicture(4, 4, 8, 4));
    LargestAllocation watch;
    EXPECT_EQ(ReadBmpFile(WithSize(small8, 16384, 16384)), nullptr);
    EXPECT_LT(watch.bytes(), kMiB);
}

// Sounds: the longest kept is five minutes, however long the file; the sound is read block by
// block and never held whole.
TEST(RobustLimits, ASoundOverFiveMinutesIsCutOffWithoutBeingHeldWhole) {
    SoundTestFolder folder;
    const std::string path = folder / "six-minutes.wav";
    // Six minutes at 8 kHz, 8 bits: 2.9 MB of file, 69 MB once made 48 kHz stereo.
    ASSERT_TRUE(WriteToneWav(path, WavEncoding::PcmU8, {300.0, 360.0, 8000, 1, 0.3}));
    LargestAllocation watch;
    const std::optional<SoundPcm> pcm = DecodeSoundFile(path);
    ASSERT_TRUE(pcm.has_value());
    EXPECT_EQ(pcm->frames(), kMaxSoundFrames);
    const std::size_t fiveMinutes = kMaxSoundFrames * kSoundChannels * sizeof(std::int16_t);
    EXPECT_LE(pcm->samples.capacity() * sizeof(std::int16_t), fiveMinutes + 64 * 1024);
    if (LargestAllocation::Available()) {
        // The five minutes are reserved at once (so the watch sees allocations), never more.
        EXPECT_GT(watch.bytes(), fiveMinutes / 2);
        EXPECT_LE(watch.bytes(), fiveMinutes + 64 * 1024);
    }
}

// A header that claims hours of sound over a file of a few bytes: nothing is reserved for it.
TEST(RobustLimits, ASoundsClaimedLengthReservesNothing) {
    SoundTestFolder folder;
    for (std::uint32_t rate : {8000u, 1000u}) {
        SCOPED_TRACE(rate);
        WavHeader h;
        h.sampleRate = rate;
        h.dataSizeField = 0xFFFFFFF0;
        h.riffSizeField = 0xFFFFFFF8;
        const std::string path = folder / ("claims-" + std::to_string(rate) + ".wav");
        ASSERT_TRUE(WriteBytes(path, MakeWavBytes(h, std::vector<std::uint8_t>(200, 0x40))));
        LargestAllocation watch;
        const std::optional<SoundPcm> pcm = DecodeSoundFile(path);
        if (pcm) {
            // 100 frames at that rate, made 48 kHz.
            EXPECT_LE(pcm->frames(), std::size_t{100} * kSoundRate / rate + 1024);
        }
        EXPECT_LT(watch.bytes(), kMiB);
    }
}

} // namespace
