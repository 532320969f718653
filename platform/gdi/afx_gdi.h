// The framework's wrappers of graphics objects and device contexts. Each wrapper owns the handle
// it holds and frees it in its destructor.
#pragma once

#include "platform/framework/object.h"
#include "platform/gdi/gdi.h"

class CDC;

class CGdiObject : public CObject {
    DECLARE_DYNAMIC(CGdiObject)
public:
    CGdiObject() = default;
    ~CGdiObject() override;

    HGDIOBJ GetSafeHandle() const { return m_hObject; }
    // Takes ownership of `hObject`; false for a null handle. The wrapper must hold none.
    BOOL Attach(HGDIOBJ hObject);
    HGDIOBJ Detach();
    // Frees the held object; false when none is held or it cannot be freed.
    BOOL DeleteObject();
    int GetObject(int nCount, LPVOID lpObject) const;

    HGDIOBJ m_hObject = nullptr;
};

class CBitmap : public CGdiObject {
    DECLARE_DYNAMIC(CBitmap)
public:
    // The held bitmap, or null when the wrapper holds none or something else.
    HBITMAP GetSafeBitmap() const;
    operator HBITMAP() const { return GetSafeBitmap(); }
    int GetBitmap(BITMAP* pBitMap) const { return GetObject(sizeof(BITMAP), pBitMap); }
};

class CPalette : public CGdiObject {
    DECLARE_DYNAMIC(CPalette)
public:
    // The held palette, or null when the wrapper holds none or something else.
    HPALETTE GetSafePalette() const;
    operator HPALETTE() const { return GetSafePalette(); }
    BOOL CreatePalette(const LOGPALETTE* lpLogPalette);
    BOOL CreateHalftonePalette(CDC* pDC);
    int GetEntryCount() const;
};

class CDC : public CObject {
    DECLARE_DYNAMIC(CDC)
public:
    CDC() = default;
    // Deletes a context still held.
    ~CDC() override;

    HDC GetSafeHdc() const { return m_hDC; }
    operator HDC() const { return m_hDC; }
    BOOL Attach(HDC hDC);
    HDC Detach();
    BOOL CreateCompatibleDC(CDC* pDC);
    BOOL DeleteDC();

    // The palette selected before, or null when the selection failed (an empty CPalette).
    HPALETTE SelectPalette(CPalette* pPalette, BOOL bForceBackground);
    HPALETTE SelectPalette(HPALETTE hPalette, BOOL bForceBackground);
    UINT RealizePalette();
    // The object selected before, or null when the selection failed.
    HGDIOBJ SelectObject(CBitmap* pBitmap);
    HGDIOBJ SelectObject(HGDIOBJ hObject);

    int SetStretchBltMode(int nStretchMode);
    int GetStretchBltMode() const;
    BOOL BitBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc,
                DWORD dwRop);
    BOOL StretchBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc,
                    int nSrcWidth, int nSrcHeight, DWORD dwRop);

    int DrawText(LPCSTR lpszString, int nCount, LPRECT lpRect, UINT nFormat);
    // Fills the rectangle with one colour, as when erasing a background.
    void FillSolidRect(LPCRECT lpRect, COLORREF clr);
    void FillSolidRect(int x, int y, int cx, int cy, COLORREF clr);

    HDC m_hDC = nullptr;
};
