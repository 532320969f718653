#include "media/Dib.h"

#include <cstring>
#include <memory>

IMPLEMENT_DYNAMIC(CDib, CBitmap)

namespace {

constexpr UINT kMaxColorEntries = 256;
constexpr WORD kPaletteVersion = 0x300;

// The header DrawDib is given, with room for a full colour table after it. Built on the stack:
// painting takes no memory from the heap.
struct DrawDibHeader {
    BITMAPINFOHEADER bmiHeader;
    RGBQUAD bmiColors[kMaxColorEntries];
};
static_assert(sizeof(DrawDibHeader) == 40 + 1024);

} // namespace

CDib::CDib() : m_bitmapDesc{}, m_hDrawDib(nullptr) {}

CDib::~CDib() {
    Release();
}

BOOL CDib::LoadFromFile(LPCSTR pszPath) {
    HANDLE h = LoadImageA(nullptr, pszPath, IMAGE_BITMAP, 0, 0,
                          LR_LOADFROMFILE | LR_CREATEDIBSECTION | LR_DEFAULTSIZE);
    return AttachBitmap(static_cast<HBITMAP>(h));
}

BOOL CDib::LoadFromResource(HINSTANCE hInstance, LPCSTR pszName) {
    HANDLE h =
        LoadImageA(hInstance, pszName, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION | LR_DEFAULTSIZE);
    return AttachBitmap(static_cast<HBITMAP>(h));
}

BOOL CDib::AttachBitmap(HBITMAP hBitmap) {
    DeleteObject();
    if (!Attach(hBitmap))
        return FALSE;
    if (!GetObject(sizeof(BITMAP), &m_bitmapDesc)) {
        // Without its description the bitmap cannot be painted, and the description left from the
        // bitmap before points at freed pixels: let both go.
        std::memset(&m_bitmapDesc, 0, sizeof m_bitmapDesc);
        DeleteObject();
        return FALSE;
    }
    m_palette.DeleteObject();
    return BuildPalette(m_palette);
}

BOOL CDib::Release() {
    m_palette.DeleteObject();
    if (m_hDrawDib) {
        DrawDibClose(m_hDrawDib);
        m_hDrawDib = nullptr;
    }
    std::memset(&m_bitmapDesc, 0, sizeof m_bitmapDesc);
    return DeleteObject();
}

BOOL CDib::Paint(CDC* pDC, LPCRECT pDestRect, LPCRECT pSourceRect, BOOL bUseDrawDib,
                 CPalette* pPalette, BOOL bForeground) {
    if (!m_hObject || !pDC)
        return FALSE;

    HPALETTE hOldPalette = pDC->SelectPalette(pPalette ? pPalette : &m_palette, !bForeground);
    pDC->RealizePalette();

    BOOL bResult = FALSE;
    if (bUseDrawDib) {
        // (0, 0, -1, -1) stands for the whole bitmap at its own size.
        const RECT source = pSourceRect ? *pSourceRect : RECT{0, 0, -1, -1};
        const RECT dest = pDestRect ? *pDestRect : source;
        if (!m_hDrawDib)
            m_hDrawDib = DrawDibOpen();
        DIBSECTION ds;
        if (m_hDrawDib && GetObject(sizeof(DIBSECTION), &ds)) {
            DrawDibHeader info{};
            info.bmiHeader = ds.dsBmih;
            // A bit-field bitmap's masks stand where the colour table would.
            if (ds.dsBmih.biCompression == BI_BITFIELDS)
                std::memcpy(info.bmiColors, ds.dsBitfields, sizeof ds.dsBitfields);
            else
                ReadColorTable(info.bmiColors, kMaxColorEntries);
            bResult = DrawDibDraw(m_hDrawDib, pDC->GetSafeHdc(), dest.left, dest.top,
                                  dest.right - dest.left, dest.bottom - dest.top, &info.bmiHeader,
                                  m_bitmapDesc.bmBits, source.left, source.top,
                                  source.right - source.left, source.bottom - source.top,
                                  bForeground ? 0 : DDF_BACKGROUNDPAL);
        }
    } else {
        bResult = BlitBitmap(pDC, *this, pDestRect, pSourceRect);
    }

    if (hOldPalette)
        pDC->SelectPalette(hOldPalette, TRUE);
    return bResult;
}

BOOL CDib::BuildPalette(CPalette& palette) {
    if (palette.GetSafeHandle())
        return FALSE;
    auto colors = std::make_unique<RGBQUAD[]>(kMaxColorEntries);
    const UINT nColors = ReadColorTable(colors.get(), kMaxColorEntries);
    if (nColors > 0) {
        const std::size_t size = offsetof(LOGPALETTE, palPalEntry) + nColors * sizeof(PALETTEENTRY);
        auto record = std::make_unique<BYTE[]>(size);
        auto* pLogPal = reinterpret_cast<LOGPALETTE*>(record.get());
        pLogPal->palVersion = kPaletteVersion;
        pLogPal->palNumEntries = static_cast<WORD>(nColors);
        for (UINT i = 0; i < nColors; ++i) {
            // Colour entries are stored blue first, palette entries red first.
            pLogPal->palPalEntry[i].peRed = colors[i].rgbRed;
            pLogPal->palPalEntry[i].peGreen = colors[i].rgbGreen;
            pLogPal->palPalEntry[i].peBlue = colors[i].rgbBlue;
            pLogPal->palPalEntry[i].peFlags = 0;
        }
        return palette.CreatePalette(pLogPal);
    }
    // No colour table: more than 8 bits per pixel.
    CDC screen;
    screen.Attach(GetWindowDC(nullptr));
    const BOOL bResult = palette.CreateHalftonePalette(&screen);
    ReleaseDC(nullptr, screen.Detach());
    return bResult;
}

UINT CDib::ReadColorTable(RGBQUAD* pColors, UINT nCount) {
    HDC hScreen = GetWindowDC(nullptr);
    HDC hMemDC = CreateCompatibleDC(hScreen);
    HGDIOBJ hOld = SelectObject(hMemDC, m_hObject);
    const UINT nRead = hOld ? GetDIBColorTable(hMemDC, 0, nCount, pColors) : 0;
    if (hOld)
        SelectObject(hMemDC, hOld);
    DeleteDC(hMemDC);
    ReleaseDC(nullptr, hScreen);
    return nRead;
}

SIZE BitmapSize(const CBitmap& bitmap) {
    BITMAP bm;
    if (!GetObjectA(bitmap.GetSafeHandle(), sizeof(BITMAP), &bm))
        return SIZE{0, 0};
    return SIZE{bm.bmWidth, bm.bmHeight};
}

BOOL BlitBitmap(CDC* pDC, CBitmap& bitmap, LPCRECT pDestRect, LPCRECT pSourceRect) {
    if (!pDC)
        return FALSE;
    RECT source;
    if (pSourceRect) {
        source = *pSourceRect;
    } else {
        const SIZE size = BitmapSize(bitmap);
        source = RECT{0, 0, size.cx, size.cy};
    }
    const RECT dest = pDestRect ? *pDestRect : source;
    const int nSrcWidth = source.right - source.left;
    const int nSrcHeight = source.bottom - source.top;
    const int nDestWidth = dest.right - dest.left;
    const int nDestHeight = dest.bottom - dest.top;

    CDC memDC;
    if (!memDC.CreateCompatibleDC(pDC))
        return FALSE;
    HGDIOBJ hOld = memDC.SelectObject(&bitmap);
    // A bitmap that cannot be selected cannot be copied.
    if (!hOld)
        return FALSE;
    BOOL bResult;
    if (nDestWidth == nSrcWidth && nDestHeight == nSrcHeight) {
        bResult = pDC->BitBlt(dest.left, dest.top, nDestWidth, nDestHeight, &memDC, source.left,
                              source.top, SRCCOPY);
    } else {
        pDC->SetStretchBltMode(COLORONCOLOR);
        bResult = pDC->StretchBlt(dest.left, dest.top, nDestWidth, nDestHeight, &memDC, source.left,
                                  source.top, nSrcWidth, nSrcHeight, SRCCOPY);
    }
    memDC.SelectObject(hOld);
    memDC.DeleteDC();
    return bResult;
}
