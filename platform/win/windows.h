// The Windows names the program uses: types, records and constants.
#pragma once

#include "platform/win/constants.h"
#include "platform/win/gdi_types.h"
#include "platform/win/types.h"
