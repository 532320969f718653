// The real window behind an HWND: a Qt widget and the framework object (CWnd) it belongs to.
// Each kind of window the framework makes (frame, view, dialog) is a widget class deriving from
// Window; Qt events reach the framework as messages through dispatch().
#pragma once

#include <string>

#include <QRegion>

#include "platform/win/windows.h"

class QEvent;
class QPaintEvent;
class QWidget;
class CWnd;
namespace pibo::gdi {
class RetainedSurface;
}

struct Window {
    explicit Window(CWnd* pWnd) : wnd(pWnd) {}
    virtual ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    // The framework object; nullptr once it has let go of the window.
    CWnd* wnd;

    // The window with its frame and bars, and its client area (where painting happens).
    virtual QWidget* widget() = 0;
    virtual QWidget* client() { return widget(); }

    // Qt's own handling of an event this window was given: the default processing of the message
    // made from it.
    virtual void defaultProcessing(QEvent* event) = 0;

    // Sends a message made from a Qt event to the framework object.
    LRESULT dispatch(UINT message, WPARAM wParam, LPARAM lParam, QEvent* event);

    // InvalidateRect's and UpdateWindow's work on the client area: by default Qt's update and
    // repaint of the client widget.
    virtual void invalidate(const QRect& rect);
    virtual void updateNow();

    // The part of the client area invalidated and not yet painted.
    QRegion invalid;
    // The paint event being dispatched, while there is one.
    QPaintEvent* currentPaint = nullptr;
    // Where that paint goes when it is not Qt's: the window's kept client area.
    pibo::gdi::RetainedSurface* retained = nullptr;
    // The window's own text (a top-level window shows it as its title).
    std::string text;
    // A first ordinary show of a top-level window, not yet handed to the window system.
    bool showPending = false;

protected:
    // For the widget's destructor: the window goes, the framework object is told.
    void windowGone();
};

namespace pibo::qt {

// The Window of a widget, or nullptr for widgets the framework did not make.
Window* WindowOf(QWidget* widget);

} // namespace pibo::qt
