#include "platform/qt/paint_surface.h"

#include <QWidget>

#include "platform/gdi/device_context.h"
#include "platform/gdi/gdi.h"
#include "platform/gdi/retained_surface.h"
#include "platform/gdi/surface_dc.h"

namespace pibo::qt {

namespace {
int atLeastOne(int n) {
    return n > 0 ? n : 1;
}
} // namespace

PaintSurface::PaintSurface(QWidget* client, bool inPaintEvent) {
    const int w = client->width();
    const int h = client->height();
    if (inPaintEvent) {
        m_painter.begin(client);
    } else {
        // Not filled: only what is drawn is ever touched, and the image is thrown away.
        m_scratch = QImage(atLeastOne(w), atLeastOne(h), QImage::Format_RGB32);
        m_painter.begin(&m_scratch);
    }
    m_hdc = CreateSurfaceDC(&m_painter, w, h);
}

PaintSurface::PaintSurface(int width, int height)
    : m_scratch(atLeastOne(width), atLeastOne(height), QImage::Format_RGB32) {
    m_painter.begin(&m_scratch);
    m_hdc = CreateSurfaceDC(&m_painter, width, height);
}

PaintSurface::PaintSurface(pibo::gdi::RetainedSurface& retained) {
    auto* dc = new DeviceContext(DeviceContext::Kind::Surface);
    dc->retained = &retained;
    dc->width = retained.size().width();
    dc->height = retained.size().height();
    m_hdc = dc;
}

PaintSurface::~PaintSurface() {
    end();
}

HDC PaintSurface::takeHdc() {
    HDC h = m_hdc;
    m_hdc = nullptr;
    return h;
}

void PaintSurface::end() {
    if (m_hdc) {
        DeleteDC(m_hdc);
        m_hdc = nullptr;
    }
    if (m_painter.isActive())
        m_painter.end();
}

} // namespace pibo::qt
