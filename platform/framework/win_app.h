// The application object: the program's one CWinApp, which the framework starts (InitInstance),
// runs (the message loop on Qt's event loop) and ends (ExitInstance). It owns the document
// templates, carries out the command line, keeps the settings store and shows message boxes
// titled with the application name.
#pragma once

#include <memory>
#include <vector>

#include "platform/framework/afx_string.h"
#include "platform/framework/cmd_target.h"

class CCommandLineInfo;
class CDocTemplate;
class CDocument;
class CWnd;
namespace pibo::settings {
class ProfileStore;
}

class CWinApp : public CCmdTarget {
    DECLARE_DYNAMIC(CWinApp)
public:
    // Without a name, the application takes string AFX_IDS_APP_TITLE of its module.
    explicit CWinApp(LPCSTR lpszAppName = nullptr);
    ~CWinApp() override;

    LPCSTR m_pszAppName = nullptr;
    LPCSTR m_pszRegistryKey = nullptr;
    LPCSTR m_pszProfileName = nullptr;
    HINSTANCE m_hInstance = nullptr;
    CWnd* m_pMainWnd = nullptr;
    // The show state of the first frame; print commands hide it.
    int m_nCmdShow = SW_SHOWNORMAL;
    CCommandLineInfo* m_pCmdInfo = nullptr;
    UINT m_nNumPreviewPages = 0;

    virtual BOOL InitInstance();
    // The message loop, until the main window has closed; then ExitInstance.
    virtual int Run();
    // Writes the settings back (not after an unregistration). Returns the exit status.
    virtual int ExitInstance();

    BOOL Enable3dControlsStatic() { return FALSE; }
    // Later profile calls use the store under this company key; the profile name becomes the
    // application name.
    void SetRegistryKey(LPCSTR lpszRegistryKey);
    // nMaxMRU 0: no recent-file list. Reads "PreviewPages" of section "Settings".
    void LoadStdProfileSettings(UINT nMaxMRU = 4);
    void SaveStdProfileSettings();
    UINT GetProfileInt(LPCSTR lpszSection, LPCSTR lpszEntry, int nDefault);
    BOOL WriteProfileInt(LPCSTR lpszSection, LPCSTR lpszEntry, int nValue);
    // Removes the program's key from the settings store.
    virtual BOOL Unregister();

    void AddDocTemplate(CDocTemplate* pTemplate);
    virtual CDocument* OpenDocumentFile(LPCSTR lpszFileName);
    void ParseCommandLine(CCommandLineInfo& rCmdInfo);
    BOOL ProcessShellCommand(CCommandLineInfo& rCmdInfo);
    // Asks for a file name with the framework's dialog; fileName is proposed and receives it.
    BOOL DoPromptFileName(CString& fileName, UINT nIDSTitle, BOOL bOpenFileDialog,
                          CDocTemplate* pTemplate);
    virtual int DoMessageBox(LPCSTR lpszPrompt, UINT nType, UINT nIDPrompt);

    // The store the profile calls use; tests may point it elsewhere.
    pibo::settings::ProfileStore& ProfileStore();
    void SetProfileStore(std::unique_ptr<pibo::settings::ProfileStore> store);

    // Closes the documents and destroys the windows that are left, and drops the templates.
    void CloseAllDocuments();

protected:
    void OnFileNew();
    void OnFileOpen();
    void OnAppExit();

    std::vector<CDocTemplate*> m_templateList;
    std::unique_ptr<pibo::settings::ProfileStore> m_pProfileStore;
    std::unique_ptr<CCommandLineInfo> m_pOwnCmdInfo;

public:
    // The name taken from the module when none was given.
    CString m_strAppName;

protected:
    DECLARE_MESSAGE_MAP()

private:
    CWinApp* m_pPreviousApp;
};

CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();
HINSTANCE AfxGetInstanceHandle();
HINSTANCE AfxGetResourceHandle();
// The module resources are taken from (AfxWinInit records the program's own).
void AfxSetResourceHandle(HINSTANCE hInstResource);
LPCSTR AfxGetAppName();
void AfxEnableControlContainer();
// Ends the message loop with the exit status once the current message is done.
void AfxPostQuitMessage(int nExitCode);
// A message box titled with the application name; the prompt by text or by string number.
int AfxMessageBox(LPCSTR lpszText, UINT nType = MB_OK, UINT nIDHelp = 0);
int AfxMessageBox(UINT nIDPrompt, UINT nType = MB_OK, UINT nIDHelp = UINT(-1));

// Records the module and the process arguments and makes the Qt application, once.
BOOL AfxWinInit(HINSTANCE hInstance, int argc, char** argv);
// The framework's entry: InitInstance, Run or ExitInstance, clean-up. Returns the exit status.
int AfxWinMain(HINSTANCE hInstance, int argc, char** argv);
// The process's arguments after the program name.
const std::vector<CString>& AfxGetArguments();
// The process's current directory, whatever its length; "." when it cannot be had (removed).
CString AfxGetCurrentDirectory();
