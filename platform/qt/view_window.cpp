#include "platform/qt/view_window.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QScrollBar>

#include "platform/framework/wnd.h"

namespace pibo::qt {

namespace {

constexpr WPARAM MK_LBUTTON = 0x0001;
constexpr WPARAM MK_RBUTTON = 0x0002;
constexpr WPARAM MK_SHIFT = 0x0004;
constexpr WPARAM MK_CONTROL = 0x0008;
constexpr WPARAM MK_MBUTTON = 0x0010;

WPARAM KeyStateFlags(const QMouseEvent* e) {
    WPARAM flags = 0;
    const Qt::MouseButtons b = e->buttons();
    if (b & Qt::LeftButton)
        flags |= MK_LBUTTON;
    if (b & Qt::RightButton)
        flags |= MK_RBUTTON;
    if (b & Qt::MiddleButton)
        flags |= MK_MBUTTON;
    if (e->modifiers() & Qt::ShiftModifier)
        flags |= MK_SHIFT;
    if (e->modifiers() & Qt::ControlModifier)
        flags |= MK_CONTROL;
    return flags;
}

// The mouse message of a button event: the second press of a double click is a message of its
// own, as for a window class that asks for double clicks. 0 for buttons without messages.
UINT MouseMessage(const QMouseEvent* e) {
    const bool press = e->type() == QEvent::MouseButtonPress;
    const bool dbl = e->type() == QEvent::MouseButtonDblClick;
    switch (e->button()) {
    case Qt::LeftButton:
        return dbl ? WM_LBUTTONDBLCLK : press ? WM_LBUTTONDOWN : WM_LBUTTONUP;
    case Qt::RightButton:
        return dbl ? WM_RBUTTONDBLCLK : press ? WM_RBUTTONDOWN : WM_RBUTTONUP;
    case Qt::MiddleButton:
        return dbl ? WM_MBUTTONDBLCLK : press ? WM_MBUTTONDOWN : WM_MBUTTONUP;
    default:
        return 0;
    }
}

HWND FocusWindow(QWidget* widget) {
    for (QWidget* w = widget; w; w = w->parentWidget()) {
        if (Window* window = WindowOf(w))
            return window;
    }
    return nullptr;
}

} // namespace

ViewWindow::ViewWindow(CWnd* pWnd, QWidget* parent) : QAbstractScrollArea(parent), Window(pWnd) {
    setFocusPolicy(Qt::StrongFocus);
    // The sunken client edge of a view.
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    // Erased to the window colour before each paint.
    viewport()->setBackgroundRole(QPalette::Window);
    viewport()->setAutoFillBackground(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
}

ViewWindow::~ViewWindow() {
    windowGone();
}

void ViewWindow::setScrollSizes(QSize total, QSize page, QSize line) {
    m_total = total;
    m_page = page;
    m_line = line;
    updateBars();
}

void ViewWindow::updateBars() {
    const QSize client = viewport()->size();
    horizontalScrollBar()->setRange(0, std::max(0, m_total.width() - client.width()));
    verticalScrollBar()->setRange(0, std::max(0, m_total.height() - client.height()));
    horizontalScrollBar()->setPageStep(std::max(1, m_page.width()));
    verticalScrollBar()->setPageStep(std::max(1, m_page.height()));
    horizontalScrollBar()->setSingleStep(std::max(1, m_line.width()));
    verticalScrollBar()->setSingleStep(std::max(1, m_line.height()));
}

void ViewWindow::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    updateBars();
}

bool ViewWindow::event(QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        // Before QWidget::event, which would move the focus on Tab.
        keyEvent(static_cast<QKeyEvent*>(event));
        return true;
    default:
        return QAbstractScrollArea::event(event);
    }
}

void ViewWindow::keyEvent(QKeyEvent* event) {
    event->accept();
    const std::optional<KeyMessage> key = m_keys.translate(*event);
    if (!key)
        return;
    const bool dispatched =
        CWnd::DispatchFromPlatform(wnd, key->message, key->vk, key->lParam(), event);
    // A key-down that was not taken by an accelerator also gives its character.
    if (dispatched && wnd && key->message == WM_KEYDOWN && !event->text().isEmpty()) {
        const char16_t ch = event->text().at(0).unicode();
        dispatch(WM_CHAR, ch, key->lParam(), nullptr);
    }
}

bool ViewWindow::viewportEvent(QEvent* event) {
    switch (event->type()) {
    case QEvent::Paint: {
        auto* paint = static_cast<QPaintEvent*>(event);
        invalid -= paint->region();
        QPaintEvent* saved = currentPaint;
        currentPaint = paint;
        dispatch(WM_PAINT, 0, 0, event);
        currentPaint = saved;
        return true;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
        return mouseEvent(static_cast<QMouseEvent*>(event));
    default:
        return QAbstractScrollArea::viewportEvent(event);
    }
}

bool ViewWindow::mouseEvent(QMouseEvent* event) {
    const UINT message = MouseMessage(event);
    if (!message)
        return QAbstractScrollArea::viewportEvent(event);
    const QPoint pos = event->position().toPoint();
    event->accept();
    dispatch(message, KeyStateFlags(event),
             MAKELPARAM(static_cast<WORD>(pos.x()), static_cast<WORD>(pos.y())), event);
    return true;
}

void ViewWindow::focusInEvent(QFocusEvent* event) {
    // A popup menu closing gives the focus back; the view never lost it in the first place.
    if (event->reason() == Qt::PopupFocusReason) {
        QAbstractScrollArea::focusInEvent(event);
        return;
    }
    dispatch(WM_SETFOCUS, 0, 0, event);
}

void ViewWindow::focusOutEvent(QFocusEvent* event) {
    // The keys held now will be released elsewhere.
    m_keys.reset();
    // An open popup menu takes the keyboard only while it is open, as the menu loop does.
    if (event->reason() == Qt::PopupFocusReason) {
        QAbstractScrollArea::focusOutEvent(event);
        return;
    }
    const HWND hWndNew = FocusWindow(QApplication::focusWidget());
    dispatch(WM_KILLFOCUS, reinterpret_cast<WPARAM>(hWndNew == this ? nullptr : hWndNew), 0, event);
}

void ViewWindow::defaultProcessing(QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyPress:
        // Not QAbstractScrollArea's, which would scroll with the arrow keys.
        QWidget::keyPressEvent(static_cast<QKeyEvent*>(event));
        break;
    case QEvent::KeyRelease:
        QWidget::keyReleaseEvent(static_cast<QKeyEvent*>(event));
        break;
    case QEvent::FocusIn:
        QAbstractScrollArea::focusInEvent(static_cast<QFocusEvent*>(event));
        break;
    case QEvent::FocusOut:
        QAbstractScrollArea::focusOutEvent(static_cast<QFocusEvent*>(event));
        break;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
        event->ignore();
        break;
    default:
        break;
    }
}

} // namespace pibo::qt
