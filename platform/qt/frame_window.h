// The real window of a frame: a Qt main window with the menu bar of the frame's menu resource,
// the frame's icon, and the view as its central widget.
#pragma once

#include <QMainWindow>

#include "platform/qt/window.h"
#include "platform/win/resource_module.h"

class QMenu;

namespace pibo::qt {

class FrameWindow : public QMainWindow, public Window {
public:
    // The menu and the icon come from resource nIDResource of the module.
    FrameWindow(CWnd* pWnd, HINSTANCE hInstance, UINT nIDResource);
    ~FrameWindow() override;

    QWidget* widget() override { return this; }
    void defaultProcessing(QEvent* event) override;

    // Makes `child` the frame's client: it fills the area below the menu bar.
    void setClient(QWidget* child);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenuBar(const MenuResource& menu);
    // Brings the items of a popup about to open up to date through command routing.
    void updatePopup(QMenu* popup);
};

} // namespace pibo::qt
