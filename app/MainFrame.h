// The main frame: the framework's frame window, created from resource 128 (menu, accelerators,
// icon, title "Pibo"). It adds nothing of its own.
#pragma once

#include "platform/framework/afxwin.h"

class CMainFrame : public CFrameWnd {
protected:
    CMainFrame() = default;
    DECLARE_DYNCREATE(CMainFrame)

public:
    ~CMainFrame() override = default;
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;

protected:
    int OnCreate(LPCREATESTRUCT lpCreateStruct);

    DECLARE_MESSAGE_MAP()
};
