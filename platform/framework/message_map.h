// Static message maps: per class, a table binding window messages and commands to handlers,
// searched in the class and then in its bases. The macros make a map read like a table:
//
//     BEGIN_MESSAGE_MAP(CPiboView, CScrollView)
//         ON_WM_KEYDOWN()
//         ON_COMMAND(ID_VIEW_OWNPICTURES, OnViewOwnPictures)
//     END_MESSAGE_MAP()
//
// Each entry holds a small function that unpacks WPARAM and LPARAM into the handler's arguments.
#pragma once

#include "platform/framework/afx_types.h"

class QEvent;
class CCmdTarget;
class CCmdUI;
class CWnd;

// A message as the framework dispatches it: the window, the message and its two parameters, and the
// Qt event it was made from (nullptr for messages the framework sends itself).
struct MSG {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    QEvent* event;
};

using AFX_PMSG = LRESULT (*)(CCmdTarget* pTarget, WPARAM wParam, LPARAM lParam);

struct AFX_MSGMAP_ENTRY {
    UINT nMessage; // the window message, WM_COMMAND for commands and command updates
    UINT nCode;    // for WM_COMMAND entries: CN_COMMAND or CN_UPDATE_COMMAND_UI
    UINT nID;      // for WM_COMMAND entries: the command number
    AFX_PMSG pfn;  // nullptr ends the table
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (*pfnGetBaseMap)();
    const AFX_MSGMAP_ENTRY* lpEntries;
};

inline constexpr UINT CN_COMMAND = 0;
inline constexpr UINT CN_UPDATE_COMMAND_UI = 0xFFFFFFFF;

#define DECLARE_MESSAGE_MAP()                                                                      \
protected:                                                                                         \
    static const AFX_MSGMAP* GetThisMessageMap();                                                  \
    const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                                     \
    const AFX_MSGMAP* theClass::GetMessageMap() const {                                            \
        return GetThisMessageMap();                                                                \
    }                                                                                              \
    const AFX_MSGMAP* theClass::GetThisMessageMap() {                                              \
        using ThisClass [[maybe_unused]] = theClass;                                               \
        using TheBaseClass = baseClass;                                                            \
        static const AFX_MSGMAP_ENTRY _messageEntries[] = {

#define END_MESSAGE_MAP()                                                                          \
    { 0, 0, 0, nullptr }                                                                           \
    }                                                                                              \
    ;                                                                                              \
    static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, _messageEntries};      \
    return &messageMap;                                                                            \
    }

// One entry: the message and the statement that calls the handler (pTarget, wParam, lParam in
// scope).
#define AFX_MSG_ENTRY(msg, call)                                                                   \
    {msg, 0, 0,                                                                                    \
     [](CCmdTarget* pTarget, [[maybe_unused]] WPARAM wParam,                                       \
        [[maybe_unused]] LPARAM lParam) -> LRESULT {                                               \
         [[maybe_unused]] ThisClass* pThis = static_cast<ThisClass*>(pTarget);                     \
         call;                                                                                     \
     }},

// Key messages: virtual-key (or character) code, repeat count (low word of LPARAM), key flags word
// (high word of LPARAM).
#define AFX_KEY_ENTRY(msg, fn)                                                                     \
    AFX_MSG_ENTRY(msg, pThis->fn(static_cast<UINT>(wParam),                                        \
                                 LOWORD(static_cast<std::uintptr_t>(lParam)),                      \
                                 HIWORD(static_cast<std::uintptr_t>(lParam)));                     \
                  return 0)
// Mouse messages: key-state flags and the cursor position in client coordinates.
#define AFX_MOUSE_ENTRY(msg, fn)                                                                   \
    AFX_MSG_ENTRY(                                                                                 \
        msg, pThis->fn(static_cast<UINT>(wParam),                                                  \
                       CPoint(static_cast<short>(LOWORD(static_cast<std::uintptr_t>(lParam))),     \
                              static_cast<short>(HIWORD(static_cast<std::uintptr_t>(lParam)))));   \
        return 0)

#define ON_WM_KEYDOWN() AFX_KEY_ENTRY(WM_KEYDOWN, OnKeyDown)
#define ON_WM_KEYUP() AFX_KEY_ENTRY(WM_KEYUP, OnKeyUp)
#define ON_WM_CHAR() AFX_KEY_ENTRY(WM_CHAR, OnChar)
#define ON_WM_SYSKEYDOWN() AFX_KEY_ENTRY(WM_SYSKEYDOWN, OnSysKeyDown)
#define ON_WM_SYSKEYUP() AFX_KEY_ENTRY(WM_SYSKEYUP, OnSysKeyUp)
#define ON_WM_LBUTTONDOWN() AFX_MOUSE_ENTRY(WM_LBUTTONDOWN, OnLButtonDown)
#define ON_WM_LBUTTONUP() AFX_MOUSE_ENTRY(WM_LBUTTONUP, OnLButtonUp)
#define ON_WM_RBUTTONDOWN() AFX_MOUSE_ENTRY(WM_RBUTTONDOWN, OnRButtonDown)
#define ON_WM_RBUTTONUP() AFX_MOUSE_ENTRY(WM_RBUTTONUP, OnRButtonUp)
#define ON_WM_PAINT() AFX_MSG_ENTRY(WM_PAINT, pThis->OnPaint(); return 0)
#define ON_WM_CLOSE() AFX_MSG_ENTRY(WM_CLOSE, pThis->OnClose(); return 0)
#define ON_WM_SIZE()                                                                               \
    AFX_MSG_ENTRY(WM_SIZE, pThis->OnSize(static_cast<UINT>(wParam),                                \
                                         LOWORD(static_cast<std::uintptr_t>(lParam)),              \
                                         HIWORD(static_cast<std::uintptr_t>(lParam)));             \
                  return 0)
#define ON_WM_CREATE()                                                                             \
    AFX_MSG_ENTRY(WM_CREATE, return pThis->OnCreate(reinterpret_cast<LPCREATESTRUCT>(lParam)))
#define ON_WM_KILLFOCUS()                                                                          \
    AFX_MSG_ENTRY(WM_KILLFOCUS,                                                                    \
                  pThis->OnKillFocus(CWnd::FromHandle(reinterpret_cast<HWND>(wParam)));            \
                  return 0)
#define ON_WM_SETFOCUS()                                                                           \
    AFX_MSG_ENTRY(WM_SETFOCUS,                                                                     \
                  pThis->OnSetFocus(CWnd::FromHandle(reinterpret_cast<HWND>(wParam)));             \
                  return 0)
#define ON_WM_SYSCOMMAND()                                                                         \
    AFX_MSG_ENTRY(WM_SYSCOMMAND, pThis->OnSysCommand(static_cast<UINT>(wParam), lParam); return 0)

// A command from a menu or an accelerator, and the update of its enabled and checked state.
#define ON_COMMAND(id, memberFxn)                                                                  \
    {WM_COMMAND, CN_COMMAND, static_cast<UINT>(id),                                                \
     [](CCmdTarget* pTarget, WPARAM, LPARAM) -> LRESULT {                                          \
         static_cast<ThisClass*>(pTarget)->memberFxn();                                            \
         return 0;                                                                                 \
     }},
#define ON_UPDATE_COMMAND_UI(id, memberFxn)                                                        \
    {WM_COMMAND, CN_UPDATE_COMMAND_UI, static_cast<UINT>(id),                                      \
     [](CCmdTarget* pTarget, WPARAM, LPARAM lParam) -> LRESULT {                                   \
         static_cast<ThisClass*>(pTarget)->memberFxn(reinterpret_cast<CCmdUI*>(lParam));           \
         return 0;                                                                                 \
     }},
