// DrawDib: paints a bitmap given by header, colour table and pixels. Surfaces are true colour, so
// the palette flags change nothing painted.
#include "platform/gdi/drawdib.h"

#include "platform/gdi/device_context.h"
#include "platform/gdi/drawdib_context.h"
#include "platform/gdi/gdi_probe.h"
#include "platform/gdi/paint_dib.h"

HDRAWDIB DrawDibOpen() {
    if (pibo::gdi::TakeFault(pibo::gdi::GdiFault::DrawDibOpen))
        return nullptr;
    return new DrawDibContext;
}

BOOL DrawDibClose(HDRAWDIB hdd) {
    if (!hdd)
        return FALSE;
    delete hdd;
    return TRUE;
}

BOOL DrawDibDraw(HDRAWDIB hdd, HDC hdc, int xDst, int yDst, int dxDst, int dyDst,
                 BITMAPINFOHEADER* lpbi, LPVOID lpBits, int xSrc, int ySrc, int dxSrc, int dySrc,
                 UINT wFlags) {
    using namespace pibo::gdi;
    if (!hdd || !pibo::gdi::IsSurface(hdc))
        return FALSE;
    hdd->lastFlags = wFlags;
    ++hdd->draws;
    if (TakeFault(GdiFault::DrawDibDraw))
        return FALSE;
    DibPixels pixels;
    if (!DescribeDib(lpbi, lpBits, pixels))
        return FALSE;
    // -1 stands for the image's own width or height, in the source as in the destination.
    const LONG srcWidth = dxSrc == -1 ? pixels.width : dxSrc;
    const LONG srcHeight = dySrc == -1 ? pixels.height : dySrc;
    const LONG dstWidth = dxDst == -1 ? pixels.width : dxDst;
    const LONG dstHeight = dyDst == -1 ? pixels.height : dyDst;
    if (xSrc < 0 || ySrc < 0 || srcWidth < 0 || srcHeight < 0 || dstWidth < 0 || dstHeight < 0 ||
        srcWidth > pixels.width - xSrc || srcHeight > pixels.height - ySrc)
        return FALSE;
    return PaintDib(hdc, {xDst, yDst, dstWidth, dstHeight}, pixels,
                    {xSrc, ySrc, srcWidth, srcHeight})
               ? TRUE
               : FALSE;
}

namespace pibo::gdi {

UINT DrawDibLastFlags(HDRAWDIB hdd) {
    return hdd ? hdd->lastFlags : 0;
}

int DrawDibDrawCount(HDRAWDIB hdd) {
    return hdd ? hdd->draws : 0;
}

} // namespace pibo::gdi
