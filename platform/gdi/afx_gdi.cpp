#include "platform/gdi/afx_gdi.h"

#include <QColor>
#include <QPainter>

#include "platform/gdi/device_context.h"

IMPLEMENT_DYNAMIC(CGdiObject, CObject)
IMPLEMENT_DYNAMIC(CBitmap, CGdiObject)
IMPLEMENT_DYNAMIC(CPalette, CGdiObject)
IMPLEMENT_DYNAMIC(CDC, CObject)

CGdiObject::~CGdiObject() {
    DeleteObject();
}

BOOL CGdiObject::Attach(HGDIOBJ hObject) {
    if (!hObject || m_hObject)
        return FALSE;
    m_hObject = hObject;
    return TRUE;
}

HGDIOBJ CGdiObject::Detach() {
    HGDIOBJ h = m_hObject;
    m_hObject = nullptr;
    return h;
}

BOOL CGdiObject::DeleteObject() {
    if (!m_hObject)
        return FALSE;
    return ::DeleteObject(Detach());
}

int CGdiObject::GetObject(int nCount, LPVOID lpObject) const {
    return ::GetObjectA(m_hObject, nCount, lpObject);
}

HBITMAP CBitmap::GetSafeBitmap() const {
    return m_hObject && m_hObject->kind == GdiObject::Kind::Bitmap ? static_cast<HBITMAP>(m_hObject)
                                                                   : nullptr;
}

HPALETTE CPalette::GetSafePalette() const {
    return m_hObject && m_hObject->kind == GdiObject::Kind::Palette
               ? static_cast<HPALETTE>(m_hObject)
               : nullptr;
}

BOOL CPalette::CreatePalette(const LOGPALETTE* lpLogPalette) {
    return Attach(::CreatePalette(lpLogPalette));
}

BOOL CPalette::CreateHalftonePalette(CDC* pDC) {
    return Attach(::CreateHalftonePalette(pDC ? pDC->m_hDC : nullptr));
}

int CPalette::GetEntryCount() const {
    WORD count = 0;
    return GetObject(sizeof count, &count) ? count : 0;
}

CDC::~CDC() {
    if (m_hDC)
        ::DeleteDC(Detach());
}

BOOL CDC::Attach(HDC hDC) {
    if (!hDC || m_hDC)
        return FALSE;
    m_hDC = hDC;
    return TRUE;
}

HDC CDC::Detach() {
    HDC h = m_hDC;
    m_hDC = nullptr;
    return h;
}

BOOL CDC::CreateCompatibleDC(CDC* pDC) {
    return Attach(::CreateCompatibleDC(pDC ? pDC->m_hDC : nullptr));
}

BOOL CDC::DeleteDC() {
    if (!m_hDC)
        return FALSE;
    return ::DeleteDC(Detach());
}

HPALETTE CDC::SelectPalette(CPalette* pPalette, BOOL bForceBackground) {
    return ::SelectPalette(m_hDC, pPalette ? pPalette->GetSafePalette() : nullptr,
                           bForceBackground);
}

HPALETTE CDC::SelectPalette(HPALETTE hPalette, BOOL bForceBackground) {
    return ::SelectPalette(m_hDC, hPalette, bForceBackground);
}

UINT CDC::RealizePalette() {
    return ::RealizePalette(m_hDC);
}

HGDIOBJ CDC::SelectObject(CBitmap* pBitmap) {
    return ::SelectObject(m_hDC, pBitmap ? pBitmap->GetSafeBitmap() : nullptr);
}

HGDIOBJ CDC::SelectObject(HGDIOBJ hObject) {
    return ::SelectObject(m_hDC, hObject);
}

int CDC::SetStretchBltMode(int nStretchMode) {
    return ::SetStretchBltMode(m_hDC, nStretchMode);
}

int CDC::GetStretchBltMode() const {
    return ::GetStretchBltMode(m_hDC);
}

BOOL CDC::BitBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc,
                 DWORD dwRop) {
    return ::BitBlt(m_hDC, x, y, nWidth, nHeight, pSrcDC ? pSrcDC->m_hDC : nullptr, xSrc, ySrc,
                    dwRop);
}

BOOL CDC::StretchBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc,
                     int nSrcWidth, int nSrcHeight, DWORD dwRop) {
    return ::StretchBlt(m_hDC, x, y, nWidth, nHeight, pSrcDC ? pSrcDC->m_hDC : nullptr, xSrc, ySrc,
                        nSrcWidth, nSrcHeight, dwRop);
}

int CDC::DrawText(LPCSTR lpszString, int nCount, LPRECT lpRect, UINT nFormat) {
    return ::DrawTextA(m_hDC, lpszString, nCount, lpRect, nFormat);
}

void CDC::FillSolidRect(LPCRECT lpRect, COLORREF clr) {
    if (lpRect)
        FillSolidRect(lpRect->left, lpRect->top, lpRect->right - lpRect->left,
                      lpRect->bottom - lpRect->top, clr);
}

void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF clr) {
    if (cx <= 0 || cy <= 0)
        return;
    QPainter* painter = pibo::gdi::SurfacePainter(m_hDC);
    if (!painter)
        return;
    painter->fillRect(x, y, cx, cy,
                      QColor(static_cast<int>(clr & 0xFF), static_cast<int>((clr >> 8) & 0xFF),
                             static_cast<int>((clr >> 16) & 0xFF)));
}
