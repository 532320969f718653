#include "platform/framework/win_app.h"

#include <filesystem>

#include <QCoreApplication>
#include <QThread>

#include "platform/framework/afxres.h"
#include "platform/framework/command_line.h"
#include "platform/framework/doc_template.h"
#include "platform/framework/file_dialog.h"
#include "platform/framework/wnd.h"
#include "platform/qt/application.h"
#include "platform/settings/profile_store.h"
#include "platform/sound/sound_service.h"
#include "platform/win/resource_module.h"

IMPLEMENT_DYNAMIC(CWinApp, CCmdTarget)

BEGIN_MESSAGE_MAP(CWinApp, CCmdTarget)
ON_COMMAND(ID_APP_EXIT, OnAppExit)
END_MESSAGE_MAP()

namespace {

CWinApp* g_pApp = nullptr;
HINSTANCE g_hInstance = nullptr;
std::vector<CString> g_arguments;
bool g_bQuitPosted = false;
int g_nQuitCode = 0;

constexpr const char* kUnregisterDone =
    "System registry entries have been removed and the INI file (if any) was deleted.";
constexpr const char* kUnregisterFailed =
    "Not all of the system registry entries (or INI file) were removed.";

} // namespace

CWinApp::CWinApp(LPCSTR lpszAppName) : m_pszAppName(lpszAppName), m_pPreviousApp(g_pApp) {
    g_pApp = this;
}

CWinApp::~CWinApp() {
    CloseAllDocuments();
    if (g_pApp == this)
        g_pApp = m_pPreviousApp;
}

BOOL CWinApp::InitInstance() {
    return TRUE;
}

int CWinApp::Run() {
    if (!g_bQuitPosted)
        QCoreApplication::exec();
    return ExitInstance();
}

int CWinApp::ExitInstance() {
    // After an unregistration the store keeps nothing of the program's.
    if (!m_pCmdInfo || m_pCmdInfo->m_nShellCommand != CCommandLineInfo::AppUnregister)
        SaveStdProfileSettings();
    return g_nQuitCode;
}

void CWinApp::SetRegistryKey(LPCSTR lpszRegistryKey) {
    m_pszRegistryKey = lpszRegistryKey;
    m_pszProfileName = m_pszAppName;
}

void CWinApp::LoadStdProfileSettings(UINT) {
    // No recent-file list exists in this framework.
    m_nNumPreviewPages = GetProfileInt("Settings", "PreviewPages", 0);
}

void CWinApp::SaveStdProfileSettings() {
    if (m_nNumPreviewPages != 0)
        WriteProfileInt("Settings", "PreviewPages", static_cast<int>(m_nNumPreviewPages));
}

pibo::settings::ProfileStore& CWinApp::ProfileStore() {
    if (!m_pProfileStore)
        m_pProfileStore = std::make_unique<pibo::settings::ProfileStore>(
            pibo::settings::ProfileStore::DefaultRoot());
    return *m_pProfileStore;
}

void CWinApp::SetProfileStore(std::unique_ptr<pibo::settings::ProfileStore> store) {
    m_pProfileStore = std::move(store);
}

UINT CWinApp::GetProfileInt(LPCSTR lpszSection, LPCSTR lpszEntry, int nDefault) {
    if (!m_pszRegistryKey || !m_pszProfileName)
        return static_cast<UINT>(nDefault);
    return ProfileStore().GetProfileInt(m_pszRegistryKey, m_pszProfileName, lpszSection, lpszEntry,
                                        static_cast<UINT>(nDefault));
}

BOOL CWinApp::WriteProfileInt(LPCSTR lpszSection, LPCSTR lpszEntry, int nValue) {
    if (!m_pszRegistryKey || !m_pszProfileName)
        return FALSE;
    return ProfileStore().WriteProfileInt(m_pszRegistryKey, m_pszProfileName, lpszSection,
                                          lpszEntry, static_cast<UINT>(nValue));
}

BOOL CWinApp::Unregister() {
    // This platform has no shell entries for the document type; only the settings go.
    if (!m_pszRegistryKey || !m_pszProfileName)
        return TRUE;
    return ProfileStore().DeleteAppKey(m_pszRegistryKey, m_pszProfileName);
}

void CWinApp::AddDocTemplate(CDocTemplate* pTemplate) {
    m_templateList.push_back(pTemplate);
}

CDocument* CWinApp::OpenDocumentFile(LPCSTR lpszFileName) {
    if (m_templateList.empty())
        return nullptr;
    // The document and its messages name the file by its full path.
    std::string strPath = lpszFileName ? lpszFileName : "";
    if (!strPath.empty()) {
        std::error_code ec;
        std::filesystem::path full = std::filesystem::absolute(strPath, ec);
        if (!ec)
            strPath = full.lexically_normal().string();
    }
    return m_templateList.front()->OpenDocumentFile(strPath.c_str());
}

void CWinApp::ParseCommandLine(CCommandLineInfo& rCmdInfo) {
    ParseCommandLineArguments(rCmdInfo, g_arguments);
}

BOOL CWinApp::ProcessShellCommand(CCommandLineInfo& rCmdInfo) {
    BOOL bResult = TRUE;
    switch (rCmdInfo.m_nShellCommand) {
    case CCommandLineInfo::FileNew:
        // A window will come: the sound service gets ready meanwhile.
        StartSoundService();
        if (!OnCmdMsg(ID_FILE_NEW, static_cast<int>(CN_COMMAND), nullptr, nullptr))
            OnFileNew();
        if (!m_pMainWnd)
            bResult = FALSE;
        break;

    case CCommandLineInfo::FileOpen:
        StartSoundService();
        if (!OpenDocumentFile(rCmdInfo.m_strFileName))
            bResult = FALSE;
        break;

    case CCommandLineInfo::FilePrintTo:
    case CCommandLineInfo::FilePrint:
        m_nCmdShow = SW_HIDE;
        OpenDocumentFile(rCmdInfo.m_strFileName);
        // Nothing handles the print command. Without the file there is no window to send it to.
        if (m_pMainWnd) {
            m_pCmdInfo = &rCmdInfo;
            m_pMainWnd->SendMessage(WM_COMMAND, ID_FILE_PRINT, 0);
            m_pCmdInfo = nullptr;
        }
        bResult = FALSE;
        break;

    case CCommandLineInfo::FileDDE:
        // No DDE conversation can follow here, so there is nothing to wait for and no window to
        // show: the start ends.
        m_nCmdShow = SW_HIDE;
        bResult = FALSE;
        break;

    case CCommandLineInfo::AppUnregister: {
        const BOOL bUnregistered = Unregister();
        if (!rCmdInfo.m_bRunEmbedded)
            AfxMessageBox(bUnregistered ? kUnregisterDone : kUnregisterFailed);
        bResult = FALSE;
        // Remembered, so that the way out does not write the settings back.
        if (!m_pCmdInfo) {
            m_pOwnCmdInfo = std::make_unique<CCommandLineInfo>();
            m_pOwnCmdInfo->m_nShellCommand = CCommandLineInfo::AppUnregister;
            m_pCmdInfo = m_pOwnCmdInfo.get();
        }
        break;
    }
    default:
        break;
    }
    return bResult;
}

void CWinApp::OnFileNew() {
    if (!m_templateList.empty())
        m_templateList.front()->OpenDocumentFile(nullptr);
}

void CWinApp::OnFileOpen() {
    CString newName;
    if (!DoPromptFileName(newName, AFX_IDS_OPENFILE, TRUE, nullptr))
        return; // cancelled
    OpenDocumentFile(newName);
}

void CWinApp::OnAppExit() {
    if (m_pMainWnd)
        m_pMainWnd->SendMessage(WM_CLOSE);
}

BOOL CWinApp::DoPromptFileName(CString& fileName, UINT nIDSTitle, BOOL bOpenFileDialog,
                               CDocTemplate*) {
    CFileDialog dlgFile(bOpenFileDialog, fileName, m_pMainWnd);
    dlgFile.m_strTitle.LoadString(nIDSTitle);
    if (dlgFile.DoModal() != IDOK)
        return FALSE;
    fileName = dlgFile.GetPathName();
    return TRUE;
}

void CWinApp::CloseAllDocuments() {
    for (CDocTemplate* pTemplate : m_templateList)
        pTemplate->CloseAllDocuments();
    if (m_pMainWnd)
        m_pMainWnd->DestroyWindow();
    for (CDocTemplate* pTemplate : m_templateList)
        delete pTemplate;
    m_templateList.clear();
}

CWinApp* AfxGetApp() {
    return g_pApp;
}

CWnd* AfxGetMainWnd() {
    return g_pApp ? g_pApp->m_pMainWnd : nullptr;
}

HINSTANCE AfxGetInstanceHandle() {
    return g_hInstance;
}

HINSTANCE AfxGetResourceHandle() {
    return g_hInstance;
}

void AfxSetResourceHandle(HINSTANCE hInstResource) {
    g_hInstance = hInstResource;
}

LPCSTR AfxGetAppName() {
    return g_pApp && g_pApp->m_pszAppName ? g_pApp->m_pszAppName : "";
}

void AfxEnableControlContainer() {
    // Dialogs here hold no embedded controls; there is nothing to enable.
}

void AfxPostQuitMessage(int nExitCode) {
    g_bQuitPosted = true;
    g_nQuitCode = nExitCode;
    // Only a running loop is told; before the loop runs, Run() sees the flag. (Telling Qt when
    // no loop runs would make the next modal loop end at once.)
    if (QCoreApplication::instance() && QThread::currentThread()->loopLevel() > 0)
        QCoreApplication::exit(nExitCode);
}

const std::vector<CString>& AfxGetArguments() {
    return g_arguments;
}

BOOL AfxWinInit(HINSTANCE hInstance, int argc, char** argv) {
    g_hInstance = hInstance;
    g_arguments.clear();
    for (int i = 1; i < argc; ++i)
        g_arguments.emplace_back(argv[i]);
    g_bQuitPosted = false;
    g_nQuitCode = 0;
    pibo::qt::EnsureApplication(argc > 0 ? argv[0] : nullptr);

    if (CWinApp* pApp = AfxGetApp()) {
        pApp->m_hInstance = hInstance;
        if (!pApp->m_pszAppName) {
            // The application's name is its module's title string.
            pApp->m_strAppName.LoadString(AFX_IDS_APP_TITLE);
            if (pApp->m_strAppName.IsEmpty())
                pApp->m_strAppName = "pibo";
            pApp->m_pszAppName = pApp->m_strAppName;
        }
    }
    return TRUE;
}

int AfxWinMain(HINSTANCE hInstance, int argc, char** argv) {
    CWinApp* pApp = AfxGetApp();
    if (!pApp || !AfxWinInit(hInstance, argc, argv))
        return -1;
    int nReturnCode = 0;
    if (!pApp->InitInstance()) {
        if (pApp->m_pMainWnd)
            pApp->m_pMainWnd->DestroyWindow();
        nReturnCode = pApp->ExitInstance();
    } else {
        nReturnCode = pApp->Run();
    }
    pApp->CloseAllDocuments();
    ShutdownSoundService();
    pibo::qt::DestroyApplication();
    return nReturnCode;
}
