// A window of the framework: the operations on its real window, and the dispatch of the messages it
// receives through its message map to its handlers, or to the default processing.
#pragma once

#include "platform/framework/afx_string.h"
#include "platform/framework/cmd_target.h"

class CDC;
class CFrameWnd;

class CWnd : public CCmdTarget {
    DECLARE_DYNAMIC(CWnd)
public:
    CWnd() = default;
    ~CWnd() override;

    // Stands for the insert-after position of SetWindowPos: the top of the Z order.
    static const CWnd wndTopMost;

    HWND m_hWnd = nullptr;
    HWND GetSafeHwnd() const { return m_hWnd; }
    // The framework object of a window, or nullptr.
    static CWnd* FromHandle(HWND hWnd);

    // Operations on the window. On an object without a window they do nothing (a rectangle asked
    // for is empty).
    void GetClientRect(LPRECT lpRect) const;
    void GetWindowRect(LPRECT lpRect) const;
    void InvalidateRect(LPCRECT lpRect, BOOL bErase = TRUE);
    void Invalidate(BOOL bErase = TRUE) { InvalidateRect(nullptr, bErase); }
    // Paints the invalidated part of the window before it returns.
    void UpdateWindow();
    BOOL RedrawWindow(LPCRECT lpRectUpdate = nullptr, void* prgnUpdate = nullptr,
                      UINT flags = RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
    BOOL SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags);
    // A device context for the client area; give it back with ReleaseDC.
    CDC* GetDC();
    int ReleaseDC(CDC* pDC);
    void SetWindowText(LPCSTR lpszString);
    CString GetWindowText() const;
    // Asks for the keyboard focus. The platform refuses while a modal dialog of the program is
    // open over this window, or while the window is disabled. Returns the window that had it.
    CWnd* SetFocus();
    static CWnd* GetFocus();
    BOOL ShowWindow(int nCmdShow);
    BOOL IsWindowVisible() const;
    BOOL EnableWindow(BOOL bEnable = TRUE);
    // FALSE also while a modal window of the program (a dialog, a message box) is open over it.
    BOOL IsWindowEnabled() const;
    CWnd* GetParent() const;
    CFrameWnd* GetParentFrame() const;
    CWnd* GetTopLevelParent() const;
    virtual BOOL DestroyWindow();

    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    // Queues the message; it is sent from the event loop.
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

    // Dispatch: the message map, then the default processing.
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // The default processing of the message being dispatched, exactly as it was delivered.
    LRESULT Default();
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    virtual BOOL PreCreateWindow(CREATESTRUCT& cs);
    // Called once the real window is gone.
    virtual void PostNcDestroy() {}

    // The message being dispatched (nullptr outside of dispatch).
    static const MSG* GetCurrentMessage();
    // Dispatches a message made from a platform event to the window: keyboard messages are first
    // offered to PreTranslateMessage of the window and of each parent up to the frame. FALSE when
    // one of those took it (it was not dispatched) or there is no window object.
    static BOOL DispatchFromPlatform(CWnd* pWnd, UINT message, WPARAM wParam, LPARAM lParam,
                                     QEvent* event, LRESULT* pResult = nullptr);

    // For the platform: the real window has been destroyed.
    void OnWindowDestroyed();

protected:
    explicit CWnd(HWND hWndSpecial) : m_hWnd(hWndSpecial) {}

    // Attaches a real window made for this object and sends it WM_CREATE. FALSE (and no window)
    // when OnCreate returns -1.
    BOOL AttachNewWindow(HWND hWnd, CREATESTRUCT& cs);

    // Handlers with the default processing; derived classes bind their own in their maps.
    int OnCreate(LPCREATESTRUCT);
    void OnPaint();
    void OnClose();
    void OnSize(UINT, int, int) { Default(); }
    void OnSetFocus(CWnd*) { Default(); }
    void OnKillFocus(CWnd*) { Default(); }
    void OnKeyDown(UINT, UINT, UINT) { Default(); }
    void OnKeyUp(UINT, UINT, UINT) { Default(); }
    void OnChar(UINT, UINT, UINT) { Default(); }
    void OnSysKeyDown(UINT, UINT, UINT) { Default(); }
    void OnSysKeyUp(UINT, UINT, UINT) { Default(); }
    void OnLButtonDown(UINT, CPoint) { Default(); }
    void OnLButtonUp(UINT, CPoint) { Default(); }
    void OnRButtonDown(UINT, CPoint) { Default(); }
    void OnRButtonUp(UINT, CPoint) { Default(); }
    void OnSysCommand(UINT, LPARAM) { Default(); }

    DECLARE_MESSAGE_MAP()
};
