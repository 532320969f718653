#include "platform/framework/command_line.h"

#include <strings.h>

#include <cstring>

namespace {

bool Same(LPCSTR a, LPCSTR b) {
    return std::strcmp(a, b) == 0;
}
bool SameNoCase(LPCSTR a, LPCSTR b) {
    return ::strcasecmp(a, b) == 0;
}

// Switch names a "/" argument may carry: the exact-case ones and the any-case ones.
bool IsKnownSwitch(LPCSTR name) {
    for (LPCSTR s : {"p", "pt", "dde"}) {
        if (Same(name, s))
            return true;
    }
    for (LPCSTR s : {"Unregister", "Unregserver", "Embedding", "Automation"}) {
        if (SameNoCase(name, s))
            return true;
    }
    return false;
}

} // namespace

void CCommandLineInfo::ParseParam(LPCSTR pszParam, BOOL bFlag, BOOL bLast) {
    if (bFlag)
        ParseParamFlag(pszParam);
    else
        ParseParamNotFlag(pszParam);
    ParseLast(bLast);
}

void CCommandLineInfo::ParseParamFlag(LPCSTR pszParam) {
    if (Same(pszParam, "pt"))
        m_nShellCommand = FilePrintTo;
    else if (Same(pszParam, "p"))
        m_nShellCommand = FilePrint;
    else if (SameNoCase(pszParam, "Unregister") || SameNoCase(pszParam, "Unregserver"))
        m_nShellCommand = AppUnregister;
    else if (Same(pszParam, "dde"))
        m_nShellCommand = FileDDE;
    else if (SameNoCase(pszParam, "Embedding")) {
        m_bRunEmbedded = TRUE;
        m_bShowSplash = FALSE;
    } else if (SameNoCase(pszParam, "Automation")) {
        m_bRunAutomated = TRUE;
        m_bShowSplash = FALSE;
    }
}

void CCommandLineInfo::ParseParamNotFlag(LPCSTR pszParam) {
    if (m_strFileName.IsEmpty())
        m_strFileName = pszParam;
    else if (m_nShellCommand == FilePrintTo && m_strPrinterName.IsEmpty())
        m_strPrinterName = pszParam;
    else if (m_nShellCommand == FilePrintTo && m_strDriverName.IsEmpty())
        m_strDriverName = pszParam;
    else if (m_nShellCommand == FilePrintTo && m_strPortName.IsEmpty())
        m_strPortName = pszParam;
}

void CCommandLineInfo::ParseLast(BOOL bLast) {
    if (!bLast)
        return;
    if (m_nShellCommand == FileNew && !m_strFileName.IsEmpty())
        m_nShellCommand = FileOpen;
    m_bShowSplash = !m_bRunEmbedded && !m_bRunAutomated;
}

BOOL IsCommandLineSwitch(LPCSTR pszArg, CString& strName) {
    if (pszArg[0] == '-') {
        strName = pszArg + 1;
        return TRUE;
    }
    if (pszArg[0] == '/' && IsKnownSwitch(pszArg + 1)) {
        strName = pszArg + 1;
        return TRUE;
    }
    strName = pszArg;
    return FALSE;
}

void ParseCommandLineArguments(CCommandLineInfo& rCmdInfo, const std::vector<CString>& args) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        CString strName;
        const BOOL bFlag = IsCommandLineSwitch(args[i], strName);
        rCmdInfo.ParseParam(strName, bFlag, i + 1 == args.size());
    }
}
