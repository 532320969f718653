// The standard command line of a single-document program: which shell command to carry out at
// start-up (a new document, open a file, print, unregister) and the file it names.
//
// An argument beginning with "-" is a switch named by the rest of it. One beginning with "/" is a
// switch only when its name is one of those below (p, pt and dde in exactly that case; Unregister,
// Unregserver, Embedding and Automation in any case), since "/" also begins every absolute path
// here; any other such argument is a file name.
#pragma once

#include <vector>

#include "platform/framework/afx_string.h"

class CCommandLineInfo {
public:
    enum { FileNew, FileOpen, FilePrint, FilePrintTo, FileDDE, AppUnregister, FileNothing = -1 };

    BOOL m_bShowSplash = TRUE;
    BOOL m_bRunEmbedded = FALSE;
    BOOL m_bRunAutomated = FALSE;
    int m_nShellCommand = FileNew;
    CString m_strFileName;
    CString m_strPrinterName;
    CString m_strDriverName;
    CString m_strPortName;

    virtual ~CCommandLineInfo() = default;
    // One argument, without its "-" or "/" when bFlag; bLast for the last one.
    virtual void ParseParam(LPCSTR pszParam, BOOL bFlag, BOOL bLast);

protected:
    void ParseParamFlag(LPCSTR pszParam);
    void ParseParamNotFlag(LPCSTR pszParam);
    void ParseLast(BOOL bLast);
};

// Fills rCmdInfo from the arguments after the program name.
void ParseCommandLineArguments(CCommandLineInfo& rCmdInfo, const std::vector<CString>& args);
// Whether the argument is a switch, and its name.
BOOL IsCommandLineSwitch(LPCSTR pszArg, CString& strName);
