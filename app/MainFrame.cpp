#include "app/MainFrame.h"

IMPLEMENT_DYNCREATE(CMainFrame, CFrameWnd)

BEGIN_MESSAGE_MAP(CMainFrame, CFrameWnd)
ON_WM_CREATE()
END_MESSAGE_MAP()

int CMainFrame::OnCreate(LPCREATESTRUCT lpCreateStruct) {
    // The framework's frame creates the view as the only pane.
    if (CFrameWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    return 0;
}

BOOL CMainFrame::PreCreateWindow(CREATESTRUCT& cs) {
    return CFrameWnd::PreCreateWindow(cs);
}
