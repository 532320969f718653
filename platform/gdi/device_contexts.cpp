// Device contexts: the screen's, memory contexts and surface contexts over a QPainter.
#include "platform/gdi/device_context.h"
#include "platform/gdi/gdi.h"
#include "platform/gdi/surface_dc.h"

HDC CreateSurfaceDC(QPainter* painter, int width, int height) {
    if (!painter)
        return nullptr;
    auto* dc = new DeviceContext(DeviceContext::Kind::Surface);
    dc->painter = painter;
    dc->width = width;
    dc->height = height;
    return dc;
}

HDC GetWindowDC(HWND hWnd) {
    // Only the whole screen's context is asked for; it serves to make palettes and memory contexts.
    if (hWnd)
        return nullptr;
    return new DeviceContext(DeviceContext::Kind::Screen);
}

int ReleaseDC(HWND, HDC hDC) {
    if (!hDC || hDC->kind == DeviceContext::Kind::Memory)
        return 0;
    delete hDC;
    return 1;
}

HDC CreateCompatibleDC(HDC) {
    return new DeviceContext(DeviceContext::Kind::Memory);
}

BOOL DeleteDC(HDC hdc) {
    if (!hdc)
        return FALSE;
    delete hdc;
    return TRUE;
}

int SetStretchBltMode(HDC hdc, int mode) {
    // BLACKONWHITE, WHITEONBLACK, COLORONCOLOR and HALFTONE (1 to 4).
    if (!hdc || mode < 1 || mode > 4)
        return 0;
    const int previous = hdc->stretchMode;
    hdc->stretchMode = mode;
    return previous;
}

int GetStretchBltMode(HDC hdc) {
    return hdc ? hdc->stretchMode : 0;
}
