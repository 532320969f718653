// The view's object, its initial update, painting, mouse buttons, focus and own-pictures command.
// The key handlers are in PiboViewKeys.cpp.
#include "view/PiboView.h"

#include "app/PiboDoc.h"
#include "media/MediaFiles.h"
#include "platform/sound/sound.h"
#include "res/resource.h"

namespace {

constexpr char kPrompt[] = "Press any key to begin!";
constexpr char kViewText[] = "Pibo's Multi-Media Application 1.0";

} // namespace

IMPLEMENT_DYNCREATE(CPiboView, CScrollView)

BEGIN_MESSAGE_MAP(CPiboView, CScrollView)
ON_WM_SYSKEYUP()
ON_WM_SYSKEYDOWN()
ON_WM_CHAR()
ON_WM_PAINT()
ON_WM_KEYUP()
ON_COMMAND(ID_VIEW_OWNPICTURES, OnViewOwnPictures)
ON_UPDATE_COMMAND_UI(ID_VIEW_OWNPICTURES, OnUpdateViewOwnPictures)
ON_WM_KEYDOWN()
ON_WM_KILLFOCUS()
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONUP()
ON_WM_RBUTTONDOWN()
ON_WM_RBUTTONUP()
END_MESSAGE_MAP()

CPiboView::CPiboView()
    : m_bKeyReleased(TRUE), m_bOwnPictures(FALSE), m_bShowPicture(FALSE), m_nPictureId(0),
      m_nOtherKeyCount(0) {}

CPiboView::~CPiboView() = default;

CPiboDoc* CPiboView::GetDocument() const {
    return static_cast<CPiboDoc*>(m_pDocument);
}

BOOL CPiboView::PreCreateWindow(CREATESTRUCT& cs) {
    return CScrollView::PreCreateWindow(cs);
}

LRESULT CPiboView::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    return CScrollView::DefWindowProc(message, wParam, lParam);
}

void CPiboView::OnDraw(CDC*) {
    // All painting goes through OnPaint.
}

void CPiboView::OnInitialUpdate() {
    CScrollView::OnInitialUpdate();
    SetScrollSizes(MM_TEXT, CSize(100, 100));
    SetWindowPos(&wndTopMost, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);

    // The folder paths: the current directory (read in full, however long), the separator, and
    // the folder names of the string resources.
    m_strSoundDir = AfxGetCurrentDirectory();
    m_strSoundDir += kPathSeparator;
    m_strPictureDir = m_strSoundDir;
    CString strFolder;
    strFolder.LoadString(IDS_SOUND_FOLDER);
    m_strSoundDir += strFolder;
    strFolder.LoadString(IDS_PICTURE_FOLDER);
    m_strPictureDir += strFolder;

    // The prompt, drawn into the view's outer rectangle in screen coordinates taken as client
    // coordinates; the redraw below paints the view afresh.
    CRect rect;
    GetWindowRect(&rect);
    CDC* pDC = GetDC();
    pDC->DrawText(kPrompt, -1, &rect, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
    ReleaseDC(pDC);

    SetWindowText(kViewText);
    RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    m_bOwnPictures = FALSE;
}

void CPiboView::OnPaint() {
    CPaintDC dc(this);
    CRect rect;
    GetClientRect(&rect);
    if (!m_bShowPicture)
        dc.DrawText(kPrompt, -1, &rect, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
    else
        m_dib.Paint(&dc, &rect, nullptr, TRUE, nullptr, FALSE);
}

void CPiboView::RepaintClientArea() {
    CRect rect;
    GetClientRect(&rect);
    InvalidateRect(&rect, TRUE);
    UpdateWindow();
}

void CPiboView::PlayFromSoundFolder(LPCSTR pszFileName) {
    CString strPath = m_strSoundDir;
    strPath += pszFileName;
    PlaySoundA(strPath, nullptr, SND_FILENAME | SND_ASYNC);
}

void CPiboView::OnLButtonDown(UINT nFlags, CPoint point) {
    PlayFromSoundFolder(kLButtonDownSound);
    CScrollView::OnLButtonDown(nFlags, point);
}

void CPiboView::OnLButtonUp(UINT nFlags, CPoint point) {
    PlayFromSoundFolder(kLButtonUpSound);
    CScrollView::OnLButtonUp(nFlags, point);
}

void CPiboView::OnRButtonDown(UINT nFlags, CPoint point) {
    PlayFromSoundFolder(kRButtonDownSound);
    CScrollView::OnRButtonDown(nFlags, point);
}

void CPiboView::OnRButtonUp(UINT nFlags, CPoint point) {
    PlayFromSoundFolder(kRButtonUpSound);
    CScrollView::OnRButtonUp(nFlags, point);
}

void CPiboView::OnKillFocus(CWnd* pNewWnd) {
    CScrollView::OnKillFocus(pNewWnd);
    // Whoever took the focus, the view asks for it back; a modal dialog keeps it.
    SetFocus();
}

void CPiboView::OnViewOwnPictures() {
    m_bOwnPictures = m_bOwnPictures ? FALSE : TRUE;
}

void CPiboView::OnUpdateViewOwnPictures(CCmdUI* pCmdUI) {
    pCmdUI->SetCheck(m_bOwnPictures);
}
