#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "platform/gdi/bmp_reader.h"
#include "platform/gdi/dib_pixels.h"
#include "tests/support/bmp_fixtures.h"

// The bitmap reader: every variant keeps its depth and colour table and paints its own colours;
// every kind of broken input gives no bitmap.

namespace {

using bmp_fixtures::HeaderKind;
using bmp_fixtures::Picture;
using pibo::gdi::ReadBmpFile;
using pibo::gdi::ReadPackedDib;

// Compares every pixel of the section with the colours the picture describes.
void ExpectPixels(const DibSection& dib, const Picture& p) {
    pibo::gdi::DibPixels view;
    ASSERT_TRUE(pibo::gdi::DescribeDib(dib, view));
    std::vector<std::uint32_t> row(static_cast<std::size_t>(p.width));
    int wrong = 0;
    for (int y = 0; y < p.height; ++y) {
        pibo::gdi::ConvertRow(view, y, 0, p.width, row.data());
        for (int x = 0; x < p.width; ++x)
            if ((row[static_cast<std::size_t>(x)] & 0xFFFFFF) != ExpectedColor(p, x, y) &&
                wrong++ < 5)
                ADD_FAILURE() << "pixel " << x << "," << y << " is " << std::hex
                              << row[static_cast<std::size_t>(x)] << " not "
                              << ExpectedColor(p, x, y);
    }
    EXPECT_EQ(wrong, 0);
}

struct Variant {
    const char* name;
    Picture picture;
};

Picture With(Picture p, HeaderKind header, bool topDown = false, DWORD compression = BI_RGB) {
    p.header = header;
    p.topDown = topDown;
    if (compression != BI_RGB)
        p.compression = compression;
    return p;
}

Picture FullTableZero(Picture p) {
    p.clrUsedZero = true;
    return p;
}

std::vector<Variant> Variants() {
    const DWORD m565[3] = {0xF800, 0x07E0, 0x001F};
    const DWORD m444[3] = {0x0F00, 0x00F0, 0x000F};
    const DWORD mRgba[3] = {0xFF000000, 0x00FF0000, 0x0000FF00};
    const DWORD m10[3] = {0x3FF00000, 0x000FFC00, 0x000003FF};
    return {
        {"core 1 bit", With(bmp_fixtures::IndexedPicture(19, 7, 1, 2), HeaderKind::Core)},
        {"core 4 bits", With(bmp_fixtures::IndexedPicture(13, 5, 4, 16), HeaderKind::Core)},
        {"core 8 bits", With(bmp_fixtures::IndexedPicture(9, 6, 8, 256), HeaderKind::Core)},
        {"core 24 bits", With(bmp_fixtures::TrueColorPicture(7, 5, 24), HeaderKind::Core)},
        {"1 bit", bmp_fixtures::IndexedPicture(33, 9, 1, 2)},
        {"4 bits, 16 colours", bmp_fixtures::IndexedPicture(21, 8, 4, 16)},
        {"4 bits, short table", bmp_fixtures::IndexedPicture(21, 8, 4, 5)},
        {"4 bits, biClrUsed 0", FullTableZero(bmp_fixtures::IndexedPicture(21, 8, 4, 16))},
        {"8 bits, 256 colours", bmp_fixtures::IndexedPicture(17, 11, 8, 256)},
        {"8 bits, 3 colours", bmp_fixtures::IndexedPicture(17, 11, 8, 3)},
        {"8 bits, biClrUsed 0", FullTableZero(bmp_fixtures::IndexedPicture(17, 11, 8, 256))},
        {"8 bits top-down",
         With(bmp_fixtures::IndexedPicture(17, 11, 8, 40), HeaderKind::Info, true)},
        {"16 bits 555", bmp_fixtures::TrueColorPicture(11, 6, 16)},
        {"16 bits 565", bmp_fixtures::TrueColorPicture(11, 6, 16, BI_BITFIELDS, m565)},
        {"16 bits 444 V4",
         With(bmp_fixtures::TrueColorPicture(11, 6, 16, BI_BITFIELDS, m444), HeaderKind::V4)},
        {"24 bits", bmp_fixtures::TrueColorPicture(13, 7, 24)},
        {"24 bits top-down",
         With(bmp_fixtures::TrueColorPicture(13, 7, 24), HeaderKind::Info, true)},
        {"24 bits V5", With(bmp_fixtures::TrueColorPicture(13, 7, 24), HeaderKind::V5)},
        {"32 bits", bmp_fixtures::TrueColorPicture(6, 5, 32)},
        {"32 bits bit fields", bmp_fixtures::TrueColorPicture(6, 5, 32, BI_BITFIELDS, mRgba)},
        {"32 bits 10-bit fields V5",
         With(bmp_fixtures::TrueColorPicture(6, 5, 32, BI_BITFIELDS, m10), HeaderKind::V5, true)},
        {"RLE8",
         With(bmp_fixtures::IndexedPicture(40, 12, 8, 200), HeaderKind::Info, false, BI_RLE8)},
        {"RLE8 V5",
         With(bmp_fixtures::IndexedPicture(40, 12, 8, 7), HeaderKind::V5, false, BI_RLE8)},
        {"RLE4",
         With(bmp_fixtures::IndexedPicture(41, 12, 4, 16), HeaderKind::Info, false, BI_RLE4)},
        {"RLE4 short table",
         With(bmp_fixtures::IndexedPicture(30, 9, 4, 6), HeaderKind::Info, false, BI_RLE4)},
    };
}

TEST(BmpReader, ReadsEveryVariantAtItsOwnDepthWithItsColours) {
    for (const Variant& v : Variants()) {
        SCOPED_TRACE(v.name);
        const Picture& p = v.picture;
        for (bool packed : {false, true}) {
            SCOPED_TRACE(packed ? "packed DIB" : "file");
            const std::vector<BYTE> bytes =
                packed ? bmp_fixtures::PackedDib(p) : bmp_fixtures::BmpFile(p);
            const auto dib = packed ? ReadPackedDib(bytes) : ReadBmpFile(bytes);
            ASSERT_NE(dib, nullptr);
            EXPECT_EQ(dib->header.biWidth, p.width);
            EXPECT_EQ(dib->header.biHeight, p.height); // stored bottom-up
            EXPECT_EQ(dib->header.biBitCount, p.bitCount);
            EXPECT_EQ(dib->header.biSize, 40u);
            EXPECT_EQ(dib->header.biCompression,
                      p.compression == BI_BITFIELDS ? BI_BITFIELDS : BI_RGB);
            if (p.bitCount <= 8) {
                const std::size_t table = std::min<std::size_t>(p.colors.size(), 1u << p.bitCount);
                ASSERT_EQ(dib->colors.size(), table);
                for (std::size_t i = 0; i < table; ++i) {
                    EXPECT_EQ(dib->colors[i].rgbRed, p.colors[i].rgbRed);
                    EXPECT_EQ(dib->colors[i].rgbGreen, p.colors[i].rgbGreen);
                    EXPECT_EQ(dib->colors[i].rgbBlue, p.colors[i].rgbBlue);
                }
            } else {
                EXPECT_TRUE(dib->colors.empty());
            }
            ExpectPixels(*dib, p);
        }
    }
}

TEST(BmpReader, KeepsTheBuiltInPictureFormat) {
    Picture p = bmp_fixtures::BuiltInLikePicture();
    const std::vector<BYTE> bytes = bmp_fixtures::PackedDib(p);
    ASSERT_EQ(bytes.size(), 32104u);
    const auto dib = ReadPackedDib(bytes);
    ASSERT_NE(dib, nullptr);
    EXPECT_EQ(dib->stride, 128);
    EXPECT_EQ(dib->header.biSizeImage, 32000u);
    EXPECT_EQ(dib->header.biClrUsed, 16u);
    EXPECT_EQ(dib->colors.size(), 16u);
    ExpectPixels(*dib, p);
}

// An optional colour table of a true-colour picture is skipped, not taken for pixels.
TEST(BmpReader, SkipsTheOptionalTableOfATrueColourPicture) {
    Picture p = bmp_fixtures::TrueColorPicture(5, 4, 24);
    p.colors = bmp_fixtures::DistinctColors(3);
    for (bool packed : {false, true}) {
        const std::vector<BYTE> bytes =
            packed ? bmp_fixtures::PackedDib(p) : bmp_fixtures::BmpFile(p);
        const auto dib = packed ? ReadPackedDib(bytes) : ReadBmpFile(bytes);
        ASSERT_NE(dib, nullptr);
        EXPECT_TRUE(dib->colors.empty());
        ExpectPixels(*dib, p);
    }
}

// RLE: a move (delta) skips pixels, which keep index 0, and an end of line may end the data early.
TEST(BmpReader, RleDeltaAndEarlyEndLeaveIndexZero) {
    Picture p;
    p.width = 8;
    p.height = 3;
    p.bitCount = 8;
    p.compression = BI_RLE8;
    p.colors = bmp_fixtures::DistinctColors(4);
    p.pixels.assign(24, 0);
    bmp_fixtures::Layout layout;
    std::vector<BYTE> bytes = bmp_fixtures::BmpFile(p, &layout);
    bytes.resize(layout.pixelsAt);
    bmp_fixtures::PutU32(bytes, layout.headerAt + 20, 0); // compressed size: up to the end
    // Bottom row: 2 x index 3, move 3 right and 1 up, 1 x index 2, end of bitmap.
    bytes.insert(bytes.end(), {2, 3, 0, 2, 3, 1, 1, 2, 0, 1});
    const auto dib = ReadBmpFile(bytes);
    ASSERT_NE(dib, nullptr);
    const BYTE* bottom = dib->bits.get();
    const BYTE* middle = bottom + dib->stride;
    EXPECT_EQ(bottom[0], 3);
    EXPECT_EQ(bottom[1], 3);
    EXPECT_EQ(bottom[2], 0);
    EXPECT_EQ(middle[4], 0);
    EXPECT_EQ(middle[5], 2);
    EXPECT_EQ(middle[6], 0);
}

// --- Broken input -----------------------------------------------------------------------------

struct Broken {
    const char* name;
    std::vector<BYTE> bytes;
};

std::vector<BYTE> File(const Picture& p, bmp_fixtures::Layout* layout = nullptr) {
    return bmp_fixtures::BmpFile(p, layout);
}

// A file of the picture with one 32-bit field of the info header (offset from its start) set.
std::vector<BYTE> WithField(const Picture& p, std::size_t field, DWORD value) {
    bmp_fixtures::Layout layout;
    std::vector<BYTE> bytes = File(p, &layout);
    bmp_fixtures::PutU32(bytes, layout.headerAt + field, value);
    return bytes;
}

std::vector<BYTE> WithField16(const Picture& p, std::size_t field, WORD value) {
    bmp_fixtures::Layout layout;
    std::vector<BYTE> bytes = File(p, &layout);
    bmp_fixtures::PutU16(bytes, layout.headerAt + field, value);
    return bytes;
}

// A RLE8 picture of 8 by 2 pixels and 4 colours whose compressed data are `rle`.
std::vector<BYTE> Rle8(std::initializer_list<BYTE> rle, DWORD compression = BI_RLE8) {
    Picture p;
    p.width = 8;
    p.height = 2;
    p.bitCount = compression == BI_RLE4 ? 4 : 8;
    p.compression = compression;
    p.colors = bmp_fixtures::DistinctColors(4);
    p.pixels.assign(16, 0);
    bmp_fixtures::Layout layout;
    std::vector<BYTE> bytes = File(p, &layout);
    bytes.resize(layout.pixelsAt);
    bytes.insert(bytes.end(), rle.begin(), rle.end());
    bmp_fixtures::PutU32(bytes, layout.headerAt + 20, static_cast<DWORD>(rle.size()));
    return bytes;
}

std::vector<Broken> BrokenInputs() {
    const Picture p8 = bmp_fixtures::IndexedPicture(10, 4, 8, 16);
    const Picture p24 = bmp_fixtures::TrueColorPicture(10, 4, 24);
    const DWORD m565[3] = {0xF800, 0x07E0, 0x001F};
    const Picture p16 = bmp_fixtures::TrueColorPicture(10, 4, 16, BI_BITFIELDS, m565);
    bmp_fixtures::Layout l8;
    const std::vector<BYTE> f8 = File(p8, &l8);

    std::vector<Broken> cases = {
        {"empty", {}},
        {"file header only", std::vector<BYTE>(f8.begin(), f8.begin() + 14)},
        {"not BM", [&] {
             auto b = f8;
             b[0] = 'X';
             return b;
         }()},
        {"header size 0", WithField(p8, 0, 0)},
        {"header size 20", WithField(p8, 0, 20)},
        {"header size 64 (OS/2)", WithField(p8, 0, 64)},
        {"header size beyond the file", WithField(p8, 0, 5000)},
        {"cut inside the header", std::vector<BYTE>(f8.begin(), f8.begin() + 30)},
        {"cut inside the colour table", std::vector<BYTE>(f8.begin(), f8.begin() + 70)},
        {"one pixel byte short", std::vector<BYTE>(f8.begin(), f8.end() - 1)},
        {"pixel offset beyond the file", [&] {
             auto b = f8;
             bmp_fixtures::PutU32(b, 10, 1u << 30);
             return b;
         }()},
        {"pixel offset inside the colour table", [&] {
             auto b = f8;
             bmp_fixtures::PutU32(b, 10, static_cast<DWORD>(l8.tableAt + 8));
             return b;
         }()},
        {"width 0", WithField(p8, 4, 0)},
        {"width negative", WithField(p8, 4, static_cast<DWORD>(-10))},
        {"height 0", WithField(p8, 8, 0)},
        {"height INT_MIN", WithField(p8, 8, 0x80000000u)},
        {"planes 2", WithField16(p8, 12, 2)},
        {"2 bits", WithField16(p8, 14, 2)},
        {"64 bits", WithField16(p8, 14, 64)},
        {"JPEG compression", WithField(p8, 16, 4)},
        {"PNG compression", WithField(p8, 16, 5)},
        {"RLE8 at 24 bits", WithField(p24, 16, BI_RLE8)},
        {"RLE4 at 8 bits", WithField(p8, 16, BI_RLE4)},
        {"bit fields at 24 bits", WithField(p24, 16, BI_BITFIELDS)},
        {"zero mask", WithField(p16, 40, 0)},
        {"overlapping masks", WithField(p16, 40, 0x0FE0)},
        {"split mask", WithField(p16, 40, 0xF001)},
        {"mask beyond 16 bits", WithField(p16, 40, 0x1F0000)},
        {"257 colours", WithField(p8, 32, 257)},
        {"colour count 0xFFFFFFFF", WithField(p8, 32, 0xFFFFFFFFu)},
        {"colour index beyond the table", [&] {
             Picture q = p8;
             q.colors.resize(3);
             q.pixels[17] = 3;
             return File(q);
         }()},
        {"1 bit with a one-colour table", [&] {
             Picture q = bmp_fixtures::IndexedPicture(9, 2, 1, 2);
             q.colors.resize(1);
             q.pixels.assign(18, 0);
             q.pixels[5] = 1;
             return File(q);
         }()},
        {"16385 pixels wide", WithField(p8, 4, 16385)},
        {"16385 pixels high", WithField(p8, 8, 16385)},
        {"over 256 MiB of pixels", [&] {
             Picture q = bmp_fixtures::TrueColorPicture(2, 2, 32);
             auto b = File(q);
             bmp_fixtures::PutU32(b, 18, 16384);
             bmp_fixtures::PutU32(b, 22, 16384);
             return b;
         }()},
        {"width times height overflows", [&] {
             auto b = WithField(p24, 4, 0x7FFFFFFF);
             bmp_fixtures::PutU32(b, 22, 0x7FFFFFFF);
             return b;
         }()},
        {"core header 65535 wide", [&] {
             Picture q = bmp_fixtures::TrueColorPicture(3, 3, 24);
             q.header = HeaderKind::Core;
             auto b = File(q);
             bmp_fixtures::PutU16(b, 18, 65535);
             return b;
         }()},
        {"RLE top-down", [&] {
             Picture q = bmp_fixtures::IndexedPicture(8, 2, 8, 4);
             q.compression = BI_RLE8;
             auto b = File(q);
             bmp_fixtures::PutU32(b, 22, static_cast<DWORD>(-2));
             return b;
         }()},
        {"RLE run past the row", Rle8({9, 1, 0, 1})},
        {"RLE run after the last row", Rle8({0, 0, 0, 0, 2, 1, 0, 1})},
        {"RLE move past the picture", Rle8({0, 2, 9, 0, 0, 1})},
        {"RLE move above the picture", Rle8({0, 2, 0, 3, 0, 1})},
        {"RLE literal past the row", Rle8({0, 9, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 0, 1})},
        {"RLE literal cut short", Rle8({0, 4, 1, 1})},
        {"RLE without end mark", Rle8({8, 1, 0, 0, 8, 2})},
        {"RLE move cut short", Rle8({0, 2, 1})},
        {"RLE index beyond the table", Rle8({8, 7, 0, 1})},
        {"RLE literal index beyond the table", Rle8({0, 3, 1, 2, 9, 0, 0, 1})},
        {"RLE4 run past the row", Rle8({9, 0x11, 0, 1}, BI_RLE4)},
        {"RLE4 index beyond the table", Rle8({2, 0x15, 0, 1}, BI_RLE4)},
        {"RLE4 literal index beyond the table", Rle8({0, 3, 0x12, 0x90, 0, 1}, BI_RLE4)},
        {"RLE size beyond the file", [&] {
             auto b = Rle8({8, 1, 0, 1});
             bmp_fixtures::PutU32(b, 14 + 20, 400);
             return b;
         }()},
    };
    return cases;
}

TEST(BmpReader, BrokenInputGivesNoBitmap) {
    for (const Broken& c : BrokenInputs()) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ReadBmpFile(c.bytes), nullptr);
        // The same damage in a packed DIB, where it lies in the DIB.
        const std::string name = c.name;
        if (c.bytes.size() > 14 && name != "not BM" &&
            name.find("pixel offset") == std::string::npos) {
            EXPECT_EQ(ReadPackedDib(std::vector<BYTE>(c.bytes.begin() + 14, c.bytes.end())),
                      nullptr);
        }
    }
}

// Every prefix of a good picture is a truncated picture.
TEST(BmpReader, EveryTruncationGivesNoBitmap) {
    const std::vector<Picture> pictures = {
        bmp_fixtures::IndexedPicture(9, 3, 1, 2),
        bmp_fixtures::TrueColorPicture(5, 3, 24),
        With(bmp_fixtures::IndexedPicture(20, 3, 8, 9), HeaderKind::Info, false, BI_RLE8),
        With(bmp_fixtures::IndexedPicture(21, 3, 4, 16), HeaderKind::V5, false, BI_RLE4),
    };
    for (const Picture& p : pictures) {
        for (bool packed : {false, true}) {
            const std::vector<BYTE> whole =
                packed ? bmp_fixtures::PackedDib(p) : bmp_fixtures::BmpFile(p);
            ASSERT_NE(packed ? ReadPackedDib(whole) : ReadBmpFile(whole), nullptr);
            for (std::size_t n = 0; n < whole.size(); ++n) {
                // A copy of exactly n bytes, so that a read past it is caught by the sanitizers.
                const std::vector<BYTE> cut(whole.begin(), whole.begin() + static_cast<long>(n));
                const auto dib = packed ? ReadPackedDib(cut) : ReadBmpFile(cut);
                EXPECT_EQ(dib, nullptr) << (packed ? "packed" : "file") << " cut to " << n;
            }
        }
    }
}

// Random damage never crashes the reader, and what it accepts is a consistent bitmap.
TEST(BmpReader, RandomDamageIsHandled) {
    std::mt19937 random(1234);
    int accepted = 0;
    for (const Variant& v : Variants()) {
        const std::vector<BYTE> whole = bmp_fixtures::BmpFile(v.picture);
        for (int round = 0; round < 150; ++round) {
            std::vector<BYTE> bytes = whole;
            const int flips = 1 + static_cast<int>(random() % 4);
            for (int i = 0; i < flips; ++i) {
                const std::size_t at = random() % std::min<std::size_t>(bytes.size(), 200);
                bytes[at] = static_cast<BYTE>(random());
            }
            if (random() % 4 == 0)
                bytes.resize(random() % bytes.size());
            const auto dib = ReadBmpFile(bytes);
            if (!dib)
                continue;
            ++accepted;
            const BITMAPINFOHEADER& h = dib->header;
            EXPECT_GT(h.biWidth, 0);
            EXPECT_GT(h.biHeight, 0);
            EXPECT_LE(dib->colors.size(), 256u);
            EXPECT_EQ(static_cast<std::size_t>(dib->stride) * h.biHeight, h.biSizeImage);
        }
    }
    EXPECT_GT(accepted, 0);
}

} // namespace
