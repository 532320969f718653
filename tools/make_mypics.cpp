// Draws the example own pictures, so that "Use your own pictures." shows something at once, in
// the BMP variants families' files come in:
//   A.bmp  640 x 480, 24-bit true colour: an apple
//   B.bmp  400 x 300, 8-bit with a full 256-colour table: a beach ball
//   1.bmp  320 x 240, 4-bit with 16 colours: one big star
//
//   make_mypics <DejaVuSans-Bold.ttf> <folder>

#include "palette16.h"

#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QRawFont>
#include <QtMath>

#include <cstdio>

using namespace pibo_tools;

namespace {

// One character of the font as an outline, its bounding box centred on `centre`.
QPainterPath glyph(const QString& fontFile, QChar c, qreal pixelSize, QPointF centre) {
    const QRawFont font(fontFile, pixelSize, QFont::PreferNoHinting);
    const QList<quint32> glyphs = font.glyphIndexesForString(QString(c));
    QPainterPath path = font.pathForGlyph(glyphs.value(0));
    return path.translated(centre - path.boundingRect().center());
}

// The letter with a white outline, so that it reads on any background.
void drawLetter(QPainter& p, const QPainterPath& letter, const QColor& fill, qreal outline) {
    p.setPen(QPen(Qt::white, outline, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(letter);
    p.setPen(Qt::NoPen);
    p.setBrush(fill);
    p.drawPath(letter);
}

QImage apple(const QString& fontFile) {
    QImage image(640, 480, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, 480);
    sky.setColorAt(0, QColor(120, 190, 250));
    sky.setColorAt(0.7, QColor(215, 240, 255));
    sky.setColorAt(0.7001, QColor(120, 200, 90));
    sky.setColorAt(1, QColor(70, 160, 60));
    p.fillRect(image.rect(), sky);

    // The apple: overlapping rounded halves, a shine, a stalk and a leaf.
    const QPointF c(400, 270);
    QPainterPath body;
    body.addEllipse(QPointF(c.x() - 55, c.y()), 105, 120);
    body.addEllipse(QPointF(c.x() + 55, c.y()), 105, 120);
    body.addEllipse(QPointF(c.x(), c.y() + 12), 120, 115);
    body.setFillRule(Qt::WindingFill);
    body = body.simplified();
    QRadialGradient red(c.x() - 60, c.y() - 60, 240);
    red.setColorAt(0, QColor(255, 90, 80));
    red.setColorAt(0.6, QColor(220, 20, 30));
    red.setColorAt(1, QColor(140, 0, 10));
    p.setPen(Qt::NoPen);
    p.setBrush(red);
    p.drawPath(body);
    p.setBrush(QColor(255, 255, 255, 120));
    p.drawEllipse(QPointF(c.x() - 90, c.y() - 55), 22, 38);
    p.setPen(QPen(QColor(100, 60, 20), 14, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(c.x(), c.y() - 105), QPointF(c.x() + 12, c.y() - 165));
    QPainterPath leaf;
    leaf.moveTo(c.x() + 14, c.y() - 140);
    leaf.cubicTo(c.x() + 50, c.y() - 200, c.x() + 110, c.y() - 190, c.x() + 130, c.y() - 165);
    leaf.cubicTo(c.x() + 100, c.y() - 125, c.x() + 50, c.y() - 120, c.x() + 14, c.y() - 140);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(60, 170, 50));
    p.drawPath(leaf);

    drawLetter(p, glyph(fontFile, 'A', 300, {150, 230}), QColor(220, 20, 30), 16);
    return image;
}

// 216 colours of the 6 x 6 x 6 cube and 40 greys: a table like that of many 8-bit files.
QList<QRgb> table256() {
    QList<QRgb> table;
    for (int r = 0; r < 6; ++r) {
        for (int g = 0; g < 6; ++g) {
            for (int b = 0; b < 6; ++b) {
                table.append(qRgb(r * 51, g * 51, b * 51));
            }
        }
    }
    for (int i = 0; i < 40; ++i) {
        const int v = 3 + i * 250 / 39;
        table.append(qRgb(v, v, v));
    }
    return table;
}

QImage ball(const QString& fontFile) {
    QImage image(400, 300, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sea(0, 0, 0, 300);
    sea.setColorAt(0, QColor(255, 230, 120));
    sea.setColorAt(1, QColor(255, 190, 60));
    p.fillRect(image.rect(), sea);

    // A beach ball: six coloured segments around a white cap.
    const QPointF c(265, 155);
    const qreal r = 110;
    const QColor stripes[] = {QColor(230, 30, 40), Qt::white,           QColor(30, 90, 230),
                              Qt::white,           QColor(250, 200, 0), Qt::white};
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 6; ++i) {
        p.setBrush(stripes[i]);
        p.drawPie(QRectF(c.x() - r, c.y() - r, 2 * r, 2 * r), (i * 60 + 15) * 16, 60 * 16);
    }
    p.setBrush(Qt::white);
    p.drawEllipse(c, 22, 22);
    p.setPen(QPen(QColor(60, 40, 20), 4));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(c, r, r);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 50));
    p.drawEllipse(QPointF(c.x() + 10, c.y() + r + 14), r * 0.8, 10);

    drawLetter(p, glyph(fontFile, 'B', 190, {85, 150}), QColor(30, 90, 230), 12);
    p.end();
    return image.convertToFormat(QImage::Format_Indexed8, table256(), Qt::DiffuseDither);
}

QImage star(const QString& fontFile) {
    QImage image(320, 240, QImage::Format_RGB32);
    image.fill(colour(DarkBlue));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, false);

    // A few small stars around one big one.
    const auto starPath = [](QPointF c, qreal outer, qreal inner) {
        QPainterPath path;
        for (int i = 0; i < 10; ++i) {
            const qreal a = qDegreesToRadians(-90.0 + i * 36.0);
            const qreal radius = (i % 2 == 0) ? outer : inner;
            const QPointF point(c.x() + radius * qCos(a), c.y() + radius * qSin(a));
            if (i == 0) {
                path.moveTo(point);
            } else {
                path.lineTo(point);
            }
        }
        path.closeSubpath();
        return path;
    };
    p.setPen(Qt::NoPen);
    p.setBrush(colour(White));
    for (const QPointF s : {QPointF(30, 30), QPointF(295, 25), QPointF(20, 205), QPointF(300, 215),
                            QPointF(160, 18)}) {
        p.drawPath(starPath(s, 9, 4));
    }
    p.setBrush(colour(Yellow));
    p.drawPath(starPath({205, 130}, 100, 42));

    const QPainterPath one = glyph(fontFile, '1', 170, {85, 125});
    p.setBrush(colour(Black));
    p.drawPath(one.translated(6, 6));
    p.setBrush(colour(Cyan));
    p.drawPath(one);
    p.end();

    QList<QRgb> table(kPalette16.begin(), kPalette16.end());
    return image.convertToFormat(QImage::Format_Indexed8, table, Qt::ThresholdDither);
}

bool save(const QImage& image, const QDir& folder, const char* name) {
    const QString file = folder.filePath(name);
    if (!image.save(file, "BMP")) {
        std::fprintf(stderr, "make_mypics: cannot write %s\n", qPrintable(file));
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_mypics <font.ttf> <folder>\n");
        return 2;
    }
    const QString fontFile = QString::fromLocal8Bit(argv[1]);
    const QDir folder(QString::fromLocal8Bit(argv[2]));
    if (!QRawFont(fontFile, 20).isValid() || !folder.mkpath(".")) {
        std::fprintf(stderr, "make_mypics: cannot load the font or create the folder\n");
        return 1;
    }
    if (!save(apple(fontFile), folder, "A.bmp") || !save(ball(fontFile), folder, "B.bmp") ||
        !save(star(fontFile), folder, "1.bmp")) {
        return 1;
    }
    std::printf("make_mypics: wrote A.bmp, B.bmp and 1.bmp to %s\n", argv[2]);
    return 0;
}
