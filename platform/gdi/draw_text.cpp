// DrawTextA in the context's default font and colours: the application's default font and its
// palette's window-text colour.
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>
#include <QPalette>
#include <cstring>

#include "platform/gdi/device_context.h"
#include "platform/gdi/gdi.h"
#include "platform/gdi/retained_surface.h"

int DrawTextA(HDC hdc, LPCSTR lpchText, int cchText, LPRECT lprc, UINT format) {
    if (!pibo::gdi::IsSurface(hdc) || !lpchText || !lprc || !QGuiApplication::instance())
        return 0;
    const auto length = cchText < 0 ? static_cast<qsizetype>(std::strlen(lpchText)) : cchText;
    const QString text = QString::fromLocal8Bit(lpchText, length);

    int flags = (format & DT_CENTER) ? Qt::AlignHCenter : Qt::AlignLeft;
    if (format & DT_SINGLELINE) {
        flags |= Qt::TextSingleLine;
        flags |= (format & DT_VCENTER) ? Qt::AlignVCenter : Qt::AlignTop;
    } else {
        flags |= Qt::AlignTop;
    }
    const QRect rect(QPoint(lprc->left, lprc->top), QPoint(lprc->right - 1, lprc->bottom - 1));

    const QFont font = QGuiApplication::font();
    const QColor colour = QGuiApplication::palette().color(QPalette::WindowText);
    // A window's kept client area keeps the text as such; it is drawn when the area is shown.
    if (hdc->retained && hdc->retained->RecordText(rect, flags, text, font, colour))
        return QFontMetrics(font).boundingRect(rect, flags, text).height();
    QPainter* surface = pibo::gdi::SurfacePainter(hdc);
    if (!surface)
        return 0;
    QPainter& painter = *surface;
    painter.save();
    painter.setFont(font);
    painter.setPen(colour);
    QRect drawn;
    painter.drawText(rect, flags, text, &drawn);
    painter.restore();
    return drawn.height();
}
