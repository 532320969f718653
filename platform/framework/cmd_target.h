// The base of every object that has a message map: it finds handlers for messages and commands in
// the map of its class and then in the maps of its bases.
#pragma once

#include "platform/framework/message_map.h"
#include "platform/framework/object.h"

// Filled in instead of running the handler when a caller only asks whether one exists.
struct AFX_CMDHANDLERINFO {
    CCmdTarget* pTarget;
};

class CCmdTarget : public CObject {
    DECLARE_DYNAMIC(CCmdTarget)
public:
    // Runs the handler of the command (CN_COMMAND) or of its update (CN_UPDATE_COMMAND_UI, pExtra
    // the CCmdUI) from this object's maps. With pHandlerInfo only reports whether there is one.
    // TRUE when a handler was found.
    virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo);

    // The entry for a message (or a command with its code), searched in the map and its bases.
    static const AFX_MSGMAP_ENTRY* FindMessageEntry(const AFX_MSGMAP* pMap, UINT nMessage,
                                                    UINT nCode, UINT nID);

protected:
    CCmdTarget() = default;
    static const AFX_MSGMAP* GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;
};
