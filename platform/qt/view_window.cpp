#include "platform/qt/view_window.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScreen>
#include <QScrollBar>
#include <algorithm>

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

// How often a display shows a new picture, in milliseconds.
int FrameInterval(const QWidget* widget) {
    const QScreen* screen = widget->screen();
    const double hz = screen ? screen->refreshRate() : 60.0;
    return hz >= 20.0 && hz <= 250.0 ? static_cast<int>(1000.0 / hz) : 16;
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
    // Erased to the window colour before each paint, by the kept client area, which then
    // covers every pixel of the viewport: Qt need not fill it.
    viewport()->setBackgroundRole(QPalette::Window);
    viewport()->setAutoFillBackground(false);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    m_presentTimer.setSingleShot(true);
    QObject::connect(&m_presentTimer, &QTimer::timeout, this, [this] { presentNow(); });
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
        // What is invalid is painted first; then the kept area is shown.
        paintInvalid();
        {
            QPainter painter(viewport());
            m_surface.Present(painter, static_cast<QPaintEvent*>(event)->region());
        }
        // Pixels that are not a description (the prompt's) are kept only until they are shown,
        // since they take the window's size in memory: showing them again paints them again.
        if (m_unshown.isEmpty() && !m_presentTimer.isActive() && m_surface.DropPixels())
            invalid = QRegion(viewport()->rect());
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

void ViewWindow::invalidate(const QRect&) {
    // Painted when the message loop next runs, unless UpdateWindow paints it first.
    if (m_paintQueued)
        return;
    m_paintQueued = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_paintQueued = false;
            updateNow();
        },
        Qt::QueuedConnection);
}

void ViewWindow::updateNow() {
    // A hidden window is not painted; what is invalid waits until it is shown.
    if (!viewport()->isVisible())
        return;
    m_unshown += paintInvalid();
    presentSoon();
}

QRegion ViewWindow::paintInvalid() {
    if (m_surface.Painting())
        return {};
    QWidget* area = viewport();
    const QRect whole = area->rect();
    // A client area of a new size has nothing to show yet: all of it is painted.
    const QRegion region = m_surface.size() == whole.size() ? invalid & whole : QRegion(whole);
    invalid = QRegion();
    if (region.isEmpty())
        return {};
    QPaintEvent paint(region);
    m_surface.BeginPaint(whole.size(), region, area->palette().color(area->backgroundRole()).rgb());
    QPaintEvent* savedPaint = currentPaint;
    pibo::gdi::RetainedSurface* savedRetained = retained;
    currentPaint = &paint;
    retained = &m_surface;
    dispatch(WM_PAINT, 0, 0, &paint);
    currentPaint = savedPaint;
    retained = savedRetained;
    m_surface.EndPaint();
    return region;
}

void ViewWindow::presentSoon() {
    if (m_unshown.isEmpty() || m_presentTimer.isActive())
        return;
    const int frame = FrameInterval(this);
    const qint64 since = m_sincePresent.isValid() ? m_sincePresent.elapsed() : frame;
    if (since >= frame)
        presentNow();
    else
        m_presentTimer.start(static_cast<int>(frame - since));
}

void ViewWindow::presentNow() {
    if (m_unshown.isEmpty())
        return;
    const QRegion region = m_unshown;
    m_unshown = QRegion();
    m_sincePresent.start();
    viewport()->repaint(region);
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
