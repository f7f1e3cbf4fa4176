#pragma once
// Colours (the class library's 0x00BBGGRR values and system colours), fonts,
// brushes and pens as the controls expose them.
#include <cstdint>
#include <functional>
#include <string>

using TColor = std::int32_t;

constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clOlive = 0x008080;
constexpr TColor clNavy = 0x800000;
constexpr TColor clPurple = 0x800080;
constexpr TColor clTeal = 0x808000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clWhite = 0xFFFFFF;
// System colours: resolved to the look's palette when painted.
constexpr TColor clBtnFace = static_cast<TColor>(0x8000000F);
constexpr TColor clWindow = static_cast<TColor>(0x80000005);
constexpr TColor clWindowText = static_cast<TColor>(0x80000008);
constexpr TColor clBtnText = static_cast<TColor>(0x80000012);
constexpr TColor clGrayText = static_cast<TColor>(0x80000011);
constexpr TColor clHighlight = static_cast<TColor>(0x8000000D);
constexpr TColor clInfoBk = static_cast<TColor>(0x80000018);
constexpr TColor clDefault = 0x20000000;
constexpr TColor clNone = 0x1FFFFFFF;

// The RGB value of a colour (system colours resolved to fixed values).
std::uint32_t ColorToRGB(TColor color);

constexpr int fsBold = 1;
constexpr int fsItalic = 2;
constexpr int fsUnderline = 4;

class TFont {
public:
    TColor Color() const { return color_; }
    void SetColor(TColor c);
    int Size() const { return size_; }
    void SetSize(int points);
    const std::string& Name() const { return name_; }
    void SetName(const std::string& name);
    int Style() const { return style_; } // fs* flags
    void SetStyle(int style);

    std::function<void()> OnChange; // the owning control repaints

private:
    void Changed() {
        if (OnChange) OnChange();
    }
    TColor color_ = clWindowText;
    int size_ = 0; // 0: the look's default
    std::string name_;
    int style_ = 0;
};

enum TBrushStyle { bsSolid, bsClear };

class TBrush {
public:
    TColor Color() const { return color_; }
    void SetColor(TColor c);
    TBrushStyle Style() const { return style_; }
    void SetStyle(TBrushStyle s);
    std::function<void()> OnChange;

private:
    TColor color_ = clWhite;
    TBrushStyle style_ = bsSolid;
};

class TPen {
public:
    TColor Color() const { return color_; }
    void SetColor(TColor c);
    int Width() const { return width_; }
    void SetWidth(int w);
    std::function<void()> OnChange;

private:
    TColor color_ = clBlack;
    int width_ = 1;
};
