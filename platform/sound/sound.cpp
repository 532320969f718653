#include "platform/sound/sound.h"

#include "platform/sound/sound_recorder.h"
#include "platform/sound/sound_service_queue.h"

// Both return at once: the file is looked for, decoded and played on the service's worker. As no
// caller can learn whether a file plays, both report success.

BOOL PlaySoundA(LPCSTR pszSound, HMODULE, DWORD fdwSound) {
    if (SoundRecorder::Record({SoundRequest::Play, pszSound ? pszSound : "", fdwSound, 0}))
        return TRUE;
    // A null sound stops the one playing. Every other request names a file: the program asks for
    // nothing else (no aliases, no resources), and is always treated as asynchronous.
    if (!pszSound)
        PostSoundJob({SoundJob::Kind::Stop, {}, 0, 0});
    else
        PostSoundJob({SoundJob::Kind::File, pszSound, fdwSound, 0});
    return TRUE;
}

BOOL MessageBeep(UINT uType) {
    if (SoundRecorder::Record({SoundRequest::Beep, {}, 0, uType}))
        return TRUE;
    PostSoundJob({SoundJob::Kind::Beep, {}, 0, uType});
    return TRUE;
}
