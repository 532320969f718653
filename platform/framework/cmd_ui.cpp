#include "platform/framework/cmd_ui.h"

#include "platform/framework/cmd_target.h"

void CCmdUI::Enable(BOOL bOn) {
    m_bEnabled = bOn ? TRUE : FALSE;
    m_bEnableChanged = TRUE;
}

void CCmdUI::SetCheck(int nCheck) {
    m_nCheck = nCheck;
}

BOOL CCmdUI::DoUpdate(CCmdTarget* pTarget, BOOL bDisableIfNoHndler) {
    m_bEnableChanged = FALSE;
    BOOL bResult = pTarget->OnCmdMsg(m_nID, static_cast<int>(CN_UPDATE_COMMAND_UI), this, nullptr);
    if (bDisableIfNoHndler && !m_bEnableChanged) {
        AFX_CMDHANDLERINFO info{nullptr};
        BOOL bHandler = pTarget->OnCmdMsg(m_nID, static_cast<int>(CN_COMMAND), this, &info);
        Enable(bHandler);
    }
    return bResult;
}
