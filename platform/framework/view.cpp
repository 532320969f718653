#include "platform/framework/view.h"

#include "platform/framework/afxres.h"
#include "platform/framework/cmd_ui.h"
#include "platform/framework/document.h"
#include "platform/framework/frame_wnd.h"
#include "platform/framework/paint_dc.h"
#include "platform/qt/frame_window.h"
#include "platform/qt/view_window.h"

IMPLEMENT_DYNAMIC(CView, CWnd)

BEGIN_MESSAGE_MAP(CView, CWnd)
ON_WM_PAINT()
ON_WM_CREATE()
ON_UPDATE_COMMAND_UI(ID_NEXT_PANE, OnUpdateNextPaneMenu)
ON_COMMAND(ID_NEXT_PANE, OnNextPaneCmd)
ON_UPDATE_COMMAND_UI(ID_PREV_PANE, OnUpdateNextPaneMenu)
ON_COMMAND(ID_PREV_PANE, OnNextPaneCmd)
END_MESSAGE_MAP()

CView::~CView() {
    if (m_pFrame)
        m_pFrame->OnViewDestroyed(this);
    if (m_pDocument)
        m_pDocument->RemoveView(this);
}

BOOL CView::Create(CWnd* pParentWnd, CCreateContext* pContext) {
    CREATESTRUCT cs{pContext, WS_CHILD | WS_VISIBLE, WS_EX_CLIENTEDGE, nullptr, nullptr};
    if (!PreCreateWindow(cs)) {
        PostNcDestroy();
        return FALSE;
    }
    HWND hWndParent = pParentWnd ? pParentWnd->m_hWnd : nullptr;
    auto* window = new pibo::qt::ViewWindow(this, hWndParent ? hWndParent->widget() : nullptr);
    if (auto* frame = dynamic_cast<pibo::qt::FrameWindow*>(hWndParent))
        frame->setClient(window);
    m_pFrame = dynamic_cast<CFrameWnd*>(pParentWnd);
    return AttachNewWindow(window, cs);
}

BOOL CView::PreCreateWindow(CREATESTRUCT& cs) {
    return CWnd::PreCreateWindow(cs);
}

int CView::OnCreate(LPCREATESTRUCT lpcs) {
    if (CWnd::OnCreate(lpcs) == -1)
        return -1;
    auto* pContext = static_cast<CCreateContext*>(lpcs->lpCreateParams);
    if (pContext && pContext->m_pCurrentDoc)
        pContext->m_pCurrentDoc->AddView(this);
    return 0;
}

void CView::OnInitialUpdate() {
    OnUpdate(nullptr, 0, nullptr);
}

void CView::OnUpdate(CView*, LPARAM, CObject*) {
    Invalidate(TRUE);
}

void CView::OnActivateView(BOOL bActivate, CView* pActivateView, CView*) {
    if (bActivate && pActivateView == this)
        SetFocus();
}

void CView::OnPaint() {
    CPaintDC dc(this);
    OnDraw(&dc);
}

void CView::OnUpdateNextPaneMenu(CCmdUI* pCmdUI) {
    pCmdUI->Enable(FALSE);
}

BOOL CView::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
    if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    return m_pDocument && m_pDocument->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

void CView::PostNcDestroy() {
    delete this;
}
