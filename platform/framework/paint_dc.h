// Device contexts of a window: CPaintDC paints the client area during WM_PAINT (BeginPaint and
// EndPaint); CClientDC is what GetDC gives outside of painting.
#pragma once

#include <memory>

#include "platform/gdi/afx_gdi.h"

class CWnd;
namespace pibo::qt {
class PaintSurface;
}

class CPaintDC : public CDC {
    DECLARE_DYNAMIC(CPaintDC)
public:
    explicit CPaintDC(CWnd* pWnd);
    ~CPaintDC() override;

protected:
    std::unique_ptr<pibo::qt::PaintSurface> m_surface;
};

class CClientDC : public CDC {
    DECLARE_DYNAMIC(CClientDC)
public:
    explicit CClientDC(CWnd* pWnd);
    ~CClientDC() override;

protected:
    std::unique_ptr<pibo::qt::PaintSurface> m_surface;
};
