// The sound service: asynchronous playback of a sound file by path, and the exclamation beep.
// A request returns at once; the newest request replaces whatever is still playing; a file that
// cannot be played gives the default sound unless SND_NODEFAULT is given.
#pragma once

#include "platform/win/windows.h"

BOOL PlaySoundA(LPCSTR pszSound, HMODULE hmod, DWORD fdwSound);
BOOL MessageBeep(UINT uType);
