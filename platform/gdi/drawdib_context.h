// The object behind an HDRAWDIB.
#pragma once

#include "platform/win/windows.h"

struct DrawDibContext {
    UINT lastFlags = 0; // for tests: the flags of the latest draw
    int draws = 0;
};
