// The view: the frame's only pane, joined to the document. Commands it does not handle go on to
// its document.
#pragma once

#include "platform/framework/wnd.h"

class CDocument;
class CFrameWnd;
struct CCreateContext;

class CView : public CWnd {
    DECLARE_DYNAMIC(CView)
public:
    CDocument* GetDocument() const { return m_pDocument; }

    // Makes the view's window as the only pane of the frame and joins it to the context's document.
    BOOL Create(CWnd* pParentWnd, CCreateContext* pContext);

    // Called once the view is joined to its document, before the frame is first shown, and
    // again for every new or opened document: marks the whole view for repainting.
    virtual void OnInitialUpdate();
    virtual void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint);
    virtual void OnDraw(CDC* pDC) = 0;
    virtual void OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView);

    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

protected:
    CView() = default;
    ~CView() override;

    int OnCreate(LPCREATESTRUCT lpcs);
    void OnPaint();
    // The next and previous pane commands: there is one pane, so they are disabled.
    void OnUpdateNextPaneMenu(CCmdUI* pCmdUI);
    void OnNextPaneCmd() {}
    void PostNcDestroy() override;

    CDocument* m_pDocument = nullptr;
    // The frame the view is the pane of, while both exist.
    CFrameWnd* m_pFrame = nullptr;
    friend class CDocument;
    friend class CFrameWnd;

    DECLARE_MESSAGE_MAP()
};
