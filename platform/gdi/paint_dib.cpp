#include "platform/gdi/paint_dib.h"

#include <QImage>
#include <QPaintEngine>
#include <QPainter>
#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/gdi/device_context.h"
#include "platform/gdi/retained_surface.h"

namespace pibo::gdi {

namespace {

// Rows are scaled into a band and handed to the painter a band at a time: the band stays in the
// cache and the painter keeps its clipping and transformation.
constexpr LONG kBandRows = 32;

// Working memory reused from draw to draw, so that painting a picture allocates nothing once the
// buffers have grown to the window's size. Painting happens on the user-interface thread only.
struct Scratch {
    std::vector<std::uint32_t> sourceRow;
    std::vector<LONG> columns;
    std::vector<std::uint32_t> band;
};

Scratch& TheScratch() {
    static Scratch scratch;
    return scratch;
}

template <typename T> T* Sized(std::vector<T>& v, std::size_t n) {
    if (v.size() < n)
        v.resize(n);
    return v.data();
}

// The part of the surface that can show anything, in the painter's coordinates.
QRect VisibleArea(const DeviceContext& dc, const QPainter& p) {
    QRect area(0, 0, dc.width, dc.height);
    const QTransform& t = p.worldTransform();
    if (p.worldMatrixEnabled() && !t.isIdentity()) {
        if (!t.isInvertible())
            return {};
        area = t.inverted().mapRect(QRectF(area)).toAlignedRect();
    }
    if (p.hasClipping())
        area &= p.clipBoundingRect().toAlignedRect();
    return area;
}

// Pixels the painter paints straight into: an image in 32-bit colour, reached from the painter's
// coordinates by a whole-pixel offset, and the one rectangle of them it may paint.
struct DirectTarget {
    uchar* bits = nullptr;
    qsizetype bytesPerLine = 0;
    int dx = 0;
    int dy = 0;
    QRect limit; // in the painter's coordinates
};

bool FindDirectTarget(QPainter& p, const QRect& area, DirectTarget& out) {
    QPaintEngine* engine = p.paintEngine();
    if (!engine || engine->type() != QPaintEngine::Raster || !engine->paintDevice() ||
        engine->paintDevice()->devType() != QInternal::Image)
        return false;
    auto* image = static_cast<QImage*>(engine->paintDevice());
    const QImage::Format f = image->format();
    if ((f != QImage::Format_RGB32 && f != QImage::Format_ARGB32 &&
         f != QImage::Format_ARGB32_Premultiplied) ||
        image->devicePixelRatio() != 1.0 || !image->isDetached())
        return false;
    const QTransform t = p.deviceTransform();
    if (t.type() > QTransform::TxTranslate || t.dx() != static_cast<int>(t.dx()) ||
        t.dy() != static_cast<int>(t.dy()))
        return false;
    out.dx = static_cast<int>(t.dx());
    out.dy = static_cast<int>(t.dy());
    // Whatever clips the painter must be one rectangle: the image's other pixels are not ours.
    QRect limit = area & image->rect().translated(-out.dx, -out.dy);
    if (p.hasClipping()) {
        const QRegion clip = p.clipRegion();
        if (clip.rectCount() > 1)
            return false;
        limit &= clip.boundingRect();
    }
    const QRegion system = engine->systemClip();
    if (!system.isEmpty()) {
        if (system.rectCount() > 1)
            return false;
        limit &= system.boundingRect().translated(-out.dx, -out.dy);
    }
    out.limit = limit;
    out.bits = image->bits();
    out.bytesPerLine = image->bytesPerLine();
    return true;
}

} // namespace

bool PaintDib(DeviceContext* dc, Rect dst, const DibPixels& pixels, Rect src) {
    if (!IsSurface(dc))
        return false;
    if (dst.width <= 0 || dst.height <= 0 || src.width <= 0 || src.height <= 0)
        return true;
    // A window's kept client area covered by the picture keeps it as a description.
    if (dc->retained && dc->retained->Record(pixels, dst, src))
        return true;
    QPainter* painterPtr = SurfacePainter(dc);
    if (!painterPtr)
        return false;
    QPainter& painter = *painterPtr;

    // Only the destination pixels on the surface are computed.
    QRect area = VisibleArea(*dc, painter);
    DirectTarget direct;
    const bool inPlace = painter.compositionMode() == QPainter::CompositionMode_SourceOver &&
                         painter.opacity() == 1.0 && FindDirectTarget(painter, area, direct);
    if (inPlace)
        area = direct.limit;
    const long long x0 = std::max<long long>(dst.x, area.left());
    const long long y0 = std::max<long long>(dst.y, area.top());
    const long long x1 = std::min<long long>(static_cast<long long>(dst.x) + dst.width,
                                             static_cast<long long>(area.right()) + 1);
    const long long y1 = std::min<long long>(static_cast<long long>(dst.y) + dst.height,
                                             static_cast<long long>(area.bottom()) + 1);
    if (x0 >= x1 || y0 >= y1)
        return true;
    const auto width = static_cast<LONG>(x1 - x0);

    Scratch& s = TheScratch();
    std::uint32_t* sourceRow = Sized(s.sourceRow, static_cast<std::size_t>(src.width));
    LONG* columns = Sized(s.columns, static_cast<std::size_t>(width));
    for (LONG i = 0; i < width; ++i)
        columns[i] = SourceIndex(x0 - dst.x + i, dst.width, src.width);

    // Each destination pixel is written once: a row is made from its source row (converted once
    // for all the rows that show it), or copied from the row above when both show the same one.
    LONG convertedRow = -1;
    auto writeRow = [&](std::uint32_t* out, const std::uint32_t* above, LONG aboveSourceRow,
                        LONG sy) {
        if (above && sy == aboveSourceRow) {
            std::memcpy(out, above, static_cast<std::size_t>(width) * 4);
            return;
        }
        if (sy != convertedRow) {
            ConvertRow(pixels, sy, src.x, src.width, sourceRow);
            convertedRow = sy;
        }
        for (LONG i = 0; i < width; ++i)
            out[i] = sourceRow[columns[i]];
    };

    if (inPlace) {
        const std::uint32_t* above = nullptr;
        LONG aboveSourceRow = -1;
        for (long long y = y0; y < y1; ++y) {
            auto* out = reinterpret_cast<std::uint32_t*>(direct.bits +
                                                         (y + direct.dy) * direct.bytesPerLine) +
                        (x0 + direct.dx);
            const LONG sy = src.y + SourceIndex(y - dst.y, dst.height, src.height);
            writeRow(out, above, aboveSourceRow, sy);
            above = out;
            aboveSourceRow = sy;
        }
        return true;
    }

    std::uint32_t* band = Sized(s.band, static_cast<std::size_t>(width) * kBandRows);
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter.setOpacity(1.0);

    for (long long bandTop = y0; bandTop < y1; bandTop += kBandRows) {
        const auto rows = static_cast<LONG>(std::min<long long>(kBandRows, y1 - bandTop));
        LONG aboveSourceRow = -1;
        for (LONG r = 0; r < rows; ++r) {
            std::uint32_t* out = band + static_cast<std::size_t>(r) * width;
            const LONG sy = src.y + SourceIndex(bandTop + r - dst.y, dst.height, src.height);
            writeRow(out, r > 0 ? out - width : nullptr, aboveSourceRow, sy);
            aboveSourceRow = sy;
        }
        const QImage image(reinterpret_cast<const uchar*>(band), width, rows, width * 4,
                           QImage::Format_RGB32);
        painter.drawImage(QPoint(static_cast<int>(x0), static_cast<int>(bandTop)), image);
    }
    painter.restore();
    return true;
}

} // namespace pibo::gdi
