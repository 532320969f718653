// The graphics operations the program calls, with their Windows names, arguments and results.
// Device contexts paint onto Qt surfaces (see surface_dc.h); bitmaps are DIB sections that keep
// their own depth and colour table.
#pragma once

#include "platform/gdi/gdi_objects.h"
#include "platform/win/windows.h"

int GetObjectA(HGDIOBJ hObject, int cbBuffer, LPVOID pv);
UINT GetDIBColorTable(HDC hdc, UINT iStart, UINT cEntries, RGBQUAD* prgbq);
HPALETTE CreatePalette(const LOGPALETTE* plpal);
HPALETTE CreateHalftonePalette(HDC hdc);
HPALETTE SelectPalette(HDC hdc, HPALETTE hPal, BOOL bForceBackground);
UINT RealizePalette(HDC hdc);
HGDIOBJ GetCurrentObject(HDC hdc, UINT type);
HDC GetWindowDC(HWND hWnd); // only nullptr: the whole screen
int ReleaseDC(HWND hWnd, HDC hDC);
HDC CreateCompatibleDC(HDC hdc);
BOOL DeleteDC(HDC hdc);
HGDIOBJ SelectObject(HDC hdc, HGDIOBJ h);
BOOL BitBlt(HDC hdc, int x, int y, int cx, int cy, HDC hdcSrc, int x1, int y1, DWORD rop);
BOOL StretchBlt(HDC hdcDest, int xDest, int yDest, int wDest, int hDest, HDC hdcSrc, int xSrc,
                int ySrc, int wSrc, int hSrc, DWORD rop);
int SetStretchBltMode(HDC hdc, int mode);
int GetStretchBltMode(HDC hdc);
BOOL DeleteObject(HGDIOBJ ho);
HANDLE LoadImageA(HINSTANCE hInst, LPCSTR name, UINT type, int cx, int cy, UINT fuLoad);
int DrawTextA(HDC hdc, LPCSTR lpchText, int cchText, LPRECT lprc, UINT format);
