// A recording seam for tests: while a WindowRecorder is alive, the framework logs, in order, every
// invalidation, every immediate update, every paint handled and every message given the default
// processing. Windows need not exist: the calls on a view without a window are logged too.
#pragma once

#include <cstddef>
#include <functional>
#include <vector>

#include "platform/win/windows.h"

class CWnd;

namespace pibo::framework {

struct WindowEvent {
    enum class Kind { Invalidate, Update, Paint, Default };
    Kind kind;
    const CWnd* wnd;
    // Invalidate: whether the background is to be erased
    BOOL bErase = FALSE;
    // Default: the message given the default processing
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
};

class WindowRecorder {
public:
    WindowRecorder();
    ~WindowRecorder();
    WindowRecorder(const WindowRecorder&) = delete;
    WindowRecorder& operator=(const WindowRecorder&) = delete;

    const std::vector<WindowEvent>& events() const { return m_events; }
    std::size_t count(WindowEvent::Kind kind) const;
    void clear() { m_events.clear(); }

    // Called for each event as it is logged, for tests that interleave it with other seams.
    std::function<void(const WindowEvent&)> onEvent;

    // Used by the framework.
    static void Record(const WindowEvent& event);

private:
    std::vector<WindowEvent> m_events;
    WindowRecorder* m_previous;
};

} // namespace pibo::framework
