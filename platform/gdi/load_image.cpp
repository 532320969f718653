// LoadImageA for bitmaps: from a BMP file, or from a module's bitmap resources, which are packed
// DIBs named "<number>.dib" in the module's bitmap folder.
#include <string>

#include "platform/gdi/bmp_reader.h"
#include "platform/gdi/dib_limits.h"
#include "platform/gdi/gdi.h"
#include "platform/gdi/read_file.h"
#include "platform/win/resource_module.h"

namespace {

std::string ResourcePath(HINSTANCE hInst, LPCSTR name) {
    std::string path = hInst->bitmapFolder;
    if (IS_INTRESOURCE(name)) {
        path += std::to_string(reinterpret_cast<std::uintptr_t>(name));
    } else {
        // A named resource stays inside the folder.
        const std::string text = name;
        if (text.empty() || text.find('/') != std::string::npos)
            return {};
        path += text;
    }
    return path + ".dib";
}

} // namespace

HANDLE LoadImageA(HINSTANCE hInst, LPCSTR name, UINT type, int cx, int cy, UINT fuLoad) {
    // Bitmaps only, at their own size.
    if (type != IMAGE_BITMAP || !name || cx != 0 || cy != 0)
        return nullptr;
    pibo::gdi::FileBytes file;
    std::unique_ptr<DibSection> dib;
    if (fuLoad & LR_LOADFROMFILE) {
        if (IS_INTRESOURCE(name) ||
            !pibo::gdi::ReadWholeFile(name, pibo::gdi::kMaxBitmapFileBytes, file))
            return nullptr;
        dib = pibo::gdi::ReadBmpFile(file.bytes());
    } else {
        if (!hInst || !hInst->bitmapFolder)
            return nullptr;
        const std::string path = ResourcePath(hInst, name);
        if (path.empty() ||
            !pibo::gdi::ReadWholeFile(path.c_str(), pibo::gdi::kMaxBitmapFileBytes, file))
            return nullptr;
        dib = pibo::gdi::ReadPackedDib(file.bytes());
    }
    return static_cast<HBITMAP>(dib.release());
}
