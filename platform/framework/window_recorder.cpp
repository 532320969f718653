#include "platform/framework/window_recorder.h"

#include <algorithm>

namespace pibo::framework {

namespace {
WindowRecorder* g_recorder = nullptr;
}

WindowRecorder::WindowRecorder() : m_previous(g_recorder) {
    g_recorder = this;
}

WindowRecorder::~WindowRecorder() {
    g_recorder = m_previous;
}

std::size_t WindowRecorder::count(WindowEvent::Kind kind) const {
    return static_cast<std::size_t>(std::count_if(
        m_events.begin(), m_events.end(), [kind](const WindowEvent& e) { return e.kind == kind; }));
}

void WindowRecorder::Record(const WindowEvent& event) {
    if (!g_recorder)
        return;
    g_recorder->m_events.push_back(event);
    if (g_recorder->onEvent)
        g_recorder->onEvent(event);
}

} // namespace pibo::framework
