// The frame window: the top-level window with the menu bar, the accelerator table and the title,
// holding one view as its only pane. It routes commands to the view, the document, itself and the
// application, in that order.
#pragma once

#include "platform/framework/wnd.h"
#include "platform/win/resource_module.h"

class CDocument;
class CDocTemplate;
class CView;

// What the document template passes to a new frame, so that it can make its view.
struct CCreateContext {
    const CRuntimeClass* m_pNewViewClass = nullptr;
    CDocument* m_pCurrentDoc = nullptr;
    CDocTemplate* m_pNewDocTemplate = nullptr;
    CView* m_pLastView = nullptr;
    class CFrameWnd* m_pCurrentFrame = nullptr;
};

using HACCEL = const AcceleratorResource*;

class CFrameWnd : public CWnd {
    DECLARE_DYNCREATE(CFrameWnd)
public:
    CFrameWnd() = default;
    ~CFrameWnd() override;

    // Makes the window from resource nIDResource: its title (first field of the string), menu,
    // accelerator table and icon; then, through OnCreate, the view the context names.
    virtual BOOL LoadFrame(UINT nIDResource,
                           LONG dwDefaultStyle = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                           CWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr);

    CView* GetActiveView() const { return m_pViewActive; }
    void SetActiveView(CView* pViewNew, BOOL bNotify = TRUE);
    CDocument* GetActiveDocument() const;

    // After a document was made or opened: the view's initial update, showing the frame, the title.
    void InitialUpdateFrame(CDocument* pDoc, BOOL bMakeVisible);
    virtual void ActivateFrame(int nCmdShow = -1);
    virtual void OnUpdateFrameTitle(BOOL bAddToTitle);
    void UpdateFrameTitleForDocument(LPCSTR lpszDocName);

    BOOL PreTranslateMessage(MSG* pMsg) override;
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;

    // Menu items without any handler are disabled when their menu opens.
    BOOL m_bAutoMenuEnable = TRUE;
    CString m_strTitle;
    HACCEL m_hAccelTable = nullptr;
    LONG m_dwStyle = 0;

    // For the view: it is going away.
    void OnViewDestroyed(CView* pView);

protected:
    int OnCreate(LPCREATESTRUCT lpcs);
    virtual BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext);
    CWnd* CreateView(CCreateContext* pContext, UINT nID);
    void OnClose();
    void PostNcDestroy() override;

    CView* m_pViewActive = nullptr;

    DECLARE_MESSAGE_MAP()
};

// Offers a key-down to the accelerator table: a key with exactly the listed modifiers becomes the
// entry's command, sent to hWnd. Nonzero when it did.
int TranslateAcceleratorA(HWND hWnd, HACCEL hAccTable, const MSG* pMsg);
// The accelerator table resource nID of the module, or nullptr.
HACCEL LoadAcceleratorsA(HINSTANCE hInstance, UINT nID);
