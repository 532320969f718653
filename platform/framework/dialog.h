// A modal dialog made from a dialog template of the module. DoModal shows it over its owner and
// runs its modal loop until EndDialog; meanwhile every other window of the program is disabled and
// the keyboard goes to the dialog. The OK button (or Enter) ends it with IDOK, Esc or the close
// box with IDCANCEL.
#pragma once

#include "platform/framework/wnd.h"

class CDialog : public CWnd {
    DECLARE_DYNAMIC(CDialog)
public:
    // pParentWnd: the owner; by default the main window.
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    ~CDialog() override;

    // Returns the result given to EndDialog, or -1 when the dialog cannot be made (no template).
    // Once it returns the dialog's window is gone and the owner is active again.
    virtual int DoModal();
    // Ends the modal loop; DoModal returns nResult.
    void EndDialog(int nResult);

protected:
    // Called once the controls exist, before the dialog shows. TRUE: the first control with a tab
    // stop has the keyboard.
    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    void PostNcDestroy() override {}

    UINT m_nIDTemplate;
    CWnd* m_pParentWnd;

    DECLARE_MESSAGE_MAP()
};
