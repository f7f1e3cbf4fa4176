#pragma once
// Private to the layer's sources: Qt at the boundary of the 8-bit texts.
#include <QColor>
#include <QString>
#include <string>

#include "ui/Graphics.h"

class QWidget;
class TControl;

namespace lmrui {

inline QString Q(const std::string& s) {
    return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
}
inline std::string S(const QString& s) {
    const QByteArray b = s.toLatin1();
    return std::string(b.constData(), static_cast<size_t>(b.size()));
}
inline QColor ToQColor(TColor c) {
    const std::uint32_t rgb = ColorToRGB(c);
    return QColor(rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF);
}

// Paints the background of a text area (edit, list, memo) in the colour.
void SetBaseColor(QWidget* widget, TColor color);

// The living control with this serial number, or null.
TControl* FindControl(std::uint64_t serial);
// Makes sure the focus tracker and the other application hooks are in place.
void EnsureHooks();

} // namespace lmrui
