// The About box: the program's name, version and copyright line, with the icon, from dialog
// template 100. It adds nothing to the framework's modal dialog.
#pragma once

#include "platform/framework/afxwin.h"
#include "res/resource.h"

class CAboutDlg : public CDialog {
public:
    CAboutDlg();

    enum { IDD = IDD_ABOUTBOX };

protected:
    DECLARE_MESSAGE_MAP()
};
