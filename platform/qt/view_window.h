// The real window of a view: a scroll area whose viewport is the view's client area. Key events
// become key messages through the keyboard translation, viewport events become paint and mouse
// messages, focus changes WM_SETFOCUS and WM_KILLFOCUS.
#pragma once

#include <QAbstractScrollArea>

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

    KeyboardTranslator m_keys;
    QSize m_total;
    QSize m_page;
    QSize m_line;
};

} // namespace pibo::qt
