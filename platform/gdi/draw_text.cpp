// DrawTextA in the context's default font and colours: the application's default font and its
// palette's window-text colour.
#include <QGuiApplication>
#include <QPainter>
#include <QPalette>
#include <cstring>

#include "platform/gdi/device_context.h"
#include "platform/gdi/gdi.h"

int DrawTextA(HDC hdc, LPCSTR lpchText, int cchText, LPRECT lprc, UINT format) {
    if (!lpchText || !lprc || !QGuiApplication::instance())
        return 0;
    QPainter* surface = pibo::gdi::SurfacePainter(hdc);
    if (!surface)
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

    QPainter& painter = *surface;
    painter.save();
    painter.setFont(QGuiApplication::font());
    painter.setPen(QGuiApplication::palette().color(QPalette::WindowText));
    QRect drawn;
    painter.drawText(rect, flags, text, &drawn);
    painter.restore();
    return drawn.height();
}
