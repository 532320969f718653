#include "platform/framework/document.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/framework/afxres.h"
#include "platform/framework/doc_template.h"
#include "platform/framework/frame_wnd.h"
#include "platform/framework/view.h"
#include "platform/framework/win_app.h"

IMPLEMENT_DYNAMIC(CDocument, CCmdTarget)

BEGIN_MESSAGE_MAP(CDocument, CCmdTarget)
ON_COMMAND(ID_FILE_CLOSE, OnFileClose)
ON_COMMAND(ID_FILE_SAVE, OnFileSave)
ON_COMMAND(ID_FILE_SAVE_AS, OnFileSaveAs)
END_MESSAGE_MAP()

namespace {

enum class FileOperation { Open, Save };

void ReportFileError(LPCSTR lpszPathName, int error, FileOperation op) {
    CString strMessage = op == FileOperation::Open ? "Cannot open \"" : "Cannot save \"";
    strMessage += lpszPathName;
    strMessage += "\":\n";
    strMessage += std::strerror(error);
    strMessage += ".";
    AfxMessageBox(strMessage, MB_OK | MB_ICONEXCLAMATION);
}

} // namespace

CDocument::~CDocument() {
    for (CView* pView : m_viewList)
        pView->m_pDocument = nullptr;
    if (m_pDocTemplate)
        m_pDocTemplate->RemoveDocument(this);
}

void CDocument::SetTitle(LPCSTR lpszTitle) {
    m_strTitle = lpszTitle;
    UpdateFrameCounts();
}

void CDocument::SetPathName(LPCSTR lpszPathName) {
    std::error_code ec;
    std::filesystem::path path = std::filesystem::absolute(lpszPathName, ec);
    if (ec)
        path = lpszPathName;
    path = path.lexically_normal();
    m_strPathName = CString(path.string());
    SetTitle(path.filename().string().c_str());
}

void CDocument::AddView(CView* pView) {
    m_viewList.push_back(pView);
    pView->m_pDocument = this;
}

void CDocument::RemoveView(CView* pView) {
    std::erase(m_viewList, pView);
    pView->m_pDocument = nullptr;
}

void CDocument::UpdateFrameCounts() {
    for (CView* pView : m_viewList) {
        if (CFrameWnd* pFrame = pView->m_pFrame)
            pFrame->OnUpdateFrameTitle(TRUE);
    }
}

BOOL CDocument::OnNewDocument() {
    DeleteContents();
    m_strPathName.Empty();
    SetModifiedFlag(FALSE);
    return TRUE;
}

BOOL CDocument::OnOpenDocument(LPCSTR lpszPathName) {
    // Never blocks (a FIFO), never takes a terminal; reading nothing from a device is harmless.
    const int fd = ::open(lpszPathName, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        ReportFileError(lpszPathName, errno, FileOperation::Open);
        return FALSE;
    }
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
        ::close(fd);
        ReportFileError(lpszPathName, EISDIR, FileOperation::Open);
        return FALSE;
    }
    DeleteContents();
    SetModifiedFlag(TRUE);
    CArchive ar(CArchive::load);
    Serialize(ar);
    ::close(fd);
    SetModifiedFlag(FALSE);
    return TRUE;
}

BOOL CDocument::OnSaveDocument(LPCSTR lpszPathName) {
    // Only a new file is made: O_EXCL never opens, and so never truncates, a file that exists.
    const int fd = ::open(lpszPathName, O_WRONLY | O_CREAT | O_EXCL | O_NOCTTY | O_CLOEXEC, 0666);
    if (fd >= 0) {
        CArchive ar(CArchive::store);
        Serialize(ar);
        const int rc = ::close(fd);
        if (rc != 0) {
            ReportFileError(lpszPathName, errno, FileOperation::Save);
            return FALSE;
        }
        SetModifiedFlag(FALSE);
        return TRUE;
    }
    int error = errno;
    if (error == EEXIST) {
        // The file is there: it keeps its contents, byte for byte. A save into it succeeds where
        // opening it for writing would have.
        struct stat st {};
        if (::stat(lpszPathName, &st) != 0)
            error = errno;
        else if (S_ISDIR(st.st_mode))
            error = EISDIR;
        else if (::access(lpszPathName, W_OK) != 0)
            error = errno;
        else {
            SetModifiedFlag(FALSE);
            return TRUE;
        }
    }
    ReportFileError(lpszPathName, error, FileOperation::Save);
    return FALSE;
}

void CDocument::OnCloseDocument() {
    // Destroys the frames showing the document, then the document itself.
    std::vector<CFrameWnd*> frames;
    for (CView* pView : m_viewList) {
        if (pView->m_pFrame &&
            std::find(frames.begin(), frames.end(), pView->m_pFrame) == frames.end())
            frames.push_back(pView->m_pFrame);
    }
    const BOOL bAutoDelete = m_bAutoDelete;
    m_bAutoDelete = FALSE;
    for (CFrameWnd* pFrame : frames)
        pFrame->DestroyWindow();
    for (CView* pView : m_viewList)
        pView->m_pDocument = nullptr;
    m_viewList.clear();
    m_bAutoDelete = bAutoDelete;
    DeleteContents();
    if (m_bAutoDelete)
        delete this;
}

BOOL CDocument::SaveModified() {
    // Nothing in this framework's documents is ever unsaved work that could be lost by closing.
    return TRUE;
}

BOOL CDocument::DoSave(LPCSTR lpszPathName, BOOL bReplace) {
    CString newName = lpszPathName;
    if (newName.IsEmpty()) {
        newName = m_strPathName;
        if (bReplace && newName.IsEmpty()) {
            // The title, cut at the first character that would make a dubious file name.
            newName = m_strTitle;
            const int iBad = newName.FindOneOf(" #%;/\\");
            if (iBad != -1)
                newName = newName.Left(iBad);
            CString strExt;
            if (m_pDocTemplate && m_pDocTemplate->GetDocString(strExt, CDocTemplate::filterExt) &&
                !strExt.IsEmpty())
                newName += strExt;
        }
        CWinApp* pApp = AfxGetApp();
        if (!pApp || !pApp->DoPromptFileName(newName, AFX_IDS_SAVEFILE, FALSE, m_pDocTemplate))
            return FALSE; // cancelled: nothing is written
    }
    if (!OnSaveDocument(newName))
        return FALSE;
    if (bReplace)
        SetPathName(newName);
    return TRUE;
}

BOOL CDocument::DoFileSave() {
    // A document without a file, or whose file can no longer be written, goes through Save As.
    if (m_strPathName.IsEmpty() || ::access(m_strPathName, W_OK) != 0)
        return DoSave(nullptr);
    return DoSave(m_strPathName);
}

void CDocument::OnFileClose() {
    if (!SaveModified())
        return;
    OnCloseDocument();
}

void CDocument::OnFileSave() {
    DoFileSave();
}

void CDocument::OnFileSaveAs() {
    DoSave(nullptr);
}

BOOL CDocument::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
    if (CCmdTarget::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    return m_pDocTemplate && m_pDocTemplate->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}
