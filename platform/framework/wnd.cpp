#include "platform/framework/wnd.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <utility>

#include "platform/framework/cmd_ui.h"
#include "platform/framework/frame_wnd.h"
#include "platform/framework/paint_dc.h"
#include "platform/framework/win_app.h"
#include "platform/framework/window_recorder.h"
#include "platform/qt/window.h"

using pibo::framework::WindowEvent;
using pibo::framework::WindowRecorder;

namespace {

constexpr UINT WM_KEYFIRST = 0x0100;
constexpr UINT WM_KEYLAST = 0x0109;
constexpr UINT VK_F4 = VK_F1 + 3;
constexpr UINT SWP_NOZORDER = 0x0004;
const HWND kTopMost = reinterpret_cast<HWND>(static_cast<std::intptr_t>(-1));

// The message being dispatched, for Default(); dispatch nests (a handler may send messages).
const MSG* g_pCurrentMsg = nullptr;

LRESULT CallWndProc(CWnd* pWnd, const MSG& msg) {
    const MSG* pSaved = g_pCurrentMsg;
    g_pCurrentMsg = &msg;
    LRESULT lResult = pWnd->WindowProc(msg.message, msg.wParam, msg.lParam);
    g_pCurrentMsg = pSaved;
    return lResult;
}

bool IsRealWindow(HWND hWnd) {
    return hWnd && hWnd != kTopMost;
}

// The nearest framework window of a widget: the widget itself or one of its parents.
Window* EnclosingWindow(QWidget* widget) {
    for (QWidget* w = widget; w; w = w->parentWidget()) {
        if (Window* window = pibo::qt::WindowOf(w))
            return window;
    }
    return nullptr;
}

// A top-level window just shown is painted once the window system has mapped it; wait for that
// (input events stay queued), so that "paints before it returns" holds for it too.
void WaitUntilExposed(QWidget* widget) {
    QWindow* handle = widget->windowHandle();
    if (!widget->isWindow() || !widget->isVisible() || !handle || handle->isExposed())
        return;
    QDeadlineTimer deadline(1000);
    QTimer wake;
    wake.start(20);
    while (!handle->isExposed() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents |
                                        QEventLoop::WaitForMoreEvents);
}

// Hands a deferred first show to the window system (see CWnd::ShowWindow).
void ShowIfPending(Window* window) {
    if (window && window->showPending) {
        window->showPending = false;
        window->widget()->showNormal();
    }
}

QString TitleText(LPCSTR lpsz) {
    // "[*]" in a title is Qt's placeholder for the modified mark; doubled it shows as itself.
    QString s = QString::fromUtf8(lpsz ? lpsz : "");
    s.replace(QStringLiteral("[*]"), QStringLiteral("[*][*]"));
    return s;
}

} // namespace

IMPLEMENT_DYNAMIC(CWnd, CCmdTarget)

BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
END_MESSAGE_MAP()

const CWnd CWnd::wndTopMost(kTopMost);

CWnd::~CWnd() {
    if (!IsRealWindow(m_hWnd))
        return;
    Window* window = m_hWnd;
    m_hWnd = nullptr;
    window->wnd = nullptr;
    QWidget* widget = window->widget();
    if (g_pCurrentMsg) {
        widget->hide();
        widget->deleteLater();
    } else {
        delete widget;
    }
}

CWnd* CWnd::FromHandle(HWND hWnd) {
    return IsRealWindow(hWnd) ? hWnd->wnd : nullptr;
}

void CWnd::GetClientRect(LPRECT lpRect) const {
    *lpRect = RECT{0, 0, 0, 0};
    if (!IsRealWindow(m_hWnd))
        return;
    QWidget* client = m_hWnd->client();
    lpRect->right = client->width();
    lpRect->bottom = client->height();
}

void CWnd::GetWindowRect(LPRECT lpRect) const {
    *lpRect = RECT{0, 0, 0, 0};
    if (!IsRealWindow(m_hWnd))
        return;
    QWidget* w = m_hWnd->widget();
    QRect r;
    if (w->isWindow())
        r = w->frameGeometry();
    else
        r = QRect(w->mapToGlobal(QPoint(0, 0)), w->size());
    *lpRect = RECT{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

void CWnd::InvalidateRect(LPCRECT lpRect, BOOL bErase) {
    WindowRecorder::Record({WindowEvent::Kind::Invalidate, this, bErase});
    if (!IsRealWindow(m_hWnd))
        return;
    QWidget* client = m_hWnd->client();
    QRect r = lpRect ? QRect(QPoint(lpRect->left, lpRect->top),
                             QPoint(lpRect->right - 1, lpRect->bottom - 1))
                     : client->rect();
    r &= client->rect();
    if (r.isEmpty())
        return;
    m_hWnd->invalid += r;
    m_hWnd->invalidate(r);
}

void CWnd::UpdateWindow() {
    WindowRecorder::Record({WindowEvent::Kind::Update, this});
    if (!IsRealWindow(m_hWnd))
        return;
    QWidget* widget = m_hWnd->widget();
    if (widget->isWindow()) {
        ShowIfPending(m_hWnd);
        WaitUntilExposed(widget);
        widget->repaint();
        return;
    }
    if (m_hWnd->invalid.isEmpty())
        return;
    m_hWnd->updateNow();
}

BOOL CWnd::RedrawWindow(LPCRECT lpRectUpdate, void*, UINT flags) {
    if (flags & RDW_INVALIDATE)
        InvalidateRect(lpRectUpdate, (flags & RDW_ERASE) ? TRUE : FALSE);
    if (flags & RDW_UPDATENOW)
        UpdateWindow();
    return TRUE;
}

BOOL CWnd::SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags) {
    if (!IsRealWindow(m_hWnd))
        return FALSE;
    QWidget* w = m_hWnd->widget();
    if (!(nFlags & SWP_NOSIZE))
        w->resize(cx, cy);
    if (!(nFlags & SWP_NOMOVE))
        w->move(x, y);
    // Any insert-after position the program uses puts the window on top of its siblings.
    if (!(nFlags & SWP_NOZORDER) && pWndInsertAfter)
        w->raise();
    return TRUE;
}

CDC* CWnd::GetDC() {
    return new CClientDC(this);
}

int CWnd::ReleaseDC(CDC* pDC) {
    delete pDC;
    return 1;
}

void CWnd::SetWindowText(LPCSTR lpszString) {
    if (!IsRealWindow(m_hWnd))
        return;
    QWidget* w = m_hWnd->widget();
    // A child window's own text is kept but never shown.
    if (w->isWindow())
        w->setWindowTitle(TitleText(lpszString));
    m_hWnd->text = lpszString ? lpszString : "";
}

CString CWnd::GetWindowText() const {
    if (!IsRealWindow(m_hWnd))
        return CString();
    return CString(m_hWnd->text);
}

CWnd* CWnd::SetFocus() {
    CWnd* pOld = GetFocus();
    if (!IsRealWindow(m_hWnd))
        return pOld;
    QWidget* w = m_hWnd->widget();
    // A modal dialog of the program keeps the keyboard; so does a disabled window.
    QWidget* modal = QApplication::activeModalWidget();
    if (modal && modal != w->window())
        return pOld;
    if (!w->isEnabled())
        return pOld;
    w->setFocus(Qt::OtherFocusReason);
    return pOld;
}

CWnd* CWnd::GetFocus() {
    Window* window = EnclosingWindow(QApplication::focusWidget());
    return window ? window->wnd : nullptr;
}

BOOL CWnd::ShowWindow(int nCmdShow) {
    if (!IsRealWindow(m_hWnd))
        return FALSE;
    QWidget* w = m_hWnd->widget();
    const bool bWasPending = std::exchange(m_hWnd->showPending, false);
    const BOOL bWasVisible = w->isVisible() || bWasPending ? TRUE : FALSE;
    // The first ordinary show of a top-level window reaches the window system when the message
    // loop next runs, unless something needs the window sooner. Start-up maximises the frame
    // right after showing it: the window manager then maps it once, maximised, instead of placing
    // a normal window and enlarging it, which costs a second layout and paint before the prompt
    // is seen.
    const bool ordinary =
        nCmdShow == SW_SHOWNORMAL || nCmdShow == SW_SHOW || nCmdShow == SW_RESTORE;
    if (ordinary && w->isWindow() && !bWasVisible &&
        !w->testAttribute(Qt::WA_WState_ExplicitShowHide)) {
        m_hWnd->showPending = true;
        Window* window = m_hWnd;
        QTimer::singleShot(0, w, [window] { ShowIfPending(window); });
        return FALSE;
    }
    switch (nCmdShow) {
    case SW_HIDE:
        w->hide();
        break;
    case SW_SHOWMAXIMIZED:
        w->isWindow() ? w->showMaximized() : w->show();
        break;
    case SW_SHOWMINIMIZED:
        w->isWindow() ? w->showMinimized() : w->show();
        break;
    case SW_SHOWNORMAL:
    case SW_RESTORE:
        w->isWindow() ? w->showNormal() : w->show();
        break;
    default:
        w->show();
        break;
    }
    return bWasVisible;
}

BOOL CWnd::IsWindowVisible() const {
    if (!IsRealWindow(m_hWnd))
        return FALSE;
    // Whoever asks is given a window that is really there.
    ShowIfPending(m_hWnd);
    return m_hWnd->widget()->isVisible() ? TRUE : FALSE;
}

BOOL CWnd::EnableWindow(BOOL bEnable) {
    if (!IsRealWindow(m_hWnd))
        return FALSE;
    QWidget* w = m_hWnd->widget();
    const BOOL bWasDisabled = w->isEnabled() ? FALSE : TRUE;
    w->setEnabled(bEnable != FALSE);
    return bWasDisabled;
}

BOOL CWnd::IsWindowEnabled() const {
    if (!IsRealWindow(m_hWnd))
        return FALSE;
    QWidget* w = m_hWnd->widget();
    // While a modal window of the program is open, every other window is disabled.
    QWidget* modal = QApplication::activeModalWidget();
    if (modal && modal != w->window() && !modal->isAncestorOf(w))
        return FALSE;
    return w->isEnabled() ? TRUE : FALSE;
}

CWnd* CWnd::GetParent() const {
    if (!IsRealWindow(m_hWnd) || m_hWnd->widget()->isWindow())
        return nullptr;
    Window* parent = EnclosingWindow(m_hWnd->widget()->parentWidget());
    return parent ? parent->wnd : nullptr;
}

CFrameWnd* CWnd::GetParentFrame() const {
    for (CWnd* p = GetParent(); p; p = p->GetParent()) {
        if (p->IsKindOf(RUNTIME_CLASS(CFrameWnd)))
            return static_cast<CFrameWnd*>(p);
    }
    return nullptr;
}

CWnd* CWnd::GetTopLevelParent() const {
    if (!IsRealWindow(m_hWnd))
        return nullptr;
    Window* top = EnclosingWindow(m_hWnd->widget()->window());
    return top ? top->wnd : nullptr;
}

BOOL CWnd::DestroyWindow() {
    if (!IsRealWindow(m_hWnd))
        return FALSE;
    Window* window = m_hWnd;
    QWidget* widget = window->widget();
    window->wnd = nullptr;
    if (g_pCurrentMsg) {
        // The widget may be handling the event that led here: it goes once the event is done.
        widget->hide();
        widget->deleteLater();
    } else {
        delete widget;
    }
    OnWindowDestroyed();
    return TRUE;
}

void CWnd::OnWindowDestroyed() {
    m_hWnd = nullptr;
    CWinApp* pApp = AfxGetApp();
    if (pApp && pApp->m_pMainWnd == this) {
        pApp->m_pMainWnd = nullptr;
        AfxPostQuitMessage(0);
    }
    PostNcDestroy();
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    MSG msg{m_hWnd, message, wParam, lParam, nullptr};
    return CallWndProc(this, msg);
}

BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (!IsRealWindow(m_hWnd))
        return FALSE;
    QPointer<QWidget> guard(m_hWnd->widget());
    QMetaObject::invokeMethod(
        guard.data(),
        [guard, message, wParam, lParam] {
            if (!guard)
                return;
            if (Window* window = pibo::qt::WindowOf(guard.data()); window && window->wnd)
                window->wnd->SendMessage(message, wParam, lParam);
        },
        Qt::QueuedConnection);
    return TRUE;
}

BOOL CWnd::PreTranslateMessage(MSG*) {
    return FALSE;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT)
        WindowRecorder::Record({WindowEvent::Kind::Paint, this});
    LRESULT lResult = 0;
    if (!OnWndMsg(message, wParam, lParam, &lResult))
        lResult = DefWindowProc(message, wParam, lParam);
    return lResult;
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    if (message == WM_COMMAND) {
        if (!OnCommand(wParam, lParam))
            return FALSE;
        *pResult = 1;
        return TRUE;
    }
    const AFX_MSGMAP_ENTRY* e = FindMessageEntry(GetMessageMap(), message, 0, 0);
    if (!e)
        return FALSE;
    *pResult = e->pfn(this, wParam, lParam);
    return TRUE;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    WindowRecorder::Record({WindowEvent::Kind::Default, this, FALSE, message, wParam, lParam});
    // A message made from a Qt event goes back to Qt's own handling of that event.
    const MSG* cur = g_pCurrentMsg;
    if (IsRealWindow(m_hWnd) && cur && cur->event && cur->hwnd == m_hWnd &&
        cur->message == message && cur->wParam == wParam && cur->lParam == lParam)
        m_hWnd->defaultProcessing(cur->event);

    // What the platform does itself with the messages the program relies on.
    switch (message) {
    case WM_SYSKEYDOWN:
        // Alt+F4 asks the top-level window to close.
        if (wParam == VK_F4 && (HIWORD(static_cast<std::uintptr_t>(lParam)) & KF_ALTDOWN)) {
            if (CWnd* pTop = GetTopLevelParent())
                pTop->SendMessage(WM_SYSCOMMAND, SC_CLOSE, 0);
        }
        break;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_CLOSE)
            SendMessage(WM_CLOSE);
        break;
    case WM_CLOSE:
        DestroyWindow();
        break;
    default:
        break;
    }
    return 0;
}

LRESULT CWnd::Default() {
    const MSG* cur = g_pCurrentMsg;
    if (!cur)
        return 0;
    return DefWindowProc(cur->message, cur->wParam, cur->lParam);
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
    const UINT nID = LOWORD(wParam);
    if (nID == 0 || lParam != 0)
        return FALSE;
    // A command that has become disabled since its menu or accelerator was shown is dropped.
    CCmdUI state;
    state.m_nID = nID;
    OnCmdMsg(nID, static_cast<int>(CN_UPDATE_COMMAND_UI), &state, nullptr);
    if (!state.m_bEnabled)
        return TRUE;
    return OnCmdMsg(nID, static_cast<int>(CN_COMMAND), nullptr, nullptr);
}

BOOL CWnd::PreCreateWindow(CREATESTRUCT&) {
    return TRUE;
}

const MSG* CWnd::GetCurrentMessage() {
    return g_pCurrentMsg;
}

BOOL CWnd::DispatchFromPlatform(CWnd* pWnd, UINT message, WPARAM wParam, LPARAM lParam,
                                QEvent* event, LRESULT* pResult) {
    if (!pWnd)
        return FALSE;
    MSG msg{pWnd->m_hWnd, message, wParam, lParam, event};
    if (message >= WM_KEYFIRST && message <= WM_KEYLAST) {
        for (CWnd* p = pWnd; p; p = p->GetParent()) {
            if (p->PreTranslateMessage(&msg))
                return FALSE;
        }
    }
    LRESULT lResult = CallWndProc(pWnd, msg);
    if (pResult)
        *pResult = lResult;
    return TRUE;
}

BOOL CWnd::AttachNewWindow(HWND hWnd, CREATESTRUCT& cs) {
    m_hWnd = hWnd;
    hWnd->wnd = this;
    if (SendMessage(WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
        DestroyWindow();
        return FALSE;
    }
    return TRUE;
}

int CWnd::OnCreate(LPCREATESTRUCT) {
    return static_cast<int>(Default());
}

void CWnd::OnPaint() {
    Default();
}

void CWnd::OnClose() {
    Default();
}
