// The sixteen colours every built-in picture carries, in table order, and the helpers the content
// generators share to turn a painted QImage into palette indices.
#pragma once

#include <QColor>
#include <QImage>

#include <array>
#include <cstdint>
#include <optional>

namespace pibo_tools {

enum Colour : std::uint8_t {
    Black,
    DarkRed,
    DarkGreen,
    DarkYellow,
    DarkBlue,
    DarkMagenta,
    DarkCyan,
    LightGrey,
    DarkGrey,
    Red,
    Green,
    Yellow,
    Blue,
    Magenta,
    Cyan,
    White,
};

inline constexpr std::array<QRgb, 16> kPalette16 = {
    qRgb(0, 0, 0),       qRgb(128, 0, 0),   qRgb(0, 128, 0),   qRgb(128, 128, 0),
    qRgb(0, 0, 128),     qRgb(128, 0, 128), qRgb(0, 128, 128), qRgb(192, 192, 192),
    qRgb(128, 128, 128), qRgb(255, 0, 0),   qRgb(0, 255, 0),   qRgb(255, 255, 0),
    qRgb(0, 0, 255),     qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(255, 255, 255),
};

inline QColor colour(Colour c) {
    return QColor::fromRgb(kPalette16[c]);
}

// The table index of an exact palette colour; nothing for any other colour.
inline std::optional<std::uint8_t> paletteIndex(QRgb pixel) {
    for (std::size_t i = 0; i < kPalette16.size(); ++i) {
        if (qRgb(qRed(pixel), qGreen(pixel), qBlue(pixel)) == kPalette16[i]) {
            return static_cast<std::uint8_t>(i);
        }
    }
    return std::nullopt;
}

} // namespace pibo_tools
