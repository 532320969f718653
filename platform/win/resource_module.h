// A module's resources, addressed by number as on Windows. The program's own module is defined in
// res/; the platform reads it through the instance handle (HINSTANCE points at one of these).
#pragma once

#include <cstddef>

#include "platform/win/types.h"

struct StringResource {
    UINT id;
    LPCSTR text;
};

struct ResourceModule {
    // Folder in Qt's resource system holding the bitmap resources as packed DIBs named
    // "<number>.dib", for example ":/pictures/".
    LPCSTR bitmapFolder;
    const StringResource* strings;
    std::size_t stringCount;
    // Folder in Qt's resource system holding icon 128 as "<size>.png" renditions.
    LPCSTR iconFolder;
};
