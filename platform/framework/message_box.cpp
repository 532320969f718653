#include <QMessageBox>

#include "platform/framework/win_app.h"
#include "platform/framework/wnd.h"
#include "platform/qt/window.h"

namespace {

constexpr UINT MB_TYPEMASK = 0x0000000F;
constexpr UINT MB_OKCANCEL = 0x00000001;
constexpr UINT MB_YESNOCANCEL = 0x00000003;
constexpr UINT MB_YESNO = 0x00000004;
constexpr UINT MB_ICONQUESTION = 0x00000020;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

QMessageBox::Icon IconOf(UINT nType) {
    switch (nType & MB_ICONMASK) {
    case MB_ICONSTOP:
        return QMessageBox::Critical;
    case MB_ICONQUESTION:
        return QMessageBox::Question;
    case MB_ICONINFORMATION:
        return QMessageBox::Information;
    default:
        return QMessageBox::Warning;
    }
}

} // namespace

int CWinApp::DoMessageBox(LPCSTR lpszPrompt, UINT nType, UINT) {
    // Without an icon of its own, a question box gets the question mark, any other the warning.
    if ((nType & MB_ICONMASK) == 0) {
        const UINT buttons = nType & MB_TYPEMASK;
        nType |= (buttons == MB_YESNO || buttons == MB_YESNOCANCEL) ? MB_ICONQUESTION
                                                                    : MB_ICONEXCLAMATION;
    }
    QMessageBox::StandardButtons buttons = QMessageBox::Ok;
    switch (nType & MB_TYPEMASK) {
    case MB_OKCANCEL:
        buttons = QMessageBox::Ok | QMessageBox::Cancel;
        break;
    case MB_YESNO:
        buttons = QMessageBox::Yes | QMessageBox::No;
        break;
    case MB_YESNOCANCEL:
        buttons = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
        break;
    default:
        break;
    }
    QWidget* parent = nullptr;
    if (m_pMainWnd && m_pMainWnd->m_hWnd && m_pMainWnd->IsWindowVisible())
        parent = m_pMainWnd->m_hWnd->widget();
    QMessageBox box(IconOf(nType), QString::fromUtf8(m_pszAppName ? m_pszAppName : ""),
                    QString::fromUtf8(lpszPrompt ? lpszPrompt : ""), buttons, parent);
    switch (box.exec()) {
    case QMessageBox::Ok:
        return IDOK;
    case QMessageBox::Yes:
        return IDYES;
    case QMessageBox::No:
        return IDNO;
    default:
        return IDCANCEL;
    }
}

int AfxMessageBox(LPCSTR lpszText, UINT nType, UINT nIDHelp) {
    if (CWinApp* pApp = AfxGetApp())
        return pApp->DoMessageBox(lpszText, nType, nIDHelp);
    CWinApp app;
    return app.DoMessageBox(lpszText, nType, nIDHelp);
}

int AfxMessageBox(UINT nIDPrompt, UINT nType, UINT nIDHelp) {
    CString strPrompt;
    strPrompt.LoadString(nIDPrompt);
    return AfxMessageBox(strPrompt, nType, nIDHelp == UINT(-1) ? nIDPrompt : nIDHelp);
}
