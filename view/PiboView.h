// The presentation view: the window inside the main frame in which the prompt and the pictures
// appear. Its key handlers turn each fresh key press into one picture and one sound; its mouse
// handlers play the button sounds; it takes the keyboard focus back whenever it loses it; and it
// carries the own-pictures command with its menu check mark.
#pragma once

#include "media/Dib.h"
#include "platform/framework/afxwin.h"

class CPiboDoc;

class CPiboView : public CScrollView {
protected:
    CPiboView();
    DECLARE_DYNCREATE(CPiboView)

public:
    ~CPiboView() override;

    CPiboDoc* GetDocument() const;
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnInitialUpdate() override;
    void OnDraw(CDC* pDC) override;

    CString m_strSoundDir;   // full path of the sound folder, ending in the separator
    CString m_strPictureDir; // full path of the own-picture folder, ending in the separator
    BOOL m_bKeyReleased;     // re-arm flag, one for all keys
    BOOL m_bOwnPictures;     // own-pictures mode
    BOOL m_bShowPicture;     // paint m_dib instead of the prompt
    int m_nPictureId;        // the built-in picture chosen last
    UINT m_nOtherKeyCount;   // position 0 to 5 in the cycle of other-key pictures
    CDib m_dib;              // the current picture

protected:
    void OnSysKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnSysKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnPaint();
    void OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnViewOwnPictures();
    void OnUpdateViewOwnPictures(CCmdUI* pCmdUI);
    void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnKillFocus(CWnd* pNewWnd);
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnLButtonUp(UINT nFlags, CPoint point);
    void OnRButtonDown(UINT nFlags, CPoint point);
    void OnRButtonUp(UINT nFlags, CPoint point);

private:
    // Invalidates the whole client area, background erased, and paints it before returning.
    void RepaintClientArea();
    void PlayFromSoundFolder(LPCSTR pszFileName);

    DECLARE_MESSAGE_MAP()
};
