#include "platform/qt/frame_window.h"

#include <QCloseEvent>
#include <QMenu>
#include <QMenuBar>

#include "platform/framework/cmd_ui.h"
#include "platform/framework/frame_wnd.h"
#include "platform/qt/icon_resource.h"

namespace pibo::qt {

namespace {

const MenuResource* FindMenu(HINSTANCE hInstance, UINT nID) {
    if (!hInstance)
        return nullptr;
    for (std::size_t i = 0; i < hInstance->menuCount; ++i) {
        if (hInstance->menus[i].id == nID)
            return &hInstance->menus[i];
    }
    return nullptr;
}

} // namespace

FrameWindow::FrameWindow(CWnd* pWnd, HINSTANCE hInstance, UINT nIDResource) : Window(pWnd) {
    // The view holds the keyboard focus; the frame passes it on.
    setFocusPolicy(Qt::NoFocus);
    const QIcon icon = LoadIconResource(hInstance);
    if (!icon.isNull())
        setWindowIcon(icon);
    if (const MenuResource* menu = FindMenu(hInstance, nIDResource))
        buildMenuBar(*menu);
}

FrameWindow::~FrameWindow() {
    windowGone();
}

void FrameWindow::buildMenuBar(const MenuResource& menu) {
    QMenuBar* bar = menuBar();
    for (std::size_t i = 0; i < menu.popupCount; ++i) {
        const MenuPopupResource& popup = menu.popups[i];
        QMenu* qmenu = bar->addMenu(QString::fromUtf8(popup.text));
        for (std::size_t j = 0; j < popup.itemCount; ++j) {
            const MenuItemResource& item = popup.items[j];
            QAction* action = qmenu->addAction(QString::fromUtf8(item.text));
            action->setData(item.id);
            const UINT nID = item.id;
            connect(action, &QAction::triggered, this, [this, nID] {
                if (wnd)
                    wnd->SendMessage(WM_COMMAND, nID, 0);
            });
        }
        connect(qmenu, &QMenu::aboutToShow, this, [this, qmenu] { updatePopup(qmenu); });
    }
}

void FrameWindow::updatePopup(QMenu* popup) {
    auto* pFrame = dynamic_cast<CFrameWnd*>(wnd);
    if (!pFrame)
        return;
    for (QAction* action : popup->actions()) {
        CCmdUI state;
        state.m_nID = action->data().toUInt();
        state.DoUpdate(pFrame, pFrame->m_bAutoMenuEnable);
        action->setEnabled(state.m_bEnabled != FALSE);
        if (state.m_nCheck >= 0) {
            action->setCheckable(true);
            action->setChecked(state.m_nCheck != 0);
        }
    }
}

void FrameWindow::setClient(QWidget* child) {
    setCentralWidget(child);
}

void FrameWindow::defaultProcessing(QEvent* event) {
    // The frame's own default handling (closing, destroying) is the framework's; Qt's handling
    // of an event that reaches the frame is to pass it on.
    if (event->type() == QEvent::Close)
        return;
    event->ignore();
}

void FrameWindow::closeEvent(QCloseEvent* event) {
    // Closing is the framework's decision: WM_CLOSE destroys the window or leaves it.
    event->ignore();
    dispatch(WM_CLOSE, 0, 0, event);
}

} // namespace pibo::qt
