// Hands a request to the sound service, starting it when needed. Returns at once.
#pragma once

#include "platform/sound/sound_worker.h"

void PostSoundJob(SoundJob job);
