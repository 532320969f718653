// Which built-in picture a key shows: letters and top-row digits have their own, every other key
// shows the next of six pictures in turn.
#pragma once

#include "platform/win/types.h"
#include "res/resource.h"

inline constexpr UINT kLetterPictureOffset = IDB_FIRST_LETTER - 'A'; // A (65) shows 129
inline constexpr UINT kDigitPictureOffset = IDB_FIRST_DIGIT - '0';   // 0 (48) shows 155
inline constexpr UINT kFirstOtherKeyPicture = IDB_FIRST_OTHER;       // 165
inline constexpr UINT kOtherKeyPictureCount = IDB_LAST_PICTURE - IDB_FIRST_OTHER + 1; // 6

constexpr bool IsLetterKey(UINT nChar) {
    return nChar >= 'A' && nChar <= 'Z';
}
constexpr bool IsDigitKey(UINT nChar) {
    return nChar >= '0' && nChar <= '9';
}
constexpr UINT LetterPictureNumber(UINT nChar) {
    return nChar + kLetterPictureOffset;
}
constexpr UINT DigitPictureNumber(UINT nChar) {
    return nChar + kDigitPictureOffset;
}
// The picture for the position in the cycle of other-key pictures, 0 to 5.
constexpr UINT OtherKeyPictureNumber(UINT nOtherKeyCount) {
    return kFirstOtherKeyPicture + nOtherKeyCount;
}
// The position after `nOtherKeyCount`, back to 0 after the last picture.
constexpr UINT NextOtherKeyCount(UINT nOtherKeyCount) {
    return nOtherKeyCount + 1 >= kOtherKeyPictureCount ? 0 : nOtherKeyCount + 1;
}

static_assert(LetterPictureNumber('A') == 129 && LetterPictureNumber('Z') == 154);
static_assert(DigitPictureNumber('0') == 155 && DigitPictureNumber('9') == 164);
static_assert(OtherKeyPictureNumber(5) == 170 && NextOtherKeyCount(5) == 0);
