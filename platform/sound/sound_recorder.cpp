#include "platform/sound/sound_recorder.h"

#include <mutex>

namespace {

std::mutex g_mutex;
SoundRecorder* g_active = nullptr;

} // namespace

SoundRecorder::SoundRecorder() {
    std::lock_guard lock(g_mutex);
    m_previous = g_active;
    g_active = this;
}

SoundRecorder::~SoundRecorder() {
    std::lock_guard lock(g_mutex);
    // Recorders normally die in reverse order; if not, unlink this one wherever it is.
    if (g_active == this) {
        g_active = m_previous;
        return;
    }
    for (SoundRecorder* r = g_active; r; r = r->m_previous)
        if (r->m_previous == this) {
            r->m_previous = m_previous;
            return;
        }
}

void SoundRecorder::clear() {
    std::lock_guard lock(g_mutex);
    m_requests.clear();
}

bool SoundRecorder::Record(const SoundRequest& request) {
    std::lock_guard lock(g_mutex);
    if (!g_active)
        return false;
    g_active->m_requests.push_back(request);
    return true;
}
