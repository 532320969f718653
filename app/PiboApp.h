// The application object: where the program enters the framework. InitInstance prepares the
// settings store, registers the one document template, carries out the command line, shows the
// main window maximised and plays the start-up sound.
#pragma once

#include "platform/framework/afxwin.h"

class CPiboApp : public CWinApp {
public:
    CPiboApp() = default;
    ~CPiboApp() override = default;

    BOOL InitInstance() override;

    // Help, About: shows the About box until it is closed.
    void OnAppAbout();

protected:
    DECLARE_MESSAGE_MAP()
};
