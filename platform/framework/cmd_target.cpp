#include "platform/framework/cmd_target.h"

#include "platform/framework/cmd_ui.h"

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap() {
    static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, nullptr}};
    static const AFX_MSGMAP map = {nullptr, entries};
    return &map;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const {
    return GetThisMessageMap();
}

const AFX_MSGMAP_ENTRY* CCmdTarget::FindMessageEntry(const AFX_MSGMAP* pMap, UINT nMessage,
                                                     UINT nCode, UINT nID) {
    for (; pMap; pMap = pMap->pfnGetBaseMap ? pMap->pfnGetBaseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* e = pMap->lpEntries; e->pfn; ++e) {
            if (e->nMessage == nMessage && e->nCode == nCode && e->nID == nID)
                return e;
        }
    }
    return nullptr;
}

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
    const AFX_MSGMAP_ENTRY* e =
        FindMessageEntry(GetMessageMap(), WM_COMMAND, static_cast<UINT>(nCode), nID);
    if (!e)
        return FALSE;
    if (pHandlerInfo) {
        pHandlerInfo->pTarget = this;
        return TRUE;
    }
    if (static_cast<UINT>(nCode) == CN_UPDATE_COMMAND_UI) {
        auto* pCmdUI = static_cast<CCmdUI*>(pExtra);
        pCmdUI->m_bContinueRouting = FALSE;
        e->pfn(this, 0, reinterpret_cast<LPARAM>(pCmdUI));
        return !pCmdUI->m_bContinueRouting;
    }
    e->pfn(this, 0, 0);
    return TRUE;
}
