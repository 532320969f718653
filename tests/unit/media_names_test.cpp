#include <gtest/gtest.h>

#include "media/MediaFiles.h"
#include "media/PictureNumbers.h"

// Picture numbers by key and the media paths and file names.

TEST(MediaNames, PictureNumbers) {
    struct Case {
        UINT key;
        UINT picture;
    };
    for (Case c : {Case{'A', 129}, Case{'B', 130}, Case{'Z', 154}}) {
        EXPECT_TRUE(IsLetterKey(c.key));
        EXPECT_EQ(LetterPictureNumber(c.key), c.picture);
    }
    for (Case c : {Case{'0', 155}, Case{'5', 160}, Case{'9', 164}}) {
        EXPECT_TRUE(IsDigitKey(c.key));
        EXPECT_EQ(DigitPictureNumber(c.key), c.picture);
    }
    // Neighbours of the ranges, and the keypad digits, are other keys.
    for (UINT key : {UINT{'@'}, UINT{'['}, UINT{'/'}, UINT{':'}, UINT{101}, UINT{0}})
        EXPECT_FALSE(IsLetterKey(key) || IsDigitKey(key)) << key;
}

TEST(MediaNames, OtherKeyPicturesCycleThroughSix) {
    UINT count = 0;
    std::vector<UINT> shown;
    for (int press = 0; press < 7; ++press) {
        shown.push_back(OtherKeyPictureNumber(count));
        count = NextOtherKeyCount(count);
    }
    EXPECT_EQ(shown, (std::vector<UINT>{165, 166, 167, 168, 169, 170, 165}));
}

TEST(MediaNames, FolderPathsAndFileNames) {
    EXPECT_EQ(MediaFolderPath("/home/kim", "sounds/"), "/home/kim/sounds/");
    EXPECT_EQ(MediaFolderPath("/home/kim", "mypics/"), "/home/kim/mypics/");
    // The separator is appended even after a root that ends in one.
    EXPECT_EQ(MediaFolderPath("/", "sounds/"), "//sounds/");
    // A missing folder string leaves the base directory and its separator.
    EXPECT_EQ(MediaFolderPath("/home/kim", ""), "/home/kim/");
    EXPECT_EQ(StartupSoundPath("/home/kim"), "/home/kim/sounds/takeoff.wav");

    EXPECT_EQ(MediaFolderPath("/d", "sounds/") + KeyFileName('A', kSoundExtension),
              "/d/sounds/A.wav");
    EXPECT_EQ(KeyFileName('7', kSoundExtension), "7.wav");
    EXPECT_EQ(KeyFileName('B', kPictureExtension), "B.bmp");
    EXPECT_STREQ(kLButtonDownSound, "enter.wav");
    EXPECT_STREQ(kLButtonUpSound, "tab.wav");
    EXPECT_STREQ(kRButtonDownSound, "ctrl.wav");
    EXPECT_STREQ(kRButtonUpSound, "back.wav");
}
