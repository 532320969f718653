#include "platform/framework/frame_wnd.h"

#include <QGuiApplication>
#include <QKeyEvent>

#include "platform/framework/afxres.h"
#include "platform/framework/document.h"
#include "platform/framework/view.h"
#include "platform/framework/win_app.h"
#include "platform/qt/frame_window.h"

IMPLEMENT_DYNCREATE(CFrameWnd, CWnd)

BEGIN_MESSAGE_MAP(CFrameWnd, CWnd)
ON_WM_CREATE()
ON_WM_CLOSE()
END_MESSAGE_MAP()

namespace {

// Field n of a newline-separated resource string.
CString SubString(const CString& full, int n) {
    const std::string& s = full.str();
    std::size_t start = 0;
    for (int i = 0; i < n; ++i) {
        start = s.find('\n', start);
        if (start == std::string::npos)
            return CString();
        ++start;
    }
    const std::size_t end = s.find('\n', start);
    return CString(s.substr(start, end == std::string::npos ? std::string::npos : end - start));
}

} // namespace

CFrameWnd::~CFrameWnd() {
    if (m_pViewActive)
        m_pViewActive->m_pFrame = nullptr;
}

BOOL CFrameWnd::LoadFrame(UINT nIDResource, LONG dwDefaultStyle, CWnd*, CCreateContext* pContext) {
    CString strFullString;
    if (strFullString.LoadString(nIDResource))
        m_strTitle = SubString(strFullString, 0);

    CREATESTRUCT cs{pContext, dwDefaultStyle, 0, m_strTitle, nullptr};
    if (!PreCreateWindow(cs)) {
        PostNcDestroy();
        return FALSE;
    }
    m_dwStyle = cs.style;
    m_hAccelTable = LoadAcceleratorsA(AfxGetResourceHandle(), nIDResource);
    auto* window = new pibo::qt::FrameWindow(this, AfxGetResourceHandle(), nIDResource);
    if (!AttachNewWindow(window, cs))
        return FALSE;
    SetWindowText(m_strTitle);
    return TRUE;
}

BOOL CFrameWnd::PreCreateWindow(CREATESTRUCT& cs) {
    return CWnd::PreCreateWindow(cs);
}

int CFrameWnd::OnCreate(LPCREATESTRUCT lpcs) {
    auto* pContext = static_cast<CCreateContext*>(lpcs->lpCreateParams);
    if (!OnCreateClient(lpcs, pContext))
        return -1;
    return 0;
}

BOOL CFrameWnd::OnCreateClient(LPCREATESTRUCT, CCreateContext* pContext) {
    if (pContext && pContext->m_pNewViewClass) {
        if (!CreateView(pContext, AFX_IDW_PANE_FIRST))
            return FALSE;
    }
    return TRUE;
}

CWnd* CFrameWnd::CreateView(CCreateContext* pContext, UINT) {
    CObject* pObject = pContext->m_pNewViewClass->CreateObject();
    auto* pView = dynamic_cast<CView*>(pObject);
    if (!pView) {
        delete pObject;
        return nullptr;
    }
    if (!pView->Create(this, pContext))
        return nullptr; // the view deleted itself
    // The only pane; it becomes the active view (and may be told so) at the initial update.
    if (!m_pViewActive)
        m_pViewActive = pView;
    return pView;
}

void CFrameWnd::SetActiveView(CView* pViewNew, BOOL bNotify) {
    CView* pViewOld = m_pViewActive;
    m_pViewActive = pViewNew;
    if (bNotify && pViewNew)
        pViewNew->OnActivateView(TRUE, pViewNew, pViewOld);
}

CDocument* CFrameWnd::GetActiveDocument() const {
    return m_pViewActive ? m_pViewActive->GetDocument() : nullptr;
}

void CFrameWnd::OnViewDestroyed(CView* pView) {
    if (m_pViewActive == pView)
        m_pViewActive = nullptr;
}

void CFrameWnd::InitialUpdateFrame(CDocument* pDoc, BOOL bMakeVisible) {
    CView* pView = m_pViewActive;
    if (!pView && pDoc) {
        pView = pDoc->GetFirstView();
        if (pView)
            SetActiveView(pView, FALSE);
    }
    if (bMakeVisible) {
        if (pView)
            pView->OnInitialUpdate();
        int nCmdShow = -1;
        CWinApp* pApp = AfxGetApp();
        if (pApp && pApp->m_pMainWnd == this) {
            // The first time, the show state the process was started with.
            nCmdShow = pApp->m_nCmdShow;
            pApp->m_nCmdShow = -1;
        }
        ActivateFrame(nCmdShow);
        if (pView)
            pView->OnActivateView(TRUE, pView, pView);
    }
    if (pDoc)
        pDoc->UpdateFrameCounts();
    OnUpdateFrameTitle(TRUE);
}

void CFrameWnd::ActivateFrame(int nCmdShow) {
    if (nCmdShow == -1 && !IsWindowVisible())
        nCmdShow = SW_SHOWNORMAL;
    if (nCmdShow != -1)
        ShowWindow(nCmdShow);
}

void CFrameWnd::OnUpdateFrameTitle(BOOL bAddToTitle) {
    if (!(m_dwStyle & FWS_ADDTOTITLE))
        return;
    CDocument* pDoc = GetActiveDocument();
    UpdateFrameTitleForDocument(bAddToTitle && pDoc ? static_cast<LPCSTR>(pDoc->GetTitle())
                                                    : nullptr);
}

void CFrameWnd::UpdateFrameTitleForDocument(LPCSTR lpszDocName) {
    // The document's title first, then the frame's own.
    CString strText;
    if (lpszDocName) {
        strText = lpszDocName;
        strText += " - ";
    }
    strText += m_strTitle;
    if (GetWindowText() == strText)
        return;
    SetWindowText(strText);
}

BOOL CFrameWnd::PreTranslateMessage(MSG* pMsg) {
    if (m_hAccelTable && TranslateAcceleratorA(m_hWnd, m_hAccelTable, pMsg))
        return TRUE;
    return CWnd::PreTranslateMessage(pMsg);
}

BOOL CFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
    if (CView* pView = GetActiveView(); pView && pView->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    if (CWinApp* pApp = AfxGetApp(); pApp && pApp->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    return FALSE;
}

void CFrameWnd::OnClose() {
    // The document is never asked whether to save: closing it closes the frame.
    CDocument* pDoc = GetActiveDocument();
    if (pDoc && !pDoc->SaveModified())
        return;
    DestroyWindow();
}

void CFrameWnd::PostNcDestroy() {
    delete this;
}

HACCEL LoadAcceleratorsA(HINSTANCE hInstance, UINT nID) {
    if (!hInstance)
        return nullptr;
    for (std::size_t i = 0; i < hInstance->acceleratorCount; ++i) {
        if (hInstance->accelerators[i].id == nID)
            return &hInstance->accelerators[i];
    }
    return nullptr;
}

int TranslateAcceleratorA(HWND hWnd, HACCEL hAccTable, const MSG* pMsg) {
    if (!hAccTable || (pMsg->message != WM_KEYDOWN && pMsg->message != WM_SYSKEYDOWN))
        return 0;
    Qt::KeyboardModifiers mods;
    if (pMsg->event &&
        (pMsg->event->type() == QEvent::KeyPress || pMsg->event->type() == QEvent::KeyRelease))
        mods = static_cast<const QKeyEvent*>(pMsg->event)->modifiers();
    else if (qGuiApp)
        mods = QGuiApplication::keyboardModifiers();
    const bool ctrl = mods & Qt::ControlModifier;
    const bool shift = mods & Qt::ShiftModifier;
    const bool alt = (mods & Qt::AltModifier) ||
                     (HIWORD(static_cast<std::uintptr_t>(pMsg->lParam)) & KF_ALTDOWN);
    for (std::size_t i = 0; i < hAccTable->entryCount; ++i) {
        const ACCEL& a = hAccTable->entries[i];
        if (!(a.fVirt & FVIRTKEY) || a.key != pMsg->wParam)
            continue;
        if (ctrl != ((a.fVirt & FCONTROL) != 0) || shift != ((a.fVirt & FSHIFT) != 0) ||
            alt != ((a.fVirt & FALT) != 0))
            continue;
        if (CWnd* pWnd = CWnd::FromHandle(hWnd))
            pWnd->SendMessage(WM_COMMAND, (WPARAM{1} << 16) | a.cmd, 0);
        return 1;
    }
    return 0;
}
