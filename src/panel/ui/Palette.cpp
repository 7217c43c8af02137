#include "panel/ui/Palette.h"

namespace kavel {

std::optional<QColor> qtColour(const Colour& colour) {
    switch (colour.kind) {
    case Colour::Kind::Default:
        return std::nullopt;
    case Colour::Kind::Rgb:
        return QColor::fromRgb(static_cast<QRgb>(colour.value));
    case Colour::Kind::System:
        break;
    }
    switch (colour.value) {
    case 9: // lit: a warm lamp, unmistakable beside the unlit face
        return QColor(0xFF, 0xB8, 0x2E);
    case 10: // dark: an unlit fixed-memory lamp
        return QColor(0x4A, 0x44, 0x3C);
    case 15: // unlit button face
        return QColor(0xD8, 0xD2, 0xC4);
    case 18: // button text
        return QColor(0x1A, 0x14, 0x0C);
    default:
        return QColor(0xD8, 0xD2, 0xC4);
    }
}

std::optional<QColor> qtTextColour(const Colour& colour) {
    auto c = qtColour(colour);
    if (colour == Colour::rgb(192, 192, 192)) return QColor(0x80, 0x7a, 0x6e);
    return c;
}

QColor textOn(const QColor& background) {
    return background.lightness() < 110 ? QColor(0xF4, 0xEE, 0xDC) : QColor(0x1A, 0x14, 0x0C);
}

} // namespace kavel
