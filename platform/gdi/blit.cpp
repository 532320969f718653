// Bit-block transfers from a memory context's bitmap onto a surface, SRCCOPY only. Every stretch
// mode drops or repeats whole rows and columns, as COLORONCOLOR does: pictures keep their colours.
#include "platform/gdi/device_context.h"
#include "platform/gdi/gdi.h"
#include "platform/gdi/paint_dib.h"

namespace {

BOOL Transfer(HDC hdcDest, pibo::gdi::Rect dst, HDC hdcSrc, pibo::gdi::Rect src, DWORD rop) {
    using namespace pibo::gdi;
    if (!IsSurface(hdcDest) || !hdcSrc || hdcSrc->kind != DeviceContext::Kind::Memory ||
        rop != SRCCOPY)
        return FALSE;
    DibPixels pixels;
    if (!DescribeDib(*hdcSrc->bitmap, pixels))
        return FALSE;
    if (src.x < 0 || src.y < 0 || src.width < 0 || src.height < 0 || dst.width < 0 ||
        dst.height < 0 || src.width > pixels.width - src.x || src.height > pixels.height - src.y)
        return FALSE;
    return PaintDib(hdcDest, dst, pixels, src) ? TRUE : FALSE;
}

} // namespace

BOOL BitBlt(HDC hdc, int x, int y, int cx, int cy, HDC hdcSrc, int x1, int y1, DWORD rop) {
    return Transfer(hdc, {x, y, cx, cy}, hdcSrc, {x1, y1, cx, cy}, rop);
}

BOOL StretchBlt(HDC hdcDest, int xDest, int yDest, int wDest, int hDest, HDC hdcSrc, int xSrc,
                int ySrc, int wSrc, int hSrc, DWORD rop) {
    return Transfer(hdcDest, {xDest, yDest, wDest, hDest}, hdcSrc, {xSrc, ySrc, wSrc, hSrc}, rop);
}
