// DrawDib: draws a device-independent bitmap given by header, colour table and pixels.
#pragma once

#include "platform/win/windows.h"

HDRAWDIB DrawDibOpen();
BOOL DrawDibClose(HDRAWDIB hdd);
// Width and height -1, in the source as in the destination, mean the image's own size.
BOOL DrawDibDraw(HDRAWDIB hdd, HDC hdc, int xDst, int yDst, int dxDst, int dyDst,
                 BITMAPINFOHEADER* lpbi, LPVOID lpBits, int xSrc, int ySrc, int dxSrc, int dySrc,
                 UINT wFlags);
