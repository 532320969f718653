// The real window of a view: a scroll area whose viewport is the view's client area. Key events
// become key messages through the keyboard translation, viewport events become paint and mouse
// messages, focus changes WM_SETFOCUS and WM_KILLFOCUS.
//
// The client area is kept, as a composited desktop keeps a window's picture: WM_PAINT paints into
// the kept area (the view's invalid part, at once for UpdateWindow), and the window system is
// shown it afterwards, at most once a display frame. A key storm thus paints every picture but
// shows only those a display could show, and an exposed window is shown without painting again.
#pragma once

#include <QAbstractScrollArea>
#include <QElapsedTimer>
#include <QTimer>

#include "platform/gdi/retained_surface.h"

#include "platform/qt/keyboard_translation.h"
#include "platform/qt/window.h"

namespace pibo::qt {

class ViewWindow : public QAbstractScrollArea, public Window {
public:
    ViewWindow(CWnd* pWnd, QWidget* parent);
    ~ViewWindow() override;

    QWidget* widget() override { return this; }
    QWidget* client() override { return viewport(); }
    void defaultProcessing(QEvent* event) override;
    void invalidate(const QRect& rect) override;
    void updateNow() override;

    // The scrolling view's extent, page and line sizes in pixels: scroll bars show while the
    // client area is smaller than the extent.
    void setScrollSizes(QSize total, QSize page, QSize line);

protected:
    bool event(QEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void keyEvent(QKeyEvent* event);
    bool mouseEvent(QMouseEvent* event);
    void updateBars();
    // WM_PAINT for the invalid part of the client area, into the kept area; the part painted.
    QRegion paintInvalid();
    // Shows the window system what was painted: now, or once a display frame has passed since it
    // was last shown.
    void presentSoon();
    void presentNow();

    KeyboardTranslator m_keys;
    QSize m_total;
    QSize m_page;
    QSize m_line;

    pibo::gdi::RetainedSurface m_surface;
    QRegion m_unshown;
    QTimer m_presentTimer;
    QElapsedTimer m_sincePresent;
    bool m_paintQueued = false;
};

} // namespace pibo::qt
