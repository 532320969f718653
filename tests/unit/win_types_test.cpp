#include <gtest/gtest.h>

#include "platform/win/windows.h"

// The records keep their Windows layouts, so that offsets and sizes read in tests and in the
// bitmap code mean what they mean on Windows (64-bit build: the pixel pointer is 8 bytes).
TEST(WinTypes, RecordLayouts) {
    EXPECT_EQ(sizeof(RECT), 16u);
    EXPECT_EQ(sizeof(BITMAPINFOHEADER), 40u);
    EXPECT_EQ(sizeof(RGBQUAD), 4u);
    EXPECT_EQ(sizeof(PALETTEENTRY), 4u);
    EXPECT_EQ(offsetof(BITMAP, bmBits), 24u);
    EXPECT_EQ(offsetof(DIBSECTION, dsBmih), sizeof(BITMAP));
    EXPECT_EQ(offsetof(LOGPALETTE, palPalEntry), 4u);
    EXPECT_EQ(SND_FILENAME | SND_ASYNC, 0x20001u);
    EXPECT_EQ(LR_LOADFROMFILE | LR_CREATEDIBSECTION | LR_DEFAULTSIZE, 0x2050u);
    EXPECT_EQ(DT_SINGLELINE | DT_VCENTER | DT_CENTER, 0x25u);
    EXPECT_EQ(RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW, 0x105u);
}
