#include "platform/framework/file_dialog.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileSystemModel>

#include "platform/framework/wnd.h"
#include "platform/qt/window.h"

CFileDialog::CFileDialog(BOOL bOpenFileDialog, LPCSTR lpszFileName, CWnd* pParentWnd)
    : m_bOpenFileDialog(bOpenFileDialog), m_strFileName(lpszFileName), m_pParentWnd(pParentWnd) {}

int CFileDialog::DoModal() {
    QWidget* parent = nullptr;
    if (m_pParentWnd && m_pParentWnd->m_hWnd && m_pParentWnd->IsWindowVisible())
        parent = m_pParentWnd->m_hWnd->widget();

    QFileDialog dialog(parent, QString::fromUtf8(static_cast<LPCSTR>(m_strTitle)));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    if (m_bOpenFileDialog) {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
    }
    dialog.setDirectory(QDir::currentPath());
    dialog.setNameFilter(QStringLiteral("All Files (*.*)"));
    // "*.*" means every file here, names without a dot included.
    if (auto* model = dialog.findChild<QFileSystemModel*>())
        model->setNameFilters({});
    if (!m_strFileName.IsEmpty())
        dialog.selectFile(QFile::decodeName(QByteArray(static_cast<LPCSTR>(m_strFileName))));

    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return IDCANCEL;
    m_strPathName = CString(QFile::encodeName(dialog.selectedFiles().constFirst()).toStdString());
    return IDOK;
}
