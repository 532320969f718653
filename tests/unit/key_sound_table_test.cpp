#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "view/KeySoundTable.h"

namespace {

// The expected table, written out by number so that it does not share the names the table is
// built from: every sound file with the codes that play it.
const std::map<std::string, std::vector<UINT>>& ExpectedRows() {
    static const std::map<std::string, std::vector<UINT>> rows = {
        {"f1.wav", {1, 18, 92, 112, 124}},
        {"f2.wav", {2, 19, 93, 113, 125}},
        {"f3.wav", {3, 27, 106, 114, 126}},
        {"f4.wav", {4, 33, 107, 115, 127}},
        {"f5.wav", {34, 108, 116, 128}},
        {"f6.wav", {35, 109, 117, 129}},
        {"f7.wav", {36, 110, 118, 130}},
        {"f8.wav", {37, 111, 119, 131}},
        {"f9.wav", {38, 120, 132, 144}},
        {"f10.wav", {39, 121, 133, 145}},
        {"f11.wav", {40, 122, 134, 160}},
        {"f12.wav", {45, 123, 135, 161}},
        {"back.wav", {8, 46, 162}},
        {"tab.wav", {9, 44, 163}},
        {"enter.wav", {12, 13, 41, 91, 165}},
        {"shift.wav", {16, 43}},
        {"ctrl.wav", {17, 47}},
        {"caps.wav", {20, 164}},
        {"space.wav", {32, 42}},
        {"0.wav", {96}},
        {"1.wav", {97}},
        {"2.wav", {98}},
        {"3.wav", {99}},
        {"4.wav", {100}},
        {"5.wav", {101}},
        {"6.wav", {102}},
        {"7.wav", {103}},
        {"8.wav", {104}},
        {"9.wav", {105}},
    };
    return rows;
}

} // namespace

TEST(KeySoundTable, EveryCodeFrom0To255MatchesTheTable) {
    std::map<UINT, std::string> expected;
    for (const auto& [file, codes] : ExpectedRows())
        for (UINT code : codes)
            ASSERT_TRUE(expected.emplace(code, file).second) << "code " << code << " listed twice";
    ASSERT_EQ(ExpectedRows().size(), 29u);
    ASSERT_EQ(expected.size(), 81u);

    int entries = 0;
    for (UINT code = 0; code <= 255; ++code) {
        LPCSTR file = LookupKeySound(code);
        auto it = expected.find(code);
        if (it == expected.end()) {
            EXPECT_EQ(file, nullptr) << "code " << code << " should have no entry";
        } else {
            ASSERT_NE(file, nullptr) << "code " << code << " should play " << it->second;
            EXPECT_EQ(std::string(file), it->second) << "code " << code;
            ++entries;
        }
    }
    EXPECT_EQ(entries, 81);
}

TEST(KeySoundTable, LettersDigitsAndLargeCodesHaveNoEntry) {
    for (UINT code = 48; code <= 90; ++code)
        EXPECT_EQ(LookupKeySound(code), nullptr) << code;
    for (UINT code : {0u, 166u, 186u, 255u, 256u, 0x10000u, 0xFFFFFFFFu})
        EXPECT_EQ(LookupKeySound(code), nullptr) << code;
}

TEST(KeySoundTable, NamesAreLowercaseWavFilesAndTwentyNineDistinct) {
    std::set<std::string> names;
    for (UINT code = 0; code <= 165; ++code) {
        if (LPCSTR file = LookupKeySound(code)) {
            std::string name(file);
            ASSERT_GT(name.size(), 4u);
            EXPECT_EQ(name.substr(name.size() - 4), ".wav");
            for (char c : name)
                EXPECT_FALSE(c >= 'A' && c <= 'Z') << name;
            names.insert(name);
        }
    }
    EXPECT_EQ(names.size(), 29u);
    // The keypad's 5 and the top-row 5 share one file.
    EXPECT_STREQ(LookupKeySound(101), "5.wav");
}
