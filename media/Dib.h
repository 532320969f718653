// CDib: one picture held as a DIB section, with a palette made for it, loaded from a bitmap file
// or a bitmap resource and painted stretched into a rectangle, through DrawDib or bit-block
// transfers.
#pragma once

#include "platform/gdi/afx_gdi.h"
#include "platform/gdi/drawdib.h"

class CDib : public CBitmap {
    DECLARE_DYNAMIC(CDib)
public:
    CDib();
    ~CDib() override;

    // Each returns nonzero when the bitmap was loaded, attached and given a palette. Every load
    // deletes the bitmap held before, whether it succeeds or not.
    BOOL LoadFromFile(LPCSTR pszPath);
    BOOL LoadFromResource(HINSTANCE hInstance, LPCSTR pszName);
    BOOL AttachBitmap(HBITMAP hBitmap);

    // Frees the bitmap, the palette and the DrawDib handle; nonzero when a bitmap was held.
    BOOL Release();

    // Paints the source rectangle (null: the whole bitmap) into the destination rectangle (null:
    // the source's), with `pPalette` (null: m_palette) selected as a foreground or background
    // palette; 0 when no bitmap is held or the drawing failed.
    BOOL Paint(CDC* pDC, LPCRECT pDestRect, LPCRECT pSourceRect, BOOL bUseDrawDib,
               CPalette* pPalette, BOOL bForeground);

    // Makes a palette from the colour table, or a halftone palette for a bitmap without one, and
    // attaches it to `palette`, which must hold none.
    BOOL BuildPalette(CPalette& palette);
    // Copies up to `nCount` colour-table entries; 0 without a colour table or a bitmap.
    UINT ReadColorTable(RGBQUAD* pColors, UINT nCount);

    BITMAP m_bitmapDesc;
    CPalette m_palette;
    HDRAWDIB m_hDrawDib;
};

// The bitmap's width and height, read from the bitmap itself; (0, 0) when none is held.
SIZE BitmapSize(const CBitmap& bitmap);

// Copies the source rectangle (null: the whole bitmap) into the destination rectangle (null: the
// source's) of `pDC`, stretched with COLORONCOLOR when the sizes differ.
BOOL BlitBitmap(CDC* pDC, CBitmap& bitmap, LPCRECT pDestRect, LPCRECT pSourceRect);
