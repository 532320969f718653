#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/gdi/dib_limits.h"
#include "platform/gdi/gdi.h"
#include "platform/win/resource_module.h"
#include "res/module.h"
#include "tests/support/bmp_fixtures.h"

// LoadImageA: bitmap files at their own size and depth, and the bitmap resources of a module.

namespace {

constexpr UINT kFileFlags = LR_LOADFROMFILE | LR_CREATEDIBSECTION | LR_DEFAULTSIZE;
constexpr UINT kResourceFlags = LR_CREATEDIBSECTION | LR_DEFAULTSIZE;

HBITMAP LoadFile(const std::string& path) {
    return static_cast<HBITMAP>(LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, kFileFlags));
}

class LoadImageTest : public testing::Test {
protected:
    std::string Path(const char* name) const { return dir.path().toStdString() + "/" + name; }
    std::string Write(const char* name, const std::vector<BYTE>& bytes) const {
        const std::string path = Path(name);
        EXPECT_TRUE(bmp_fixtures::WriteFile(path, bytes));
        return path;
    }
    QTemporaryDir dir;
};

TEST_F(LoadImageTest, ReadsABitmapFileAtItsOwnSizeAndDepth) {
    const std::string path =
        Write("B.bmp", bmp_fixtures::BmpFile(bmp_fixtures::TrueColorPicture(640, 480, 24)));
    HBITMAP bitmap = LoadFile(path);
    ASSERT_NE(bitmap, nullptr);
    BITMAP bm{};
    ASSERT_TRUE(GetObjectA(bitmap, sizeof bm, &bm));
    EXPECT_EQ(bm.bmWidth, 640);
    EXPECT_EQ(bm.bmHeight, 480);
    EXPECT_EQ(bm.bmBitsPixel, 24);
    EXPECT_TRUE(DeleteObject(bitmap));
}

TEST_F(LoadImageTest, WhatIsNotABitmapFileGivesNothing) {
    const std::string good =
        Write("good.bmp", bmp_fixtures::BmpFile(bmp_fixtures::IndexedPicture(8, 8, 8, 4)));
    Write("empty.bmp", {});
    Write("text.bmp", {'h', 'e', 'l', 'l', 'o'});
    ASSERT_EQ(mkdir(Path("folder.bmp").c_str(), 0755), 0);
    ASSERT_EQ(mkfifo(Path("pipe.bmp").c_str(), 0644), 0);
    ASSERT_EQ(symlink(Path("missing.bmp").c_str(), Path("dangling.bmp").c_str()), 0);
    {
        // A file over the size limit is refused without being read: a sparse file costs nothing.
        const int fd = open(Path("huge.bmp").c_str(), O_CREAT | O_WRONLY, 0644);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(ftruncate(fd, static_cast<off_t>(pibo::gdi::kMaxBitmapFileBytes + 1)), 0);
        close(fd);
    }
    for (const char* name : {"missing.bmp", "empty.bmp", "text.bmp", "folder.bmp", "pipe.bmp",
                             "dangling.bmp", "huge.bmp"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(LoadFile(Path(name)), nullptr); // and the pipe does not block
    }
    EXPECT_EQ(LoadFile(""), nullptr);
    EXPECT_EQ(LoadImageA(nullptr, nullptr, IMAGE_BITMAP, 0, 0, kFileFlags), nullptr);
    // Only bitmaps, at their own size.
    EXPECT_EQ(LoadImageA(nullptr, good.c_str(), 1 /* IMAGE_ICON */, 0, 0, kFileFlags), nullptr);
    EXPECT_EQ(LoadImageA(nullptr, good.c_str(), IMAGE_BITMAP, 16, 16, kFileFlags), nullptr);
    HBITMAP bitmap = LoadFile(good);
    EXPECT_NE(bitmap, nullptr);
    DeleteObject(bitmap);
}

TEST_F(LoadImageTest, ReadsResourcesByNumberAndNameFromTheModulesFolder) {
    const std::string folder = dir.path().toStdString() + "/";
    ResourceModule module{};
    module.bitmapFolder = folder.c_str();
    Write("129.dib", bmp_fixtures::PackedDib(bmp_fixtures::BuiltInLikePicture()));
    Write("LOGO.dib", bmp_fixtures::PackedDib(bmp_fixtures::IndexedPicture(5, 5, 8, 3)));
    Write("130.dib", {1, 2, 3});

    HBITMAP bitmap = static_cast<HBITMAP>(
        LoadImageA(&module, MAKEINTRESOURCE(129), IMAGE_BITMAP, 0, 0, kResourceFlags));
    ASSERT_NE(bitmap, nullptr);
    BITMAP bm{};
    GetObjectA(bitmap, sizeof bm, &bm);
    EXPECT_EQ(bm.bmWidth, 250);
    EXPECT_EQ(bm.bmBitsPixel, 4);
    DeleteObject(bitmap);

    bitmap = static_cast<HBITMAP>(LoadImageA(&module, "LOGO", IMAGE_BITMAP, 0, 0, kResourceFlags));
    EXPECT_NE(bitmap, nullptr);
    DeleteObject(bitmap);

    EXPECT_EQ(LoadImageA(&module, MAKEINTRESOURCE(130), IMAGE_BITMAP, 0, 0, kResourceFlags),
              nullptr);
    EXPECT_EQ(LoadImageA(&module, MAKEINTRESOURCE(131), IMAGE_BITMAP, 0, 0, kResourceFlags),
              nullptr);
    EXPECT_EQ(LoadImageA(&module, "../x", IMAGE_BITMAP, 0, 0, kResourceFlags), nullptr);
    EXPECT_EQ(LoadImageA(nullptr, MAKEINTRESOURCE(129), IMAGE_BITMAP, 0, 0, kResourceFlags),
              nullptr);
}

TEST(LoadImage, TheProgramsOwnPicturesAreResources) {
    for (UINT number : {129u, 154u, 155u, 164u, 165u, 170u}) {
        SCOPED_TRACE(number);
        HBITMAP bitmap = static_cast<HBITMAP>(
            LoadImageA(&g_piboModule, MAKEINTRESOURCE(number), IMAGE_BITMAP, 0, 0, kResourceFlags));
        ASSERT_NE(bitmap, nullptr);
        BITMAP bm{};
        GetObjectA(bitmap, sizeof bm, &bm);
        EXPECT_EQ(bm.bmWidth, 250);
        EXPECT_EQ(bm.bmHeight, 250);
        EXPECT_EQ(bm.bmBitsPixel, 4);
        DeleteObject(bitmap);
    }
    for (UINT number : {128u, 171u})
        EXPECT_EQ(
            LoadImageA(&g_piboModule, MAKEINTRESOURCE(number), IMAGE_BITMAP, 0, 0, kResourceFlags),
            nullptr);
}

} // namespace
