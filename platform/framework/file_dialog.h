// The framework's file dialogs: "Open" (the file must exist) and "Save As" (asks before replacing
// a file), opening in the current directory, with the single filter "All Files (*.*)", which shows
// every file. Modal: the program's other windows take no input while one is open.
#pragma once

#include "platform/framework/afx_string.h"

class CWnd;

class CFileDialog {
public:
    // lpszFileName: the name proposed (a Save As dialog), or a path whose folder to open in.
    explicit CFileDialog(BOOL bOpenFileDialog, LPCSTR lpszFileName = nullptr,
                         CWnd* pParentWnd = nullptr);
    virtual ~CFileDialog() = default;

    // IDOK once a file was chosen, IDCANCEL otherwise.
    virtual int DoModal();
    CString GetPathName() const { return m_strPathName; }

    CString m_strTitle;

protected:
    BOOL m_bOpenFileDialog;
    CString m_strFileName;
    CWnd* m_pParentWnd;
    CString m_strPathName;
};
