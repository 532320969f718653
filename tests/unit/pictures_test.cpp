#include <gtest/gtest.h>

#include <QByteArray>
#include <QFile>
#include <QString>

#include <array>
#include <cstring>
#include <map>
#include <set>
#include <utility>

#include "platform/win/windows.h"
#include "res/module.h"
#include "res/resource.h"

// The 42 built-in pictures as the executable carries them: packed 4-bit DIBs of one fixed size
// with one shared colour table, found in the resource folder by number.

namespace {

constexpr int kSide = 250;
constexpr int kRowBytes = 128;
constexpr qsizetype kDibBytes = 32104;
constexpr qsizetype kPixelOffset = 40 + 16 * 4;

// Red, green, blue of the sixteen table entries, in order.
constexpr std::array<std::array<BYTE, 3>, 16> kTable = {{
    {0, 0, 0},
    {128, 0, 0},
    {0, 128, 0},
    {128, 128, 0},
    {0, 0, 128},
    {128, 0, 128},
    {0, 128, 128},
    {192, 192, 192},
    {128, 128, 128},
    {255, 0, 0},
    {0, 255, 0},
    {255, 255, 0},
    {0, 0, 255},
    {255, 0, 255},
    {0, 255, 255},
    {255, 255, 255},
}};

QByteArray readPicture(int number) {
    QFile file(QString(g_piboModule.bitmapFolder) + QString::number(number) + ".dib");
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return file.readAll();
}

// Palette index of pixel (x, y), y counted from the top of the picture.
int pixel(const QByteArray& dib, int x, int y) {
    const int storedRow = kSide - 1 - y; // bottom-up
    const auto byte = static_cast<BYTE>(dib[kPixelOffset + storedRow * kRowBytes + x / 2]);
    return (x % 2 == 0) ? byte >> 4 : byte & 0x0f;
}

// The colour of most pixels, the background of every picture.
int mainColour(const QByteArray& dib) {
    std::array<int, 16> count{};
    for (int y = 0; y < kSide; ++y) {
        for (int x = 0; x < kSide; ++x) {
            ++count[static_cast<std::size_t>(pixel(dib, x, y))];
        }
    }
    int best = 0;
    for (int i = 1; i < 16; ++i) {
        if (count[static_cast<std::size_t>(i)] > count[static_cast<std::size_t>(best)]) {
            best = i;
        }
    }
    return best;
}

std::set<int> coloursIn(const QByteArray& dib, int top, int bottom) {
    std::set<int> used;
    for (int y = top; y < bottom; ++y) {
        for (int x = 0; x < kSide; ++x) {
            used.insert(pixel(dib, x, y));
        }
    }
    return used;
}

bool hasFullTableImplied(int number) {
    return (number >= 155 && number <= 164) || number == 169 || number == 170;
}

} // namespace

TEST(BuiltInPictures, EveryPictureIsAPacked4BitDibWithTheSharedTable) {
    for (int number = IDB_FIRST_LETTER; number <= IDB_LAST_PICTURE; ++number) {
        SCOPED_TRACE(number);
        const QByteArray dib = readPicture(number);
        ASSERT_EQ(dib.size(), kDibBytes);

        BITMAPINFOHEADER h;
        std::memcpy(&h, dib.constData(), sizeof h);
        EXPECT_EQ(h.biSize, 40u);
        EXPECT_EQ(h.biWidth, 250);
        EXPECT_EQ(h.biHeight, 250);
        EXPECT_EQ(h.biPlanes, 1);
        EXPECT_EQ(h.biBitCount, 4);
        EXPECT_EQ(h.biCompression, static_cast<DWORD>(BI_RGB));
        EXPECT_EQ(h.biSizeImage, 32000u);
        EXPECT_EQ(h.biXPelsPerMeter, 0);
        EXPECT_EQ(h.biYPelsPerMeter, 0);
        EXPECT_EQ(h.biClrUsed, hasFullTableImplied(number) ? 0u : 16u);
        EXPECT_EQ(h.biClrImportant, h.biClrUsed);

        for (int i = 0; i < 16; ++i) {
            RGBQUAD q;
            std::memcpy(&q, dib.constData() + 40 + 4 * i, sizeof q);
            EXPECT_EQ(q.rgbRed, kTable[i][0]) << "entry " << i;
            EXPECT_EQ(q.rgbGreen, kTable[i][1]) << "entry " << i;
            EXPECT_EQ(q.rgbBlue, kTable[i][2]) << "entry " << i;
            EXPECT_EQ(q.rgbReserved, 0) << "entry " << i;
        }
    }
}

TEST(BuiltInPictures, EachUsesTwoToFourColoursAndNoTwoAreAlike) {
    std::map<QByteArray, int> seen;
    std::pair<int, std::set<int>> previous;
    for (int number = IDB_FIRST_LETTER; number <= IDB_LAST_PICTURE; ++number) {
        SCOPED_TRACE(number);
        const QByteArray dib = readPicture(number);
        ASSERT_EQ(dib.size(), kDibBytes);
        const std::set<int> used = coloursIn(dib, 0, kSide);
        EXPECT_GE(used.size(), 2u);
        EXPECT_LE(used.size(), 4u);
        // Neighbours in number order differ in their colours, so that two keys in a row never
        // look alike at a glance.
        const std::pair<int, std::set<int>> look{mainColour(dib), used};
        EXPECT_NE(look, previous);
        previous = look;

        const auto [it, fresh] = seen.emplace(dib.mid(kPixelOffset), number);
        EXPECT_TRUE(fresh) << "same pixels as picture " << it->second;
    }
}

// Letters and digits stand centred on a plain background: the outer rows and columns hold only
// the background colour, so nothing is cut off at the edges. A digit carries a black shadow.
TEST(BuiltInPictures, LettersAndDigitsStandFreeOnAPlainBackground) {
    for (int number = IDB_FIRST_LETTER; number < IDB_FIRST_OTHER; ++number) {
        SCOPED_TRACE(number);
        const QByteArray dib = readPicture(number);
        ASSERT_EQ(dib.size(), kDibBytes);
        const int background = pixel(dib, 0, 0);
        std::set<int> edge = coloursIn(dib, 0, 4);
        edge.merge(coloursIn(dib, kSide - 4, kSide));
        for (int y = 0; y < kSide; ++y) {
            for (int x : {0, 1, 2, 3, kSide - 4, kSide - 3, kSide - 2, kSide - 1}) {
                edge.insert(pixel(dib, x, y));
            }
        }
        EXPECT_EQ(edge, std::set<int>{background});

        const std::set<int> used = coloursIn(dib, 0, kSide);
        if (number < IDB_FIRST_DIGIT) {
            EXPECT_EQ(used.size(), 2u);
        } else {
            EXPECT_EQ(used.size(), 3u);
            EXPECT_TRUE(used.count(0)) << "no black shadow";
            EXPECT_NE(background, 0);
        }
    }
}
