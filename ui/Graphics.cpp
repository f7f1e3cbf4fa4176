#include "ui/Graphics.h"

std::uint32_t ColorToRGB(TColor color) {
    const auto c = static_cast<std::uint32_t>(color);
    if (c & 0x80000000u) {
        switch (c & 0xFF) {
        case 0x05:
            return 0xFFFFFF; // window
        case 0x08:
            return 0x000000; // window text
        case 0x0D:
            return 0xD77800; // highlight
        case 0x11:
            return 0x6D6D6D; // grey text
        case 0x12:
            return 0x000000; // button text
        case 0x18:
            return 0xE1FFFF; // hint background
        default:
            return 0xF0F0F0; // button face and the rest
        }
    }
    if (color == clDefault || color == clNone) return 0xFFFFFF;
    return c & 0xFFFFFF;
}

void TFont::SetColor(TColor c) {
    if (c == color_) return;
    color_ = c;
    Changed();
}
void TFont::SetSize(int points) {
    if (points == size_) return;
    size_ = points;
    Changed();
}
void TFont::SetName(const std::string& name) {
    if (name == name_) return;
    name_ = name;
    Changed();
}
void TFont::SetStyle(int style) {
    if (style == style_) return;
    style_ = style;
    Changed();
}

void TBrush::SetColor(TColor c) {
    if (c == color_) return;
    color_ = c;
    if (OnChange) OnChange();
}
void TBrush::SetStyle(TBrushStyle s) {
    if (s == style_) return;
    style_ = s;
    if (OnChange) OnChange();
}
void TPen::SetColor(TColor c) {
    if (c == color_) return;
    color_ = c;
    if (OnChange) OnChange();
}
void TPen::SetWidth(int w) {
    if (w == width_) return;
    width_ = w;
    if (OnChange) OnChange();
}
