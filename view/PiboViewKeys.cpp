// The view's key handlers: each fresh key press shows one picture and plays one sound. A held
// key repeats nothing, and a key pressed while another is down does nothing; the first key-down
// after any key-up acts again.
#include "media/MediaFiles.h"
#include "media/PictureNumbers.h"
#include "platform/sound/sound.h"
#include "view/KeySoundTable.h"
#include "view/PiboView.h"

namespace {

// The Windows-logo keys and the menu key: their messages are consumed.
bool IsConsumedKey(UINT nChar) {
    return nChar == VK_LWIN || nChar == VK_RWIN || nChar == VK_APPS;
}

// Alt (left or right) and F10 pressed afresh, as their system key-downs carry them.
constexpr UINT kLeftAltDown = 0x2038;
constexpr UINT kRightAltDown = 0x2138;
constexpr UINT kF10Down = 0x0044;

bool IsMenuKeyPress(UINT nChar, UINT nFlags) {
    return (nChar == VK_MENU && (nFlags == kLeftAltDown || nFlags == kRightAltDown)) ||
           (nChar == VK_F10 && nFlags == kF10Down);
}

} // namespace

void CPiboView::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) {
    if (m_bKeyReleased && nRepCnt == 1) {
        m_bShowPicture = TRUE;
        m_bKeyReleased = FALSE;

        const bool bExtended = (nFlags & KF_EXTENDED) != 0;
        if (!bExtended && (IsLetterKey(nChar) || IsDigitKey(nChar))) {
            // Letter or digit: the own picture in own-pictures mode, else (or when it does not
            // load) the key's built-in picture.
            BOOL bLoaded = FALSE;
            if (m_bOwnPictures) {
                CString strPath = m_strPictureDir;
                strPath += KeyFileName(nChar, kPictureExtension).c_str();
                bLoaded = m_dib.LoadFromFile(strPath);
            }
            if (!bLoaded) {
                m_nPictureId = static_cast<int>(IsLetterKey(nChar) ? LetterPictureNumber(nChar)
                                                                   : DigitPictureNumber(nChar));
                m_dib.LoadFromResource(AfxGetInstanceHandle(),
                                       MAKEINTRESOURCE(static_cast<UINT>(m_nPictureId)));
            }
            RepaintClientArea();

            CString strSound = m_strSoundDir;
            strSound += KeyFileName(nChar, kSoundExtension).c_str();
            PlaySoundA(strSound, nullptr, SND_FILENAME | SND_ASYNC);
        } else {
            // Any other key: the next picture of the cycle, and the key sound table's sound.
            m_nPictureId = static_cast<int>(OtherKeyPictureNumber(m_nOtherKeyCount));
            m_nOtherKeyCount = NextOtherKeyCount(m_nOtherKeyCount);
            m_dib.LoadFromResource(AfxGetInstanceHandle(),
                                   MAKEINTRESOURCE(static_cast<UINT>(m_nPictureId)));
            RepaintClientArea();

            CString strSound = m_strSoundDir;
            if (LPCSTR pszName = LookupKeySound(nChar))
                strSound += pszName;
            else
                MessageBeep(MB_ICONEXCLAMATION);
            PlaySoundA(strSound, nullptr, SND_FILENAME | SND_ASYNC);
        }
    }
    if (IsConsumedKey(nChar))
        return;
    CScrollView::OnKeyDown(nChar, nRepCnt, nFlags);
}

void CPiboView::OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags) {
    m_bKeyReleased = TRUE;
    if (IsConsumedKey(nChar))
        return;
    CScrollView::OnKeyUp(nChar, nRepCnt, nFlags);
}

void CPiboView::OnChar(UINT nChar, UINT nRepCnt, UINT nFlags) {
    // Characters take no part in choosing pictures or sounds.
    CScrollView::OnChar(nChar, nRepCnt, nFlags);
}

void CPiboView::OnSysKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) {
    // A fresh Alt or F10 acts as a fresh F10 with the extended bit: the next other-key picture and
    // "f10.wav". The system key-down itself still gets the default processing there.
    if (IsMenuKeyPress(nChar, nFlags)) {
        OnKeyDown(VK_F10, 1, KF_EXTENDED);
        return;
    }
    CScrollView::OnSysKeyDown(nChar, nRepCnt, nFlags);
}

void CPiboView::OnSysKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags) {
    m_bKeyReleased = TRUE;
    // The same pairs as OnSysKeyDown are consumed; no key-up from a keyboard carries them, since
    // every key-up has the previous-state and transition bits set.
    if (IsMenuKeyPress(nChar, nFlags))
        return;
    CScrollView::OnSysKeyUp(nChar, nRepCnt, nFlags);
}
