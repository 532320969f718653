// The painter behind a device context of a window: in a paint event it paints the client area;
// outside of one (GetDC) it paints a scratch image of the client's size, since a widget can only
// be painted in its paint event and the next paint redraws the client area anyway.
#pragma once

#include <QImage>
#include <QPainter>

#include "platform/win/windows.h"

class QWidget;
namespace pibo::gdi {
class RetainedSurface;
}

namespace pibo::qt {

class PaintSurface {
public:
    // Paints `client` when `inPaintEvent`, else a scratch image of its size.
    PaintSurface(QWidget* client, bool inPaintEvent);
    // A surface of the given size that paints nowhere: for a framework object without a window.
    PaintSurface(int width, int height);
    // Paints a window's kept client area, in the paint it has begun.
    explicit PaintSurface(pibo::gdi::RetainedSurface& retained);
    ~PaintSurface();
    PaintSurface(const PaintSurface&) = delete;
    PaintSurface& operator=(const PaintSurface&) = delete;

    // Ends painting: frees the device context, then the painter. Safe to call twice.
    void end();
    // The device context; the surface keeps it until end().
    HDC hdc() const { return m_hdc; }
    HDC takeHdc();

private:
    QImage m_scratch;
    QPainter m_painter;
    HDC m_hdc = nullptr;
};

} // namespace pibo::qt
