// The command-update object: what a command's update handler says about its menu item or
// accelerator (enabled, checked). The menu applies it to the item after the update.
#pragma once

#include "platform/win/types.h"

class CCmdTarget;

class CCmdUI {
public:
    virtual ~CCmdUI() = default;

    UINT m_nID = 0;
    BOOL m_bEnableChanged = FALSE;
    BOOL m_bContinueRouting = FALSE;

    // The state the update handlers left.
    BOOL m_bEnabled = TRUE;
    int m_nCheck = -1; // -1 while no handler set it

    virtual void Enable(BOOL bOn = TRUE);
    virtual void SetCheck(int nCheck = 1);
    void ContinueRouting() { m_bContinueRouting = TRUE; }

    // Asks pTarget's command routing for the update; with bDisableIfNoHndler a command that has
    // neither an update handler nor a command handler is disabled. TRUE when an update handler ran.
    BOOL DoUpdate(CCmdTarget* pTarget, BOOL bDisableIfNoHndler);
};
