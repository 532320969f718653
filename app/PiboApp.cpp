#include "app/PiboApp.h"

#include <string>

#include "app/AboutDlg.h"
#include "app/MainFrame.h"
#include "app/PiboDoc.h"
#include "media/MediaFiles.h"
#include "platform/sound/sound.h"
#include "res/resource.h"
#include "view/PiboView.h"

BEGIN_MESSAGE_MAP(CPiboApp, CWinApp)
ON_COMMAND(ID_APP_ABOUT, OnAppAbout)
ON_COMMAND(ID_FILE_NEW, CWinApp::OnFileNew)
ON_COMMAND(ID_FILE_OPEN, CWinApp::OnFileOpen)
END_MESSAGE_MAP()

BOOL CPiboApp::InitInstance() {
    AfxEnableControlContainer();
    Enable3dControlsStatic();

    // The settings store's key; reading "PreviewPages" makes the keys down to "Settings".
    SetRegistryKey("Local AppWizard-Generated Applications");
    LoadStdProfileSettings(0);

    auto* pDocTemplate =
        new CSingleDocTemplate(IDR_MAINFRAME, RUNTIME_CLASS(CPiboDoc), RUNTIME_CLASS(CMainFrame),
                               RUNTIME_CLASS(CPiboView));
    AddDocTemplate(pDocTemplate);

    CCommandLineInfo cmdInfo;
    ParseCommandLine(cmdInfo);
    if (!ProcessShellCommand(cmdInfo))
        return FALSE;

    m_pMainWnd->ShowWindow(SW_SHOWMAXIMIZED);
    m_pMainWnd->UpdateWindow();

    // The current directory is read in full, however long it is.
    const std::string strSound = StartupSoundPath(AfxGetCurrentDirectory());
    PlaySoundA(strSound.c_str(), nullptr, SND_FILENAME | SND_ASYNC);
    return TRUE;
}

void CPiboApp::OnAppAbout() {
    CAboutDlg aboutDlg;
    aboutDlg.DoModal();
}
