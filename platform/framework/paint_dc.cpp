#include "platform/framework/paint_dc.h"

#include <QWidget>

#include "platform/framework/wnd.h"
#include "platform/qt/paint_surface.h"
#include "platform/qt/window.h"

IMPLEMENT_DYNAMIC(CPaintDC, CDC)
IMPLEMENT_DYNAMIC(CClientDC, CDC)

namespace {

std::unique_ptr<pibo::qt::PaintSurface> SurfaceFor(CWnd* pWnd, bool bPaint) {
    HWND hWnd = pWnd ? pWnd->m_hWnd : nullptr;
    if (!hWnd)
        return std::make_unique<pibo::qt::PaintSurface>(0, 0);
    if (bPaint && hWnd->currentPaint && hWnd->retained)
        return std::make_unique<pibo::qt::PaintSurface>(*hWnd->retained);
    return std::make_unique<pibo::qt::PaintSurface>(hWnd->client(),
                                                    bPaint && hWnd->currentPaint != nullptr);
}

} // namespace

CPaintDC::CPaintDC(CWnd* pWnd) : m_surface(SurfaceFor(pWnd, true)) {
    Attach(m_surface->takeHdc());
}

CPaintDC::~CPaintDC() {
    DeleteDC();
    m_surface->end();
}

CClientDC::CClientDC(CWnd* pWnd) : m_surface(SurfaceFor(pWnd, false)) {
    Attach(m_surface->takeHdc());
}

CClientDC::~CClientDC() {
    DeleteDC();
    m_surface->end();
}
