// A window's client area kept between paints, as the desktop keeps a window's picture: the
// program paints into it, and the window system is shown it afterwards. What is painted is kept
// as a description while it can be: the erased background as one colour, a bitmap stretched over
// the whole area as a copy of the bitmap and its two rectangles, lines of text over either. Pixels
// are made only when the surface is shown or when something else is drawn on it, so that a picture
// replaced before it could be seen costs a small copy instead of every pixel of the window, and a
// picture that is shown is written once, straight into the window system's buffer.
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QRegion>
#include <QSize>
#include <QString>
#include <memory>
#include <vector>

#include "platform/gdi/dib_pixels.h"
#include "platform/gdi/paint_dib.h"

namespace pibo::gdi {

class RetainedSurface {
public:
    RetainedSurface();
    ~RetainedSurface();
    RetainedSurface(const RetainedSurface&) = delete;
    RetainedSurface& operator=(const RetainedSurface&) = delete;

    // A paint of `region` on a surface of `size`: a new size loses what was kept, and the paint
    // must then cover the whole surface. The region is erased to `background` first.
    void BeginPaint(QSize size, const QRegion& region, QRgb background);
    void EndPaint();
    bool Painting() const { return m_painting; }

    // The painter of the current paint, clipped to its region, on the surface's pixels (made
    // first if only described).
    QPainter* Painter();
    // During a paint: keeps a stretched bitmap that covers the whole surface as a description.
    // False when it does not cover it, or is too large to copy: it is then painted.
    bool Record(const DibPixels& pixels, Rect dst, Rect src);
    // During a paint: keeps text drawn over a description as part of it. False when it must be
    // painted.
    bool RecordText(const QRect& rect, int flags, const QString& text, const QFont& font,
                    const QColor& colour);

    // Draws the surface within `region` on `painter`, at the same coordinates.
    void Present(QPainter& painter, const QRegion& region);
    // Lets go of pixels that are not a description (the size of the window, four bytes each);
    // true when it did: what was kept must then be painted again before it is shown again.
    bool DropPixels();

    QSize size() const { return m_size; }

private:
    enum class Content { Nothing, Colour, Stretch, Pixels };
    struct Stretch;
    struct Text {
        QRect rect;
        int flags;
        QString text;
        QFont font;
        QColor colour;
    };

    void DrawContent(QPainter& painter, const QRegion& region);

    QSize m_size;
    Content m_content = Content::Nothing;
    QRgb m_colour = 0;
    std::unique_ptr<Stretch> m_stretch;
    std::vector<Text> m_texts; // over a colour or a stretch
    QImage m_image;
    QPainter m_painter;
    QRegion m_region;
    bool m_painting = false;
};

} // namespace pibo::gdi
