// A toddler at the keyboard: 100,000 random key messages of the four kinds, any code, any repeat
// count and any flags, into the view. It must never crash, keep its cycle position within 0 to 5,
// show a built-in picture wherever an own picture fails, ask for exactly one sound per key press
// it acts on, and hold no more memory at the end than after the first few thousand messages.
#include <fcntl.h>
#include <malloc.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <random>

#include "media/PictureNumbers.h"
#include "platform/gdi/gdi_probe.h"
#include "tests/support/bmp_fixtures.h"
#include "tests/unit/view_fixture.h"

#if defined(__SANITIZE_ADDRESS__)
#define PIBO_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define PIBO_ASAN 1
#endif
#endif

namespace {

namespace fs = std::filesystem;
using view_test::Outcome;
using view_test::ViewFixture;

constexpr UINT kKeyMessages[] = {WM_KEYDOWN, WM_KEYUP, WM_SYSKEYDOWN, WM_SYSKEYUP};

// Own pictures no loader should accept, one per letter, and one good picture for 'G'.
class HostilePictureFolder {
public:
    HostilePictureFolder() {
        m_dir = fs::temp_directory_path() / ("pibo-storm-" + std::to_string(::getpid()));
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
        using namespace bmp_fixtures;
        Write("A.bmp", {});
        std::vector<BYTE> good = BmpFile(IndexedPicture(12, 9, 8, 20));
        Write("B.bmp", std::vector<BYTE>(good.begin(), good.begin() + 60)); // cut in the table
        std::vector<BYTE> huge = good;
        PutU32(huge, 18, 16384); // 16384 x 16384 at 8 bits, with 108 bytes of pixels
        PutU32(huge, 22, 16384);
        Write("C.bmp", huge);
        Layout layout;
        std::vector<BYTE> rle = BmpFile(
            [] {
                Picture p = IndexedPicture(16, 4, 8, 5);
                p.compression = BI_RLE8;
                return p;
            }(),
            &layout);
        rle[layout.pixelsAt] = 200; // a run of 200 pixels in a row of 16
        Write("D.bmp", rle);
        fs::create_directory(m_dir / "E.bmp");
        fs::create_symlink(m_dir / "F.bmp", m_dir / "F.bmp"); // a link to itself
        ::mkfifo((m_dir / "H.bmp").c_str(), 0644);            // a reader would wait for a writer
        Write("G.bmp", good);
    }
    ~HostilePictureFolder() { fs::remove_all(m_dir); }

    std::string path() const { return m_dir.string() + "/"; }
    static bool LoadsAsOwn(UINT vk) { return vk == 'G'; }

private:
    void Write(const char* name, const std::vector<BYTE>& bytes) {
        ASSERT_TRUE(bmp_fixtures::WriteFile((m_dir / name).string(), bytes));
    }
    fs::path m_dir;
};

// Bytes of heap in use: the measure of "memory flat" where the allocator is glibc's.
std::size_t HeapInUse() {
    return mallinfo2().uordblks;
}

// The message and its parameters: mostly key-downs with a repeat count of 1 and the bits a real
// keyboard sets, so that many are acted on; now and then anything at all; and the three exact
// system key-downs the view turns into F10.
struct StormMessage {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

StormMessage RandomMessage(std::mt19937& random) {
    StormMessage m{kKeyMessages[random() % 4], random() % 256, 0};
    const std::uint32_t flags = random() & 0xFFFF;
    const std::uint32_t repeat = random() % 5 == 0 ? random() & 0xFFFF : 1;
    switch (random() % 10) {
    case 0: // any lParam at all, and a wParam beyond a byte
        m.wParam = random();
        m.lParam = static_cast<LPARAM>(static_cast<std::int32_t>(random()));
        return m;
    case 1: { // a fresh Alt or F10
        static const std::pair<UINT, UINT> menuKeys[] = {
            {VK_MENU, 0x2038}, {VK_MENU, 0x2138}, {VK_F10, 0x0044}};
        const auto& [vk, f] = menuKeys[random() % 3];
        m.message = WM_SYSKEYDOWN;
        m.wParam = vk;
        m.lParam = MAKELPARAM(1, static_cast<WORD>(f));
        return m;
    }
    default:
        m.lParam = MAKELPARAM(static_cast<WORD>(repeat), static_cast<WORD>(flags));
        return m;
    }
}

// Sends `count` random messages and checks each; returns how many key-downs were acted on.
int Storm(ViewFixture& f, std::uint32_t seed, int count, bool ownPictures, bool* stop) {
    std::mt19937 random(seed);
    int actedCount = 0;
    f.view->m_bOwnPictures = ownPictures ? TRUE : FALSE;
    for (int i = 0; i < count && !*stop; ++i) {
        const StormMessage m = RandomMessage(random);
        const int pictureBefore = f.view->m_nPictureId;
        const Outcome out = f.SendRaw(m.message, m.wParam, m.lParam);
        const UINT cycle = f.view->m_nOtherKeyCount;
        const int picture = f.view->m_nPictureId;
        const bool inRange =
            cycle <= 5 && ((picture >= 129 && picture <= 170) || (picture == pictureBefore));
        const bool acted = !out.played.empty();
        bool consistent = out.played.size() <= 1 && out.beeps <= 1;
        if (acted) {
            ++actedCount;
            consistent = consistent && out.repainted && out.repaintBeforeSounds &&
                         f.view->m_dib.GetSafeHandle() != nullptr && !f.view->m_bKeyReleased;
            const UINT vk = static_cast<UINT>(m.wParam);
            const bool extended = (HIWORD(m.lParam) & KF_EXTENDED) != 0;
            if (m.message == WM_KEYDOWN && !extended && (IsLetterKey(vk) || IsDigitKey(vk))) {
                // Only the one good own picture keeps the picture number; every hostile file
                // falls back to the key's built-in picture.
                const int builtIn = static_cast<int>(IsLetterKey(vk) ? LetterPictureNumber(vk)
                                                                     : DigitPictureNumber(vk));
                const bool own = ownPictures && HostilePictureFolder::LoadsAsOwn(vk);
                consistent = consistent && picture == (own ? pictureBefore : builtIn);
            } else {
                consistent = consistent && picture >= 165 && picture <= 170;
            }
        }
        if (!inRange || !consistent) {
            ADD_FAILURE() << "message " << i << " of the storm with seed " << seed << ": 0x"
                          << std::hex << m.message << " wParam 0x" << m.wParam << " lParam 0x"
                          << m.lParam << std::dec << " gave cycle " << cycle << ", picture "
                          << picture << " (before " << pictureBefore << "), " << out.played.size()
                          << " sounds, " << out.beeps << " beeps";
            *stop = true;
        }
    }
    return actedCount;
}

TEST(RobustKeyStorm, HundredThousandRandomKeyMessages) {
    HostilePictureFolder pictures;
    ViewFixture f;
    f.view->m_strPictureDir = CString(pictures.path().c_str());
    bool stop = false;

    // Warm-up: every lazily made thing (resource reads, stock objects, recorder buffers) exists.
    Storm(f, 1, 5000, true, &stop);
    const int bitmaps = pibo::gdi::LiveBitmapCount();
    const int palettes = pibo::gdi::LivePaletteCount();
    malloc_trim(0);
    const std::size_t heap = HeapInUse();

    // 95,000 more in rounds of plain and own-pictures mode.
    int acted = 0;
    for (std::uint32_t round = 0; round < 19 && !stop; ++round)
        acted += Storm(f, 1000 + round, 5000, round % 2 == 0, &stop);
    ASSERT_FALSE(stop);
    // The storm must press keys, not only send noise: thousands of pictures and sounds.
    EXPECT_GT(acted, 5000);

    // Each load replaced the picture before: the same bitmaps and palettes live as after warm-up.
    EXPECT_EQ(pibo::gdi::LiveBitmapCount(), bitmaps);
    EXPECT_EQ(pibo::gdi::LivePaletteCount(), palettes);
#ifndef PIBO_ASAN
    // The sanitizer's own allocator keeps freed blocks in quarantine and has no such count; its
    // leak checker watches there instead.
    malloc_trim(0);
    const std::size_t grown = HeapInUse() > heap ? HeapInUse() - heap : 0;
    EXPECT_LT(grown, std::size_t{256} << 10) << "the heap grew by " << grown << " bytes";
#else
    (void)heap;
#endif
}

// After the storm the view still does what a single key press should.
TEST(RobustKeyStorm, TheViewStillWorksAfterAStorm) {
    ViewFixture f;
    bool stop = false;
    Storm(f, 77, 20000, false, &stop);
    ASSERT_FALSE(stop);
    f.Send(WM_KEYUP, 'Q', 1, KF_REPEAT | KF_UP);
    const Outcome out = f.Send(WM_KEYDOWN, 'Q');
    EXPECT_EQ(f.view->m_nPictureId, 145);
    ASSERT_EQ(out.played.size(), 1u);
    EXPECT_EQ(out.played[0], "/snd/Q.wav");
    const UINT cycle = f.view->m_nOtherKeyCount;
    f.Send(WM_KEYUP, 'Q', 1, KF_REPEAT | KF_UP);
    f.Send(WM_KEYDOWN, VK_SPACE);
    EXPECT_EQ(f.view->m_nPictureId, static_cast<int>(165 + cycle));
    EXPECT_EQ(f.view->m_nOtherKeyCount, (cycle + 1) % 6);
}

} // namespace
