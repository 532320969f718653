#include "platform/gdi/retained_surface.h"

#include <cstring>

#include "platform/gdi/device_context.h"

namespace pibo::gdi {

namespace {

// A bitmap larger than this (a photograph of many megapixels) is painted at once rather than
// copied: copying it would cost more than the pixels it saves.
constexpr std::size_t kMaxRecordedBytes = 8u << 20;
// Beyond a few lines of text, pixels are simpler.
constexpr std::size_t kMaxRecordedTexts = 16;

bool Covers(const QRegion& region, QSize size) {
    return region.rectCount() == 1 && region.boundingRect() == QRect(QPoint(0, 0), size);
}

} // namespace

struct RetainedSurface::Stretch {
    std::vector<BYTE> bits;
    DibPixels pixels;
    Rect dst{};
    Rect src{};
};

RetainedSurface::RetainedSurface() = default;

RetainedSurface::~RetainedSurface() {
    if (m_painter.isActive())
        m_painter.end();
}

void RetainedSurface::BeginPaint(QSize size, const QRegion& region, QRgb background) {
    if (m_painting)
        EndPaint();
    const QRect whole(QPoint(0, 0), size);
    if (size != m_size) {
        m_size = size;
        m_content = Content::Nothing;
        m_texts.clear();
        m_image = QImage();
        m_region = whole;
    } else {
        m_region = region & whole;
    }
    m_painting = true;
    if (Covers(m_region, m_size) || m_content == Content::Nothing) {
        m_content = Content::Colour;
        m_colour = background;
        m_texts.clear();
        return;
    }
    if (QPainter* painter = Painter())
        painter->fillRect(m_region.boundingRect(), QColor::fromRgb(background));
}

void RetainedSurface::EndPaint() {
    if (m_painter.isActive())
        m_painter.end();
    m_painting = false;
    m_region = QRegion();
    // Pixels that only copy a description are not worth their memory.
    if (m_content != Content::Pixels)
        m_image = QImage();
}

QPainter* RetainedSurface::Painter() {
    if (!m_painting || m_size.isEmpty())
        return nullptr;
    if (!m_painter.isActive()) {
        if (m_image.size() != m_size)
            m_image = QImage(m_size, QImage::Format_RGB32);
        if (m_image.isNull() || !m_painter.begin(&m_image))
            return nullptr;
    }
    if (m_content != Content::Pixels) {
        m_painter.setClipping(false);
        DrawContent(m_painter, QRegion(QRect(QPoint(0, 0), m_size)));
        m_content = Content::Pixels;
        m_stretch.reset();
        m_texts.clear();
    }
    m_painter.setClipRegion(m_region);
    return &m_painter;
}

bool RetainedSurface::Record(const DibPixels& pixels, Rect dst, Rect src) {
    if (!m_painting || !Covers(m_region, m_size) || src.width <= 0 || src.height <= 0)
        return false;
    if (dst.x > 0 || dst.y > 0 || static_cast<long long>(dst.x) + dst.width < m_size.width() ||
        static_cast<long long>(dst.y) + dst.height < m_size.height())
        return false;
    const std::size_t bytes =
        static_cast<std::size_t>(pixels.stride) * static_cast<std::size_t>(pixels.height);
    if (bytes > kMaxRecordedBytes)
        return false;
    if (!m_stretch)
        m_stretch = std::make_unique<Stretch>();
    m_stretch->bits.assign(pixels.bits, pixels.bits + bytes);
    m_stretch->pixels = pixels;
    m_stretch->pixels.bits = m_stretch->bits.data();
    m_stretch->dst = dst;
    m_stretch->src = src;
    m_content = Content::Stretch;
    m_texts.clear();
    return true;
}

bool RetainedSurface::RecordText(const QRect& rect, int flags, const QString& text,
                                 const QFont& font, const QColor& colour) {
    if (!m_painting || (m_content != Content::Colour && m_content != Content::Stretch) ||
        m_texts.size() >= kMaxRecordedTexts)
        return false;
    m_texts.push_back({rect, flags, text, font, colour});
    return true;
}

void RetainedSurface::Present(QPainter& painter, const QRegion& region) {
    const QRegion part = region & QRect(QPoint(0, 0), m_size);
    if (part.isEmpty())
        return;
    painter.save();
    painter.setClipRegion(part);
    DrawContent(painter, part);
    painter.restore();
}

bool RetainedSurface::DropPixels() {
    if (m_painting || m_content != Content::Pixels)
        return false;
    m_image = QImage();
    m_content = Content::Nothing;
    return true;
}

void RetainedSurface::DrawContent(QPainter& painter, const QRegion& region) {
    switch (m_content) {
    case Content::Nothing:
    case Content::Colour:
        painter.fillRect(region.boundingRect(), QColor::fromRgb(m_colour));
        break;
    case Content::Stretch: {
        DeviceContext dc(DeviceContext::Kind::Surface);
        dc.painter = &painter;
        dc.width = m_size.width();
        dc.height = m_size.height();
        PaintDib(&dc, m_stretch->dst, m_stretch->pixels, m_stretch->src);
        break;
    }
    case Content::Pixels:
        for (const QRect& r : region)
            painter.drawImage(r.topLeft(), m_image, r);
        break;
    }
    for (const Text& t : m_texts) {
        painter.save();
        painter.setFont(t.font);
        painter.setPen(t.colour);
        painter.drawText(t.rect, t.flags, t.text);
        painter.restore();
    }
}

QPainter* SurfacePainter(DeviceContext* dc) {
    if (!dc)
        return nullptr;
    if (dc->retained)
        return dc->retained->Painter();
    return dc->painter;
}

bool IsSurface(const DeviceContext* dc) {
    return dc && (dc->painter || (dc->retained && dc->retained->Painting()));
}

} // namespace pibo::gdi
