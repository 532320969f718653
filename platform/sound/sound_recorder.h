// A test seam: while a SoundRecorder lives, PlaySoundA and MessageBeep are recorded instead of
// played, so that tests of the program can check which sounds it asks for without an audio
// server. Recorders nest; the newest one records.
#pragma once

#include <string>
#include <vector>

#include "platform/win/types.h"

struct SoundRequest {
    enum Kind { Play, Beep } kind;
    std::string path; // PlaySoundA's path; empty for a null path and for beeps
    DWORD flags;      // PlaySoundA's flags
    UINT type;        // MessageBeep's type
};

class SoundRecorder {
public:
    SoundRecorder();
    ~SoundRecorder();
    SoundRecorder(const SoundRecorder&) = delete;
    SoundRecorder& operator=(const SoundRecorder&) = delete;

    const std::vector<SoundRequest>& requests() const { return m_requests; }
    void clear();

    // Records the request if a recorder lives; false when it should be played.
    static bool Record(const SoundRequest& request);

private:
    std::vector<SoundRequest> m_requests;
    SoundRecorder* m_previous;
};
