// Small records and constants of the window framework: points and rectangles with their framework
// names, window creation parameters, show states and system commands.
#pragma once

#include "platform/win/windows.h"

struct CPoint : POINT {
    CPoint() : POINT{0, 0} {}
    CPoint(LONG x0, LONG y0) : POINT{x0, y0} {}
};

struct CRect : RECT {
    CRect() : RECT{0, 0, 0, 0} {}
    CRect(LONG l, LONG t, LONG r, LONG b) : RECT{l, t, r, b} {}
    operator LPRECT() { return this; }
    operator LPCRECT() const { return this; }
    LONG Width() const { return right - left; }
    LONG Height() const { return bottom - top; }
};

struct CSize : SIZE {
    CSize() : SIZE{0, 0} {}
    CSize(LONG x, LONG y) : SIZE{x, y} {}
};

// What a window is created with; PreCreateWindow may change it.
struct CREATESTRUCT {
    LPVOID lpCreateParams;
    LONG style;
    DWORD dwExStyle;
    LPCSTR lpszName;
    LPCSTR lpszClass;
};
using LPCREATESTRUCT = CREATESTRUCT*;

// Show states
inline constexpr int SW_HIDE = 0;
inline constexpr int SW_SHOWNORMAL = 1;
inline constexpr int SW_SHOWMINIMIZED = 2;
inline constexpr int SW_SHOW = 5;
inline constexpr int SW_RESTORE = 9;

// Window styles the framework's windows are made with
inline constexpr LONG WS_OVERLAPPEDWINDOW = 0x00CF0000;
inline constexpr LONG WS_CHILD = 0x40000000;
inline constexpr LONG WS_VISIBLE = 0x10000000;
inline constexpr LONG FWS_ADDTOTITLE = 0x00008000;
inline constexpr DWORD WS_EX_CLIENTEDGE = 0x00000200;

// Messages the framework sends itself
inline constexpr UINT WM_SIZE = 0x0005;
inline constexpr UINT WM_MBUTTONDBLCLK = 0x0209;
inline constexpr UINT SC_CLOSE = 0xF060;

// Message box types and results
inline constexpr UINT MB_ICONMASK = 0x000000F0;
inline constexpr UINT MB_ICONSTOP = 0x00000010;
inline constexpr UINT MB_ICONINFORMATION = 0x00000040;
