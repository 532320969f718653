#include "platform/framework/scroll_view.h"

#include "platform/qt/view_window.h"

IMPLEMENT_DYNAMIC(CScrollView, CView)

BEGIN_MESSAGE_MAP(CScrollView, CView)
END_MESSAGE_MAP()

const SIZE CScrollView::sizeDefault = {0, 0};

void CScrollView::SetScrollSizes(int nMapMode, SIZE sizeTotal, const SIZE& sizePage,
                                 const SIZE& sizeLine) {
    m_nMapMode = nMapMode;
    m_totalDev = CSize(sizeTotal.cx, sizeTotal.cy);
    m_pageDev = CSize(sizePage.cx, sizePage.cy);
    m_lineDev = CSize(sizeLine.cx, sizeLine.cy);
    if (m_pageDev.cx == 0)
        m_pageDev.cx = m_totalDev.cx / 10;
    if (m_pageDev.cy == 0)
        m_pageDev.cy = m_totalDev.cy / 10;
    if (m_lineDev.cx == 0)
        m_lineDev.cx = m_pageDev.cx / 10;
    if (m_lineDev.cy == 0)
        m_lineDev.cy = m_pageDev.cy / 10;
    if (auto* window = dynamic_cast<pibo::qt::ViewWindow*>(m_hWnd))
        window->setScrollSizes(QSize(m_totalDev.cx, m_totalDev.cy),
                               QSize(m_pageDev.cx, m_pageDev.cy),
                               QSize(m_lineDev.cx, m_lineDev.cy));
}
