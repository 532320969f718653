// The built-in sounds, used when the desktop has no sound theme to take them from: a short bell
// chime as the default sound and a rising two-note chime as the exclamation sound. They are
// synthesised in the output format, so they cost nothing to decode and cannot fail.
#pragma once

#include "platform/sound/sound_pcm.h"

SoundPcm MakeDefaultChime();
SoundPcm MakeExclamationChime();
