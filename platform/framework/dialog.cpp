#include "platform/framework/dialog.h"

#include <QDialog>

#include "platform/framework/win_app.h"
#include "platform/qt/dialog_window.h"

IMPLEMENT_DYNAMIC(CDialog, CWnd)

BEGIN_MESSAGE_MAP(CDialog, CWnd)
ON_COMMAND(IDOK, OnOK)
ON_COMMAND(IDCANCEL, OnCancel)
END_MESSAGE_MAP()

namespace {

const DialogResource* FindDialog(HINSTANCE hInstance, UINT nID) {
    if (!hInstance)
        return nullptr;
    for (std::size_t i = 0; i < hInstance->dialogCount; ++i) {
        if (hInstance->dialogs[i].id == nID)
            return &hInstance->dialogs[i];
    }
    return nullptr;
}

} // namespace

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_nIDTemplate(nIDTemplate), m_pParentWnd(pParentWnd) {}

CDialog::~CDialog() {
    DestroyWindow();
}

int CDialog::DoModal() {
    HINSTANCE hInstance = AfxGetResourceHandle();
    const DialogResource* pTemplate = FindDialog(hInstance, m_nIDTemplate);
    if (!pTemplate)
        return -1;

    CWnd* pOwner = m_pParentWnd ? m_pParentWnd->GetTopLevelParent() : AfxGetMainWnd();
    QWidget* owner = nullptr;
    if (pOwner && pOwner->m_hWnd && pOwner->IsWindowVisible())
        owner = pOwner->m_hWnd->widget();

    auto* window = new pibo::qt::DialogWindow(this, hInstance, *pTemplate, owner);
    CREATESTRUCT cs{nullptr, static_cast<LONG>(pTemplate->style), 0, pTemplate->caption, nullptr};
    if (!AttachNewWindow(window, cs))
        return -1;
    OnInitDialog();

    // Qt's modal loop: the owner and every other window take no input until it ends.
    const int nResult = window->exec();

    DestroyWindow();
    // The owner becomes the active window again; a frame passes the focus on to its view.
    if (owner && pOwner->m_hWnd && pOwner->IsWindowVisible())
        owner->activateWindow();
    return nResult;
}

void CDialog::EndDialog(int nResult) {
    if (auto* dialog = dynamic_cast<QDialog*>(m_hWnd ? m_hWnd->widget() : nullptr))
        dialog->done(nResult);
}

BOOL CDialog::OnInitDialog() {
    return TRUE;
}

void CDialog::OnOK() {
    EndDialog(IDOK);
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}
