// Draws the program's icon, a pile of three toy letter blocks (A and B at the bottom, C on top),
// as PNG renditions pibo-<size>.png. The 16 and 32 pixel ones are pixel drawings in the sixteen
// colours of the built-in pictures with tiny hand-set letters; the larger ones, for the desktop
// entry, are smooth drawings of the same pile with the letters of DejaVu Sans Bold.
//
//   make_icon <DejaVuSans-Bold.ttf> <icon folder> <preview .png>

#include "palette16.h"

#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QRawFont>

#include <array>
#include <cstdio>

using namespace pibo_tools;

namespace {

struct BlockColours {
    Colour front;
    Colour top;
    Colour side;
    Colour letter;
};

struct Block {
    QChar letter;
    BlockColours colours;
};

// Bottom left, bottom right, top.
const std::array<Block, 3> kBlocks = {{
    {'A', {Red, Yellow, DarkRed, White}},
    {'B', {Blue, Cyan, DarkBlue, Yellow}},
    {'C', {Green, Magenta, DarkGreen, DarkBlue}},
}};

// Where each block's front face stands, in units of the face side `s`, and the depth of the
// oblique view, `d`: the pile is 2s + d wide and high.
struct Layout {
    qreal s;
    qreal d;
    QPointF origin; // top left of the whole pile
    QPointF front(std::size_t i) const {
        const qreal top = origin.y() + d;
        switch (i) {
        case 0:
            return {origin.x(), top + s};
        case 1:
            return {origin.x() + s, top + s};
        default:
            return {origin.x() + s / 2, top};
        }
    }
};

// Letters for the small renditions: 3 x 5 for 16 pixels, 5 x 7 for 32 pixels.
const char* const kSmallGlyphs[3][5] = {
    {".#.", "#.#", "###", "#.#", "#.#"},
    {"##.", "#.#", "##.", "#.#", "##."},
    {".##", "#..", "#..", "#..", ".##"},
};
const char* const kMediumGlyphs[3][7] = {
    {".###.", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"},
    {"####.", "#...#", "#...#", "####.", "#...#", "#...#", "####."},
    {".###.", "#...#", "#....", "#....", "#....", "#...#", ".###."},
};

void setPixel(QImage& image, int x, int y, Colour c) {
    if (x >= 0 && y >= 0 && x < image.width() && y < image.height()) {
        image.setPixel(x, y, kPalette16[c]);
    }
}

// One block as pixels: integer face side s and depth d, front face top left at (x, y). Faces are
// outlined in black; the top and side faces step at 45 degrees, one pixel a row.
void pixelBlock(QImage& image, int x, int y, int s, int d, const Block& block, int glyphSize) {
    const BlockColours& c = block.colours;
    // Top face: rows y-d .. y-1, each shifted right by its height above the front face.
    for (int k = 1; k <= d; ++k) {
        for (int i = 0; i <= s; ++i) {
            setPixel(image, x + k + i, y - k, (i == 0 || i == s || k == d) ? Black : c.top);
        }
    }
    // Side face: columns x+s+1 .. x+s+d.
    for (int k = 1; k <= d; ++k) {
        for (int j = 0; j <= s; ++j) {
            setPixel(image, x + s + k, y - k + j, (j == 0 || j == s || k == d) ? Black : c.side);
        }
    }
    // Front face with its outline.
    for (int j = 0; j <= s; ++j) {
        for (int i = 0; i <= s; ++i) {
            const bool edge = i == 0 || j == 0 || i == s || j == s;
            setPixel(image, x + i, y + j, edge ? Black : c.front);
        }
    }
    // The letter, centred on the front face.
    const std::size_t which = static_cast<std::size_t>(block.letter.unicode() - 'A');
    const int w = glyphSize == 5 ? 3 : 5;
    const int h = glyphSize;
    const int gx = x + (s + 1 - w) / 2;
    const int gy = y + (s + 1 - h) / 2;
    for (int j = 0; j < h; ++j) {
        const char* row = glyphSize == 5 ? kSmallGlyphs[which][j] : kMediumGlyphs[which][j];
        for (int i = 0; i < w; ++i) {
            if (row[i] == '#') {
                setPixel(image, gx + i, gy + j, c.letter);
            }
        }
    }
}

QImage pixelIcon(int size) {
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    const int s = size == 16 ? 6 : 12;
    const int d = size == 16 ? 2 : 4;
    const int glyph = size == 16 ? 5 : 7;
    const int pile = 2 * s + d + 1;
    const int ox = (size - pile) / 2;
    const int oy = size - pile;
    // Back to front: the top block last, so that it sits over the others' top faces.
    pixelBlock(image, ox, oy + d + s, s, d, kBlocks[0], glyph);
    pixelBlock(image, ox + s, oy + d + s, s, d, kBlocks[1], glyph);
    pixelBlock(image, ox + s / 2, oy + d, s, d, kBlocks[2], glyph);
    return image;
}

QColor shade(Colour c, int lighter) {
    return colour(c).lighter(lighter);
}

void smoothBlock(QPainter& p, QPointF f, qreal s, qreal d, const Block& block,
                 const QString& fontFile, qreal outline) {
    const BlockColours& c = block.colours;
    p.setPen(QPen(colour(Black), outline, Qt::SolidLine, Qt::SquareCap, Qt::RoundJoin));
    p.setBrush(shade(c.top, 100));
    p.drawPolygon(QPolygonF({f, f + QPointF(s, 0), f + QPointF(s + d, -d), f + QPointF(d, -d)}));
    p.setBrush(shade(c.side, 100));
    p.drawPolygon(QPolygonF(
        {f + QPointF(s, 0), f + QPointF(s + d, -d), f + QPointF(s + d, s - d), f + QPointF(s, s)}));
    p.setBrush(shade(c.front, 100));
    p.drawRect(QRectF(f, QSizeF(s, s)));

    const QRawFont font(fontFile, s * 0.8, QFont::PreferNoHinting);
    const QList<quint32> glyphs = font.glyphIndexesForString(QString(block.letter));
    QPainterPath letter = font.pathForGlyph(glyphs.value(0));
    letter.translate(f + QPointF(s / 2, s / 2) - letter.boundingRect().center());
    p.setPen(Qt::NoPen);
    p.setBrush(colour(c.letter));
    p.drawPath(letter);
}

QImage smoothIcon(int size, const QString& fontFile) {
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal outline = size / 40.0;
    const qreal margin = outline;
    const qreal unit = (size - 2 * margin) / (2 + 1.0 / 3); // pile is 2s + s/3 wide
    const Layout layout{unit, unit / 3, QPointF(margin, margin)};
    for (std::size_t i = 0; i < kBlocks.size(); ++i) {
        smoothBlock(p, layout.front(i), layout.s, layout.d, kBlocks[i], fontFile, outline);
    }
    return image;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication app(argc, argv);
    if (argc != 4) {
        std::fprintf(stderr, "usage: make_icon <font.ttf> <icon folder> <preview.png>\n");
        return 2;
    }
    const QString fontFile = QString::fromLocal8Bit(argv[1]);
    const QDir folder(QString::fromLocal8Bit(argv[2]));
    if (!QRawFont(fontFile, 20).isValid() || !folder.mkpath(".")) {
        std::fprintf(stderr, "make_icon: cannot load the font or create the folder\n");
        return 1;
    }

    const int sizes[] = {16, 32, 48, 64, 128, 256};
    QImage preview(16 + 32 + 48 + 64 + 128 + 256 + 7 * 16 + 256, 256 + 32 + 256,
                   QImage::Format_RGB32);
    preview.fill(QColor(200, 210, 220));
    QPainter pp(&preview);
    int x = 16;
    for (int size : sizes) {
        const QImage icon = size <= 32 ? pixelIcon(size) : smoothIcon(size, fontFile);
        const QString file = folder.filePath(QString("pibo-%1.png").arg(size));
        if (!icon.save(file, "PNG")) {
            std::fprintf(stderr, "make_icon: cannot write %s\n", qPrintable(file));
            return 1;
        }
        pp.drawImage(x, 16, icon);
        x += size + 16;
    }
    // The small ones enlarged, to judge them pixel by pixel.
    pp.drawImage(QRect(16, 16 + 256 + 16, 256, 256), pixelIcon(16));
    pp.drawImage(QRect(16 + 256 + 16, 16 + 256 + 16, 256, 256), pixelIcon(32));
    pp.end();
    if (!preview.save(QString::fromLocal8Bit(argv[3]), "PNG")) {
        std::fprintf(stderr, "make_icon: cannot write %s\n", argv[3]);
        return 1;
    }
    std::printf("make_icon: wrote 6 renditions to %s\n", argv[2]);
    return 0;
}
