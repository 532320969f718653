// Draws the 42 built-in pictures and writes them as packed DIBs (4 bits per pixel, 250 by 250,
// the shared sixteen-colour table), plus a contact sheet of all of them for a look by eye.
//
//   make_pictures <DejaVuSans-Bold.ttf> <picture folder> <contact sheet .png>
//
// Letters and digits are glyph outlines of the font, filled without antialiasing, so that every
// pixel is exactly one of the picture's few colours. The output depends only on the font file
// and this source: the same inputs give the same bytes.

#include "palette16.h"

#include <QDir>
#include <QFile>
#include <QFont>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRawFont>

#include <cstdio>
#include <set>
#include <vector>

using namespace pibo_tools;

namespace {

constexpr int kSide = 250;
constexpr int kRowBytes = 128; // 125 bytes of pixels padded to a multiple of 4
constexpr int kHeaderBytes = 40;
constexpr int kTableBytes = 16 * 4;
constexpr int kPixelBytes = kRowBytes * kSide;
constexpr int kDibBytes = kHeaderBytes + kTableBytes + kPixelBytes;
static_assert(kDibBytes == 32104);

struct Scheme {
    Colour figure;
    Colour background;
};

// Letter colours, A to Z: bright pairs with strong contrast, neighbours never alike.
constexpr Scheme kLetterSchemes[26] = {
    {Red, Yellow},       {White, Blue},      {DarkGreen, Yellow}, {Yellow, Red},
    {Blue, Cyan},        {White, Magenta},   {DarkBlue, Green},   {Red, White},
    {Yellow, DarkBlue},  {White, DarkGreen}, {Magenta, Yellow},   {DarkRed, Cyan},
    {Cyan, DarkMagenta}, {Blue, White},      {White, Red},        {DarkMagenta, Yellow},
    {Yellow, DarkCyan},  {Blue, Yellow},     {Green, DarkBlue},   {Red, Cyan},
    {Yellow, Blue},      {DarkGreen, White}, {White, DarkRed},    {DarkBlue, Yellow},
    {Yellow, Magenta},   {Magenta, White},
};

// Digit colours, 0 to 9. The backgrounds are light enough for the black shadow to show.
constexpr Scheme kDigitSchemes[10] = {
    {Red, Yellow},     {Blue, Cyan},   {Magenta, Yellow}, {Red, White},    {White, Red},
    {Yellow, Magenta}, {Blue, Yellow}, {Yellow, Red},     {Magenta, Cyan}, {Blue, White},
};

// The six other-key figures, 165 to 170.
constexpr Scheme kShapeSchemes[6] = {
    {Yellow, Blue}, {Red, White}, {Blue, Yellow}, {Magenta, White}, {Yellow, Red}, {DarkBlue, Cyan},
};

// Glyph outlines of `text` at `pixelSize`, laid out on one baseline with `gap` extra pixels
// between the characters.
QPainterPath textPath(const QRawFont& font, const QString& text, qreal gap) {
    const QList<quint32> glyphs = font.glyphIndexesForString(text);
    const QList<QPointF> advances = font.advancesForGlyphIndexes(glyphs);
    QPainterPath path;
    qreal x = 0;
    for (qsizetype i = 0; i < glyphs.size(); ++i) {
        path.addPath(font.pathForGlyph(glyphs[i]).translated(x, 0));
        x += advances[i].x() + gap;
    }
    return path;
}

// Moves `path` so that its bounding box is centred in the picture.
QPainterPath centred(const QPainterPath& path, QPointF extra = {}) {
    const QRectF box = path.boundingRect();
    const QPointF shift = QPointF(kSide / 2.0, kSide / 2.0) - box.center() - extra / 2;
    return path.translated(shift);
}

QImage canvas(Colour background) {
    QImage image(kSide, kSide, QImage::Format_RGB32);
    image.fill(colour(background));
    return image;
}

void fill(QImage& image, const QPainterPath& path, Colour c) {
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour(c));
    painter.drawPath(path);
}

// Capital and small letter side by side, all pairs at one size except those too wide for it.
QImage letterPicture(const QString& fontFile, int letter) {
    const Scheme scheme = kLetterSchemes[letter];
    const QString text = QString(QChar('A' + letter)) + QChar('a' + letter);
    constexpr qreal kMaxWidth = 226;
    constexpr qreal kMaxHeight = 200;
    qreal size = 160;
    QPainterPath path;
    for (;;) {
        const QRawFont font(fontFile, size, QFont::PreferNoHinting);
        path = textPath(font, text, size * 0.06);
        const QRectF box = path.boundingRect();
        if ((box.width() <= kMaxWidth && box.height() <= kMaxHeight) || size <= 40) {
            break;
        }
        size -= 2;
    }
    QImage image = canvas(scheme.background);
    fill(image, centred(path), scheme.figure);
    return image;
}

// One digit with a black drop shadow down and to the right.
QImage digitPicture(const QString& fontFile, int digit) {
    const Scheme scheme = kDigitSchemes[digit];
    const QRawFont font(fontFile, 240, QFont::PreferNoHinting);
    const QPointF shadow(11, 11);
    const QPainterPath path = centred(textPath(font, QString(QChar('0' + digit)), 0), shadow);
    QImage image = canvas(scheme.background);
    fill(image, path.translated(shadow), Black);
    fill(image, path, scheme.figure);
    return image;
}

// A bar of the given thickness from `a` to `b`, square ends.
QPainterPath bar(QPointF a, QPointF b, qreal thickness) {
    QPainterPathStroker stroker;
    stroker.setWidth(thickness);
    stroker.setCapStyle(Qt::FlatCap);
    QPainterPath line(a);
    line.lineTo(b);
    return stroker.createStroke(line);
}

QPainterPath ring(qreal outer, qreal inner) {
    const QPointF c(kSide / 2.0, kSide / 2.0);
    QPainterPath path;
    path.setFillRule(Qt::OddEvenFill);
    path.addEllipse(c, outer, outer);
    path.addEllipse(c, inner, inner);
    return path;
}

QPainterPath cornerCross(qreal thickness) {
    QPainterPath path = bar({-20, -20}, {kSide + 20.0, kSide + 20.0}, thickness);
    path = path.united(bar({kSide + 20.0, -20}, {-20, kSide + 20.0}, thickness));
    return path;
}

QImage shapePicture(int shape) {
    const Scheme scheme = kShapeSchemes[shape];
    QImage image = canvas(scheme.background);
    const QRectF square(50, 50, 150, 150);
    switch (shape) {
    case 0: // a diagonal cross reaching the corners
        fill(image, cornerCross(40), scheme.figure);
        break;
    case 1: // a ring
        fill(image, ring(100, 66), scheme.figure);
        break;
    case 2: { // a filled square
        QPainterPath path;
        path.addRect(square);
        fill(image, path, scheme.figure);
        break;
    }
    case 3: { // a triangle outline
        QPainterPath outer;
        outer.moveTo(125, 22);
        outer.lineTo(232, 212);
        outer.lineTo(18, 212);
        outer.closeSubpath();
        QPainterPath inner;
        inner.moveTo(125, 88);
        inner.lineTo(177, 181);
        inner.lineTo(73, 181);
        inner.closeSubpath();
        fill(image, outer.subtracted(inner), scheme.figure);
        break;
    }
    case 4: { // a filled square crossed by its two diagonals
        QPainterPath path;
        path.addRect(square);
        path = path.subtracted(bar(square.topLeft(), square.bottomRight(), 18));
        path = path.subtracted(bar(square.topRight(), square.bottomLeft(), 18));
        fill(image, path, scheme.figure);
        break;
    }
    default: // a ring crossed by a diagonal cross
        fill(image, ring(100, 70).united(cornerCross(26)), scheme.figure);
        break;
    }
    return image;
}

QImage picture(const QString& fontFile, int number) {
    if (number < 155) {
        return letterPicture(fontFile, number - 129);
    }
    if (number < 165) {
        return digitPicture(fontFile, number - 155);
    }
    return shapePicture(number - 165);
}

void put16(QByteArray& out, std::uint16_t v) {
    out.append(static_cast<char>(v & 0xff));
    out.append(static_cast<char>(v >> 8));
}

void put32(QByteArray& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) {
        out.append(static_cast<char>((v >> (8 * i)) & 0xff));
    }
}

// The packed DIB of a painted picture; empty if a pixel is not one of the sixteen colours.
QByteArray packedDib(const QImage& image, int number) {
    const bool fullTableImplied = (number >= 155 && number <= 164) || number >= 169;
    const std::uint32_t colorsUsed = fullTableImplied ? 0 : 16;
    QByteArray out;
    out.reserve(kDibBytes);
    put32(out, kHeaderBytes);
    put32(out, kSide);
    put32(out, kSide); // positive: bottom-up rows
    put16(out, 1);
    put16(out, 4);
    put32(out, 0); // BI_RGB
    put32(out, kPixelBytes);
    put32(out, 0);
    put32(out, 0);
    put32(out, colorsUsed);
    put32(out, colorsUsed);
    for (QRgb c : kPalette16) {
        out.append(static_cast<char>(qBlue(c)));
        out.append(static_cast<char>(qGreen(c)));
        out.append(static_cast<char>(qRed(c)));
        out.append('\0');
    }
    for (int y = kSide - 1; y >= 0; --y) {
        QByteArray row(kRowBytes, '\0');
        for (int x = 0; x < kSide; ++x) {
            const auto index = paletteIndex(image.pixel(x, y));
            if (!index) {
                return {};
            }
            const int shift = (x % 2 == 0) ? 4 : 0;
            row[x / 2] =
                static_cast<char>(static_cast<std::uint8_t>(row[x / 2]) | (*index << shift));
        }
        out.append(row);
    }
    return out;
}

int colourCount(const QImage& image) {
    std::set<QRgb> seen;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            seen.insert(image.pixel(x, y));
        }
    }
    return static_cast<int>(seen.size());
}

// Reads a packed DIB back through Qt's own BMP reader, by giving it the file header it lacks.
QImage decode(const QByteArray& dib) {
    QByteArray file;
    put16(file, 0x4d42); // "BM"
    put32(file, static_cast<std::uint32_t>(14 + dib.size()));
    put32(file, 0);
    put32(file, 14 + kHeaderBytes + kTableBytes);
    file.append(dib);
    return QImage::fromData(file, "BMP");
}

QString label(int number) {
    if (number < 155) {
        return QString("%1  %2").arg(number).arg(QChar('A' + number - 129));
    }
    if (number < 165) {
        return QString("%1  %2").arg(number).arg(QChar('0' + number - 155));
    }
    static const char* const names[] = {"cross",    "ring",           "square",
                                        "triangle", "crossed square", "crossed ring"};
    return QString("%1  %2").arg(number).arg(names[number - 165]);
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication app(argc, argv);
    if (argc != 4) {
        std::fprintf(stderr, "usage: make_pictures <font.ttf> <picture folder> <sheet.png>\n");
        return 2;
    }
    const QString fontFile = QString::fromLocal8Bit(argv[1]);
    const QDir folder(QString::fromLocal8Bit(argv[2]));
    const QString sheetFile = QString::fromLocal8Bit(argv[3]);
    if (!QRawFont(fontFile, 20).isValid()) {
        std::fprintf(stderr, "make_pictures: cannot load font %s\n", argv[1]);
        return 1;
    }
    if (!folder.mkpath(".")) {
        std::fprintf(stderr, "make_pictures: cannot create %s\n", argv[2]);
        return 1;
    }

    constexpr int kColumns = 7;
    constexpr int kTile = kSide + 12;
    constexpr int kLabel = 24;
    QImage sheet(kColumns * kTile + 12, 6 * (kTile + kLabel) + 12, QImage::Format_RGB32);
    sheet.fill(QColor(236, 236, 236));
    QPainter sheetPainter(&sheet);
    const int fontId = QFontDatabase::addApplicationFont(fontFile);
    QFont labelFont(QFontDatabase::applicationFontFamilies(fontId).value(0));
    labelFont.setPixelSize(15);
    sheetPainter.setFont(labelFont);
    sheetPainter.setPen(Qt::black);

    std::vector<QByteArray> written;
    for (int number = 129; number <= 170; ++number) {
        const QImage image = picture(fontFile, number);
        const QByteArray dib = packedDib(image, number);
        const int colours = colourCount(image);
        if (dib.size() != kDibBytes || colours < 2 || colours > 4) {
            std::fprintf(stderr, "make_pictures: picture %d is not a 2-4 colour picture\n", number);
            return 1;
        }
        for (const QByteArray& other : written) {
            if (other.mid(kHeaderBytes) == dib.mid(kHeaderBytes)) {
                std::fprintf(stderr, "make_pictures: picture %d repeats another\n", number);
                return 1;
            }
        }
        written.push_back(dib);
        const QString name = folder.filePath(QString("%1.dib").arg(number));
        QFile out(name);
        if (!out.open(QIODevice::WriteOnly) || out.write(dib) != dib.size()) {
            std::fprintf(stderr, "make_pictures: cannot write %s\n", qPrintable(name));
            return 1;
        }
        const QImage back = decode(dib);
        if (back.isNull() || back.convertToFormat(QImage::Format_RGB32) != image) {
            std::fprintf(stderr, "make_pictures: picture %d does not read back\n", number);
            return 1;
        }
        const int i = number - 129;
        const int x = 12 + (i % kColumns) * kTile;
        const int y = 12 + (i / kColumns) * (kTile + kLabel);
        sheetPainter.drawImage(x, y, back);
        sheetPainter.drawText(QRect(x, y + kSide + 2, kSide, kLabel), Qt::AlignHCenter,
                              label(number));
    }
    sheetPainter.end();
    if (!sheet.save(sheetFile, "PNG")) {
        std::fprintf(stderr, "make_pictures: cannot write %s\n", argv[3]);
        return 1;
    }
    std::printf("make_pictures: wrote 42 pictures to %s and the sheet %s\n", argv[2], argv[3]);
    return 0;
}
