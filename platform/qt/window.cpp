#include "platform/qt/window.h"

#include <QWidget>

#include "platform/framework/wnd.h"

Window::~Window() {
    windowGone();
}

void Window::windowGone() {
    if (CWnd* p = wnd) {
        wnd = nullptr;
        p->OnWindowDestroyed();
    }
}

LRESULT Window::dispatch(UINT message, WPARAM wParam, LPARAM lParam, QEvent* event) {
    LRESULT lResult = 0;
    CWnd::DispatchFromPlatform(wnd, message, wParam, lParam, event, &lResult);
    return lResult;
}

void Window::invalidate(const QRect& rect) {
    client()->update(rect);
}

void Window::updateNow() {
    // Paints now; the paint event takes the painted area off the invalid region.
    client()->repaint(invalid);
}

namespace pibo::qt {

Window* WindowOf(QWidget* widget) {
    return dynamic_cast<Window*>(widget);
}

} // namespace pibo::qt
