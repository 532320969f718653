// The scrolling view: a view with a total extent; scroll bars appear while its client area is
// smaller than the extent.
#pragma once

#include "platform/framework/view.h"

class CScrollView : public CView {
    DECLARE_DYNAMIC(CScrollView)
public:
    static const SIZE sizeDefault;

    // Mapping mode MM_TEXT (one unit per pixel) and the total extent; a page or line size of 0
    // by 0 asks for a tenth of the extent per page and a tenth of a page per line.
    void SetScrollSizes(int nMapMode, SIZE sizeTotal, const SIZE& sizePage = sizeDefault,
                        const SIZE& sizeLine = sizeDefault);

    int m_nMapMode = 0;
    CSize m_totalDev;
    CSize m_pageDev;
    CSize m_lineDev;

protected:
    CScrollView() = default;

    DECLARE_MESSAGE_MAP()
};
