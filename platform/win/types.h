// Basic Windows types with their Windows names, sizes and values, so that the program's code and
// its tests can use the numbers the program is described in.
#pragma once

#include <cstddef>
#include <cstdint>

using BOOL = int;
using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using LONG = std::int32_t;
using UINT = unsigned int;
using INT = int;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;
using COLORREF = DWORD;
using LPCSTR = const char*;
using LPSTR = char*;
using LPVOID = void*;

inline constexpr BOOL TRUE = 1;
inline constexpr BOOL FALSE = 0;

constexpr WORD LOWORD(std::uintptr_t v) { return static_cast<WORD>(v & 0xFFFF); }
constexpr WORD HIWORD(std::uintptr_t v) { return static_cast<WORD>((v >> 16) & 0xFFFF); }
constexpr LPARAM MAKELPARAM(WORD lo, WORD hi) {
    return static_cast<LPARAM>(static_cast<DWORD>(lo) | (static_cast<DWORD>(hi) << 16));
}
constexpr COLORREF RGB(BYTE r, BYTE g, BYTE b) {
    return static_cast<COLORREF>(r | (g << 8) | (b << 16));
}

// An integer resource identifier travels in a string pointer, as on Windows.
inline LPCSTR MAKEINTRESOURCE(UINT id) {
    return reinterpret_cast<LPCSTR>(static_cast<std::uintptr_t>(static_cast<WORD>(id)));
}
inline bool IS_INTRESOURCE(LPCSTR p) { return (reinterpret_cast<std::uintptr_t>(p) >> 16) == 0; }

struct RECT {
    LONG left;
    LONG top;
    LONG right;
    LONG bottom;
};
using LPRECT = RECT*;
using LPCRECT = const RECT*;
static_assert(sizeof(RECT) == 16);

struct POINT {
    LONG x;
    LONG y;
};

struct SIZE {
    LONG cx;
    LONG cy;
};

// Handles are typed pointers to the platform's own objects.
struct GdiObject;
struct DibSection;
struct Palette;
struct DeviceContext;
struct DrawDibContext;
struct Window;
struct ResourceModule;

using HGDIOBJ = GdiObject*;
using HBITMAP = DibSection*;
using HPALETTE = Palette*;
using HDC = DeviceContext*;
using HDRAWDIB = DrawDibContext*;
using HWND = Window*;
using HINSTANCE = const ResourceModule*;
using HMODULE = HINSTANCE;
using HANDLE = void*;
