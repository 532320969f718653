// The sound file of every key that is not a letter or a top-row digit, by virtual-key code.
#pragma once

#include "platform/win/types.h"

// The file name inside the sound folder for the code, or nullptr when the code has no entry.
LPCSTR LookupKeySound(UINT nChar);
